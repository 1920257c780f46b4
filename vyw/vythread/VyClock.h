#pragma once

// Millisecond tick count of a steady clock: the framework's time base for timers, movements and the
// status dots. It wraps around after about 49 days, so compare differences (now - start), never values.
class VyClock
{
public:
    static unsigned int TickCount();
};

// A wait time that never runs out.
constexpr unsigned int VY_INFINITE = 0xFFFFFFFFu;
