#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "vyio/VyConfigFile.h"
#include "vyplatform/VyFrameClock.h"
#include "vyplatform/VyPlatform.h"
#include "vyrender/VyNativeContext.h"
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

// The base platform, whose idle wait the tests read.
class InspectablePlatform : public VyPlatform
{
public:
    using VyPlatform::GetIdleWaitMs;
};

// The platform with the frame clock on the test's time.
class PlatformOnFakeTime
{
public:
    PlatformOnFakeTime() { m_platform.GetFrameClock().SetTimeSource(m_time.Source()); }
    InspectablePlatform m_platform;
    FakeTime m_time;
};

// A main window that counts its frames; a frame may ask for the next ones.
class CountingWindow : public VyRootWindow
{
public:
    void OnKey(int, int) override {}
    void OnChar(int, int) override {}
    void OnMouseButton(VyPoint, int) override {}
    void OnMouseMove(VyPoint, int) override {}
    void OnMouseWheel(VyPoint, int) override {}
    void OnMouseEntered() override {}
    void OnMouseLeft() override {}
    void OnActivate(bool) override {}
    void Resize(int, int) override {}
    void Draw() override
    {
        ++m_nDraws;
        if (m_nRequestsWhileDrawing > 0)
        {
            --m_nRequestsWhileDrawing;
            VyPlatform::Get()->RequestFrame();
        }
    }
    void ReleaseTextures() override {}
    void Close() override {}

    int m_nDraws = 0;
    int m_nRequestsWhileDrawing = 0;
};

// A platform that can draw: a software context without a window and the counting main window, with
// the frame clock on the test's time.
class DrawingPlatform : public VyPlatform
{
public:
    explicit DrawingPlatform(FakeTime& time)
    {
        GetFrameClock().SetTimeSource(time.Source());
        SetRenderContext(std::make_unique<VyNativeContext>(nullptr));
        InitializeRenderContext(64, 48);
        auto pWindow = std::make_unique<CountingWindow>();
        m_pWindow = pWindow.get();
        SetRootWindow(std::move(pWindow));
    }
    using VyPlatform::GetIdleWaitMs;
    CountingWindow& Window() { return *m_pWindow; }

private:
    CountingWindow* m_pWindow = nullptr;
};

