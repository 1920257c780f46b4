#include "vyplatform/VyFrameClock.h"

#include <chrono>
#include <thread>

#include "vythread/VyClock.h"
#include "vythread/VyTrace.h"

VyFrameClock::VyFrameClock() : VyFrameClock(SystemTime())
{
}

VyFrameClock::VyFrameClock(TimeSource source) : m_source(std::move(source))
{
    Restart();
}

VyFrameClock::TimeSource VyFrameClock::SystemTime()
{
    TimeSource source;
    source.milliseconds = [] { return VyClock::TickCount(); };
    source.microseconds = [] { return VyClock::Microseconds(); };
    source.sleep = [](unsigned int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    return source;
}

void VyFrameClock::SetTimeSource(TimeSource source)
{
    m_source = std::move(source);
    Restart();
}

void VyFrameClock::Restart()
{
    m_lastFrameUs = m_source.microseconds();
    m_lastTimerTickMs = m_source.milliseconds();
    m_measureStartMs = m_lastTimerTickMs;
    m_framesCounted = 0;
    m_currentRate = 0.0;
    m_displayedRate = 0;
}

void VyFrameClock::LimitFrameRate()
{
    const std::uint64_t frameUs = VY_FRAME_MS * 1000u;
    std::uint64_t now = m_source.microseconds();
    const std::uint64_t passed = now - m_lastFrameUs;
    if (m_currentRate > VY_MAX_FRAME_RATE && passed < frameUs)
    {
        const auto restMs = static_cast<unsigned int>((frameUs - passed) / 1000u);
        if (restMs > 0)
        {
            m_source.sleep(restMs);
            now = m_source.microseconds();
        }
    }
    m_lastFrameUs = now;
}

bool VyFrameClock::IsTimerTickDue()
{
    const unsigned int now = m_source.milliseconds();
    if (now - m_lastTimerTickMs < VY_TIMER_TICK_MS)
        return false;
    m_lastTimerTickMs = now;
    return true;
}

unsigned int VyFrameClock::GetMsUntilTimerTick() const
{
    const unsigned int passed = m_source.milliseconds() - m_lastTimerTickMs;
    return passed >= VY_TIMER_TICK_MS ? 0 : VY_TIMER_TICK_MS - passed;
}

void VyFrameClock::CountFrame()
{
    ++m_framesCounted;
    const unsigned int elapsed = m_source.milliseconds() - m_measureStartMs;
    if (elapsed == 0)
        return; // no time to measure against yet
    m_currentRate = m_framesCounted * 1000.0 / elapsed;
    if (elapsed < 1000)
        return;
    m_displayedRate = static_cast<int>(m_currentRate);
    m_framesCounted = 0;
    m_measureStartMs += elapsed;
    VyTrace::Write(VyString::Format("Frame rate : %d fps\n", m_displayedRate));
}
