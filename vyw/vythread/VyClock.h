#pragma once

#include <cstdint>

// Millisecond tick count of a steady clock: the framework's time base for timers, movements and the
// status dots. It wraps around after about 49 days, so compare differences (now - start), never values.
class VyClock
{
public:
    static unsigned int TickCount();
    // Microseconds of the same steady clock, which every process of the machine shares: a moment one
    // program reports can be compared with another program's own reading.
    static std::uint64_t Microseconds();
};

// A wait time that never runs out.
constexpr unsigned int VY_INFINITE = 0xFFFFFFFFu;