// A [Preferences] key of vyw.cfg for the platforms made meanwhile.
class ScopedPreference
{
public:
    ScopedPreference(const VyString& key, const VyString& value) : m_key(key)
    {
        VyConfigFile config("vyw.cfg");
        config.SetString("Preferences", key, value);
        config.Save();
    }
    ~ScopedPreference()
    {
        VyConfigFile config("vyw.cfg");
        config.SetString("Preferences", m_key, "FALSE");
        config.Save();
    }

private:
    VyString m_key;
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

TEST(VyPlatformFrameStep, TimersTickAndMessagesAreDispatchedWhileMinimisedButNothingIsDrawn)
{
    FakeTime time;
    DrawingPlatform platform(time);
    VyMessageQueue queue;
    CountingTarget target;
    VyMessageTarget::SetTimer(&target, 1, 100); // every second tick
    VyMessageTarget::Post({&target, 1001, 0, 0});

    for (int frame = 0; frame < 100; ++frame) // one second of 10 ms steps
    {
        platform.FrameStep();
        time.AdvanceMs(10);
    }
    // Ticks at 50, 100 ... 950 ms; the timer fires on every second of them. Only the new main window
    // asked for a frame.
    EXPECT_EQ(queue.GetTickCounter(), 19u);
    EXPECT_EQ(target.m_timerCalls, 9);
    EXPECT_EQ(target.m_messages, 1);
    EXPECT_EQ(platform.Window().m_nDraws, 1);

    // Minimised: the program goes on (a peer's moves keep coming), but draws nothing, asked or not.
    platform.SetActive(false);
    VyMessageTarget::Post({&target, 1001, 0, 0});
    platform.RequestFrame();
    for (int frame = 0; frame < 100; ++frame)
    {
        EXPECT_FALSE(platform.FrameStep());
        time.AdvanceMs(10);
    }
    EXPECT_EQ(queue.GetTickCounter(), 39u); // 1000 ... 1950 ms
    EXPECT_EQ(target.m_timerCalls, 19);
    EXPECT_EQ(target.m_messages, 2);
    EXPECT_EQ(platform.Window().m_nDraws, 1);

    // Restored: the window is drawn again at once.
    platform.SetActive(true);
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_EQ(platform.Window().m_nDraws, 2);
    VyMessageTarget::KillTimers(&target);
    queue.ProcessTimers();
}

TEST(VyPlatformFrameStep, DrawsOnlyWhenAFrameWasAskedFor)
{
    FakeTime time;
    DrawingPlatform platform(time);
    CountingWindow& window = platform.Window();
    EXPECT_TRUE(platform.IsFrameRequested()); // a new main window has not been seen yet
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_FALSE(platform.IsFrameRequested());
    for (int step = 0; step < 20; ++step)
    {
        EXPECT_FALSE(platform.FrameStep());
        time.AdvanceMs(10);
    }
    EXPECT_EQ(window.m_nDraws, 1);

    // Requests before a step come to one frame.
    platform.RequestFrame();
    platform.RequestFrame();
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_FALSE(platform.FrameStep());
    EXPECT_EQ(window.m_nDraws, 2);

    // A request made while drawing is not lost: it is the next frame.
    window.m_nRequestsWhileDrawing = 2;
    platform.RequestFrame();
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_TRUE(platform.IsFrameRequested());
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_FALSE(platform.FrameStep());
    EXPECT_EQ(window.m_nDraws, 5);

    // A new size asks for a frame by itself.
    platform.ResizeClient(80, 60);
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_EQ(window.m_nDraws, 6);
}

TEST(VyPlatformFrameStep, WhatATimerAsksForIsDrawnInTheStepThatTicks)
{
    FakeTime time;
    DrawingPlatform platform(time);
    VyMessageQueue queue;
    platform.FrameStep();
    struct Animation : VyMessageTarget
    {
        void HandleMessage(const VyMessage& msg) override
        {
            if (msg.id == VY_MSG_TIMER)
                VyPlatform::Get()->RequestFrame();
        }
    } animation;
    VyMessageTarget::SetTimer(&animation, 1, 50);
    time.AdvanceMs(40);
    EXPECT_FALSE(platform.FrameStep());
    time.AdvanceMs(10);
    EXPECT_TRUE(platform.FrameStep());
    EXPECT_EQ(platform.Window().m_nDraws, 2);
    VyMessageTarget::KillTimers(&animation);
    queue.ProcessTimers();
}

TEST(VyPlatformFrameStep, TheFrameRateOverlayAndAFrameCountDrawEveryStep)
{
    FakeTime time;
    {
        ScopedPreference fps("FPS", "TRUE");
        DrawingPlatform platform(time);
        EXPECT_TRUE(platform.IsDrawingContinuously());
        for (int step = 0; step < 5; ++step)
            EXPECT_TRUE(platform.FrameStep()) << step;
        EXPECT_EQ(platform.Window().m_nDraws, 5);
        platform.SetActive(false);
        EXPECT_FALSE(platform.FrameStep());
    }

    DrawingPlatform platform(time);
    EXPECT_FALSE(platform.IsDrawingContinuously());
    const char* argv[] = {"tolmar", "--quit-after-frames", "3"};
    platform.SetCommandLine(3, argv);
    EXPECT_TRUE(platform.IsDrawingContinuously());
    for (int step = 0; step < 3; ++step)
    {
        EXPECT_FALSE(platform.IsQuitRequested());
        EXPECT_TRUE(platform.FrameStep()) << step;
    }
    EXPECT_TRUE(platform.IsQuitRequested());
}

TEST(VyPlatformFrameStep, AnIdleLoopWaitsUntilTheNextTimerTick)
{
    FakeTime time;
    DrawingPlatform platform(time);
    EXPECT_EQ(platform.GetIdleWaitMs(), 0u); // the first frame is due
    platform.FrameStep();
    EXPECT_EQ(platform.GetIdleWaitMs(), 50u);
    time.AdvanceMs(30);
    EXPECT_EQ(platform.GetIdleWaitMs(), 20u);
    platform.RequestFrame();
    EXPECT_EQ(platform.GetIdleWaitMs(), 0u);

    // Minimised, a request draws nothing: the tick is what comes next.
    platform.SetActive(false);
    EXPECT_EQ(platform.GetIdleWaitMs(), 20u);
    time.AdvanceMs(25);
    EXPECT_EQ(platform.GetIdleWaitMs(), 0u); // overdue
    platform.FrameStep();
    EXPECT_EQ(platform.GetIdleWaitMs(), 50u);
    platform.Quit();
    EXPECT_EQ(platform.GetIdleWaitMs(), 0u);

    // Without a main window or a context there is nothing to draw: a request does not make the loop spin.
    PlatformOnFakeTime bare;
    bare.m_platform.RequestFrame();
    EXPECT_EQ(bare.m_platform.GetIdleWaitMs(), 50u);
    EXPECT_FALSE(bare.m_platform.FrameStep());
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
