#pragma once

#include <cstdint>
#include <functional>

// The frame loop's bookkeeping: the frame limit, the 50 ms timer tick and the measured frame rate.
//
// Per frame step the platform calls, in this order:
//   LimitFrameRate()  when the measured rate is above 100 and less than 10 ms passed since the previous
//                     frame step, sleeps the rest of the 10 ms (whole milliseconds); then notes the time;
//   IsTimerTickDue()  true when 50 ms or more passed since the last tick (which it then notes);
//                     GetMsUntilTimerTick() tells an idle loop how long it may wait for it;
//   CountFrame()      after a frame was drawn: rate = frames since the measuring start x 1000 / elapsed
//                     ms; once 1000 ms or more have elapsed, the displayed rate takes it, the count
//                     restarts and the rate goes to the trace.
// The time comes from an injectable source, so that tests run it on a clock of their own.
class VyFrameClock
{
public:
    struct TimeSource
    {
        std::function<unsigned int()> milliseconds;     // tick count, wraps around
        std::function<std::uint64_t()> microseconds;    // the fine counter
        std::function<void(unsigned int ms)> sleep;
    };

    // Runs on the steady clock.
    VyFrameClock();
    explicit VyFrameClock(TimeSource source);

    // The steady clock, real sleeps.
    static TimeSource SystemTime();
    // Replaces the time source and starts measuring afresh.
    void SetTimeSource(TimeSource source);

    void LimitFrameRate();
    bool IsTimerTickDue();
    // 0 when the tick is due, else the milliseconds left until it.
    unsigned int GetMsUntilTimerTick() const;
    void CountFrame();

    // The rate the frame limit uses (updated every frame) and the one shown (updated every second).
    double GetCurrentRate() const { return m_currentRate; }
    int GetDisplayedRate() const { return m_displayedRate; }

    static constexpr double VY_MAX_FRAME_RATE = 100.0;
    static constexpr unsigned int VY_FRAME_MS = 10;
    static constexpr unsigned int VY_TIMER_TICK_MS = 50;

private:
    void Restart();

    TimeSource m_source;
    std::uint64_t m_lastFrameUs = 0;
    unsigned int m_lastTimerTickMs = 0;
    unsigned int m_measureStartMs = 0;
    int m_framesCounted = 0;
    double m_currentRate = 0.0;
    int m_displayedRate = 0;
};
