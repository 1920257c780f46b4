#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "vythread/VyClock.h"

// A wake-up event for worker threads (mutex + condition variable).
// Pulse() releases the threads waiting at that moment; a pulse while nobody waits is lost.
// Set() leaves the event signalled until one wait takes it, so that wake-up cannot be lost even
// when the waiter has not reached its Wait yet.
class VyEvent
{
public:
    void Pulse();
    void Set();
    // Waits for a pulse or a set (taking the set). True when woken, false after ms milliseconds.
    bool Wait(unsigned int ms = VY_INFINITE);

private:
    std::mutex m_lock;
    std::condition_variable m_wake;
    uint64_t m_pulseCount = 0;
    bool m_bSignalled = false;
};
