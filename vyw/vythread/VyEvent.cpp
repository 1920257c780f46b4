#include "vythread/VyEvent.h"

#include <chrono>

void VyEvent::Pulse()
{
    std::lock_guard<std::mutex> guard(m_lock);
    ++m_pulseCount;
    m_wake.notify_all();
}

void VyEvent::Set()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_bSignalled = true;
    m_wake.notify_all();
}

bool VyEvent::Wait(unsigned int ms)
{
    std::unique_lock<std::mutex> guard(m_lock);
    const uint64_t pulseAtStart = m_pulseCount;
    auto woken = [&] { return m_bSignalled || m_pulseCount != pulseAtStart; };
    if (ms == VY_INFINITE)
        m_wake.wait(guard, woken);
    else if (!m_wake.wait_for(guard, std::chrono::milliseconds(ms), woken))
        return false;
    if (m_pulseCount == pulseAtStart)
        m_bSignalled = false; // woken by Set: this wait takes the signal
    return true;
}
