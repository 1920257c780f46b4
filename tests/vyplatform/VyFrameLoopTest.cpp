#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "vyplatform/VyFrameClock.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyTraceCapture.h"

// The frame loop's bookkeeping on a clock of the test's own: frames "take" the time the test says.

namespace
{
class FakeTime
{
public:
    VyFrameClock::TimeSource Source()
    {
        VyFrameClock::TimeSource source;
        source.milliseconds = [this] { return static_cast<unsigned int>(m_us / 1000); };
        source.microseconds = [this] { return m_us; };
        source.sleep = [this](unsigned int ms) {
            m_sleeps.push_back(ms);
            m_us += ms * 1000u;
        };
        return source;
    }
    void AdvanceMs(unsigned int ms) { m_us += ms * 1000u; }
    const std::vector<unsigned int>& Sleeps() const { return m_sleeps; }

private:
    std::uint64_t m_us = 5'000'000;
    std::vector<unsigned int> m_sleeps;
};

// Runs frames that take frameMs each (the limit's sleeps come on top) for totalMs; returns the number
// of timer ticks that were due.
int RunFrames(VyFrameClock& clock, FakeTime& time, unsigned int frameMs, unsigned int totalMs)
{
    int ticks = 0;
    for (unsigned int spent = 0; spent < totalMs; spent += frameMs)
    {
        clock.LimitFrameRate();
        if (clock.IsTimerTickDue())
            ++ticks;
        time.AdvanceMs(frameMs);
        clock.CountFrame();
    }
    return ticks;
}

// Counts its timer messages and the other messages it receives.
class CountingTarget : public VyMessageTarget
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id == VY_MSG_TIMER)
            ++m_timerCalls;
        else
            ++m_messages;
    }
    int m_timerCalls = 0;
    int m_messages = 0;
};

// The platform with the frame clock on the test's time.
class PlatformOnFakeTime
{
public:
    PlatformOnFakeTime() { m_platform.GetFrameClock().SetTimeSource(m_time.Source()); }
    VyPlatform m_platform;
    FakeTime m_time;
};
} // namespace

TEST(VyFrameClock, TimersTickOncePerFiftyMillisecondsOfFrames)
{
    struct Case
    {
        unsigned int frameMs;
        int ticksInOneSecond;
    };
    // Frames start at 0, frameMs, 2 frameMs ... below 1000 ms. 10 ms frames: a tick at every 50 ms;
    // 20 ms frames: every 60 ms (the first frame at or after 50 ms ticks); frames slower than 50 ms tick
    // once each after the first.
    for (const Case& c : {Case{10, 19}, Case{20, 16}, Case{70, 14}})
    {
        FakeTime time;
        VyFrameClock clock(time.Source());
        EXPECT_EQ(RunFrames(clock, time, c.frameMs, 1000), c.ticksInOneSecond) << c.frameMs << " ms frames";
    }
}

TEST(VyFrameClock, FastFramesAreHeldToTenMillisecondsAndSlowOnesNever)
{
    FakeTime fast;
    VyFrameClock fastClock(fast.Source());
    RunFrames(fastClock, fast, 2, 600);
    // The first frame is measured before the limit can know the rate; then every frame sleeps the rest.
    ASSERT_GT(fast.Sleeps().size(), 50u);
    for (unsigned int ms : fast.Sleeps())
        EXPECT_EQ(ms, 8u);
    EXPECT_EQ(fastClock.GetDisplayedRate(), 100);

    FakeTime slow;
    VyFrameClock slowClock(slow.Source());
    RunFrames(slowClock, slow, 15, 2000);
    EXPECT_TRUE(slow.Sleeps().empty());
    EXPECT_EQ(slowClock.GetDisplayedRate(), 66);
}

TEST(VyFrameClock, TheShownRateChangesOncePerSecondAndIsTraced)
{
    VyTraceCapture trace;
    FakeTime time;
    VyFrameClock clock(time.Source());
    RunFrames(clock, time, 40, 960);
    EXPECT_EQ(clock.GetDisplayedRate(), 0);
    EXPECT_DOUBLE_EQ(clock.GetCurrentRate(), 25.0);
    RunFrames(clock, time, 40, 40); // the frame that completes the second
    EXPECT_EQ(clock.GetDisplayedRate(), 25);
    RunFrames(clock, time, 20, 500); // counted afresh: the new half second alone
    EXPECT_DOUBLE_EQ(clock.GetCurrentRate(), 50.0);
    EXPECT_EQ(clock.GetDisplayedRate(), 25);
    EXPECT_EQ(trace.Text(), "Frame rate : 25 fps\n");
}

TEST(VyPlatformFrameStep, TicksTimersAndDispatchesOnlyWhileActive)
{
    PlatformOnFakeTime fixture;
    VyPlatform& platform = fixture.m_platform;
    VyMessageQueue queue;
    CountingTarget target;
    VyMessageTarget::SetTimer(&target, 1, 100); // every second tick
    VyMessageTarget::Post({&target, 1001, 0, 0});

    for (int frame = 0; frame < 100; ++frame) // one second of 10 ms frames
    {
        EXPECT_TRUE(platform.FrameStep());
        fixture.m_time.AdvanceMs(10);
    }
    // Ticks at 50, 100 ... 950 ms; the timer fires on every second of them.
    EXPECT_EQ(queue.GetTickCounter(), 19u);
    EXPECT_EQ(target.m_timerCalls, 9);
    EXPECT_EQ(target.m_messages, 1);

    // Minimised: the step does nothing, and the program idles.
    platform.SetActive(false);
    VyMessageTarget::Post({&target, 1001, 0, 0});
    for (int frame = 0; frame < 100; ++frame)
    {
        EXPECT_FALSE(platform.FrameStep());
        fixture.m_time.AdvanceMs(10);
    }
    EXPECT_EQ(queue.GetTickCounter(), 19u);
    EXPECT_EQ(target.m_messages, 1);

    platform.SetActive(true);
    fixture.m_time.AdvanceMs(50);
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_EQ(target.m_messages, 2);
    VyMessageTarget::KillTimers(&target);
    queue.ProcessTimers();
}

TEST(VyPlatformWait, TheMainThreadKeepsDispatchingUntilTheFlagOrAQuit)
{
    PlatformOnFakeTime fixture;
    VyPlatform& platform = fixture.m_platform;
    VyMessageQueue queue;
    std::atomic<bool> flag{false};

    // A pending message that sets the flag is dispatched before the first look.
    struct Setter : VyMessageTarget
    {
        std::atomic<bool>* pFlag = nullptr;
        void HandleMessage(const VyMessage&) override { pFlag->store(true); }
    } setter;
    setter.pFlag = &flag;
    VyMessageTarget::Post({&setter, 1001, 0, 0});
    EXPECT_TRUE(platform.WaitForFlag(flag));

    // Set by another thread while the main thread waits.
    flag = false;
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        flag = true;
    });
    EXPECT_TRUE(platform.WaitForFlag(flag));
    worker.join();

    // A quit ends the wait without the flag.
    flag = false;
    platform.Quit();
    EXPECT_FALSE(platform.WaitForFlag(flag));
    EXPECT_FALSE(flag.load());
}

TEST(VyPlatformWait, OtherThreadsSleepUntilTheFlag)
{
    VyPlatform platform;
    std::atomic<bool> flag{false};
    std::atomic<bool> seen{false};
    std::thread waiter([&] { seen = platform.WaitForFlag(flag); });
    flag = true;
    waiter.join();
    EXPECT_TRUE(seen.load());
}
