#include <gtest/gtest.h>

#include <atomic>

#include "vythread/VyEvent.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyThread.h"
#include "vythread/VyTraceCapture.h"

namespace
{
unsigned int WaitForEvent(void* argument)
{
    static_cast<VyEvent*>(argument)->Wait();
    return 7;
}

// A worker that can only end after the main thread has handled the message it posts.
class Handshake : public VyMessageTarget
{
public:
    VyEvent handled;
    std::atomic<bool> bHandled{false};

    void HandleMessage(const VyMessage&) override
    {
        bHandled = true;
        handled.Set();
    }
    static unsigned int Run(void* argument)
    {
        auto* self = static_cast<Handshake*>(argument);
        VyMessageTarget::Post({self, 1001, 0, 0});
        self->handled.Wait();
        return 1;
    }
};
} // namespace

TEST(VyThread, StartWaitAndExitCode)
{
    VyThread empty;
    EXPECT_FALSE(empty.Wait(0));
    EXPECT_FALSE(empty.WaitPumping(0));

    VyEvent release;
    VyThread thread;
    ASSERT_TRUE(thread.Start(WaitForEvent, &release));
    VyThread copy = thread;
    EXPECT_FALSE(copy.Wait(5));
    EXPECT_TRUE(thread.IsRunning());
    release.Set();
    EXPECT_TRUE(copy.Wait(VY_INFINITE));
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.GetExitCode(), 7u);
}

TEST(VyThread, WaitPumpingDispatchesUntilTheThreadEnds)
{
    VyMessageQueue queue; // makes this thread the main thread
    Handshake handshake;
    VyThread thread;
    ASSERT_TRUE(thread.Start(Handshake::Run, &handshake));
    EXPECT_TRUE(thread.WaitPumping(VY_INFINITE));
    EXPECT_TRUE(handshake.bHandled);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.GetExitCode(), 1u);
}

TEST(VyThread, WaitPumpingUsesTheInstalledEventPump)
{
    VyMessageQueue queue;
    VyEvent release;
    int pumped = 0;
    VyThread::EventPump previous = VyThread::SetEventPump([&](unsigned int) {
        if (++pumped == 3)
            release.Set();
    });
    VyThread thread;
    ASSERT_TRUE(thread.Start(WaitForEvent, &release));
    EXPECT_TRUE(thread.WaitPumping(VY_INFINITE));
    VyThread::SetEventPump(previous);
    EXPECT_GE(pumped, 3);
}

TEST(VyThread, TerminateLetsGoOfARunningThread)
{
    VyEvent release;
    VyThread thread;
    VyTraceCapture trace;
    ASSERT_TRUE(thread.Start(WaitForEvent, &release));
    thread.Terminate(3);
    EXPECT_NE(trace.Text().find("cannot be forced to end"), VyString::npos);
    // The handle still tells when the detached thread ends; it must end before release goes.
    release.Set();
    EXPECT_TRUE(thread.Wait(VY_INFINITE));
}

TEST(VyEvent, SetIsKeptUntilOneWaitTakesIt)
{
    VyEvent event;
    event.Set();
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0)) << "one wait takes the signal";
}

TEST(VyEvent, APulseWhileNobodyWaitsIsLost)
{
    VyEvent event;
    event.Pulse();
    EXPECT_FALSE(event.Wait(10));
}

