#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "vythread/VyException.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyPostBox.h"
#include "vythread/VyTraceCapture.h"

namespace
{
struct Seen
{
    int id;
    int param1;
    int param2;
    bool operator==(const Seen&) const = default;
};

// Records what it receives; an optional reaction runs inside the handler.
class Recorder : public VyMessageTarget
{
public:
    std::vector<Seen> seen;
    std::function<void(const VyMessage&)> react;

    void HandleMessage(const VyMessage& msg) override
    {
        seen.push_back({msg.id, msg.param1, msg.param2});
        if (react)
            react(msg);
    }
    std::vector<int> Timers() const
    {
        std::vector<int> ids;
        for (const Seen& s : seen)
            if (s.id == VY_MSG_TIMER)
                ids.push_back(s.param1);
        return ids;
    }
};

class MessageQueueTest : public ::testing::Test
{
protected:
    VyMessageQueue m_queue;
    Recorder m_a;
    Recorder m_b;

    // Runs n ticks and returns the tick numbers at which target fired timer id.
    std::vector<unsigned int> TicksFired(Recorder& target, int id, int n)
    {
        std::vector<unsigned int> ticks;
        for (int i = 0; i < n; ++i)
        {
            size_t before = target.seen.size();
            VyMessageTarget::ProcessTimers();
            for (size_t k = before; k < target.seen.size(); ++k)
                if (target.seen[k].id == VY_MSG_TIMER && target.seen[k].param1 == id)
                    ticks.push_back(m_queue.GetTickCounter());
        }
        return ticks;
    }
};
} // namespace

TEST_F(MessageQueueTest, PostingOrderFilterAndRemoval)
{
    VyMessageTarget::Post({&m_a, 8, 5, 7});
    VyMessageTarget::Post({&m_b, 8, 5, 7});
    VyMessageTarget::Post({&m_a, 9, 1, 2});
    VyMessageTarget::Post({&m_a, 8, 6, 0});

    EXPECT_TRUE(VyMessageTarget::HasMessage({&m_a, 8, 0, 0}));
    EXPECT_TRUE(VyMessageTarget::HasMessage({&m_a, 8, 5, 7}));
    EXPECT_TRUE(VyMessageTarget::HasMessage({&m_a, 0, 0, 2}));
    EXPECT_FALSE(VyMessageTarget::HasMessage({&m_a, 8, 1, 0})) << "a non-zero filter field must match";
    EXPECT_FALSE(VyMessageTarget::HasMessage({&m_a, 10, 0, 0}));
    EXPECT_FALSE(VyMessageTarget::HasMessage({nullptr, 8, 5, 7})) << "the target is always compared";

    {
        VyTraceCapture trace;
        VyMessageTarget::Post({nullptr, 8, 0, 0}); // reported, and never reaches the dispatch
        EXPECT_TRUE(trace.Text().find("Assertion Failed:msg.pTarget\n") != VyString::npos);
    }
    VyMessageTarget::RemoveMessages({&m_a, 8, 5, 0});
    EXPECT_EQ(m_queue.GetMessageCount(), 3u);
    VyMessageTarget::DispatchMessages();
    EXPECT_EQ(m_a.seen, (std::vector<Seen>{{9, 1, 2}, {8, 6, 0}}));
    EXPECT_EQ(m_b.seen, (std::vector<Seen>{{8, 5, 7}}));

    VyMessageTarget::Post({&m_a, 1, 0, 0});
    VyMessageTarget::Post({&m_b, 1, 0, 0});
    VyMessageTarget::Post({&m_a, 2, 0, 0});
    VyMessageTarget::RemoveMessages({&m_a, 0, 0, 0});
    EXPECT_FALSE(VyMessageTarget::HasMessage({&m_a, 0, 0, 0}));
    EXPECT_TRUE(VyMessageTarget::HasMessage({&m_b, 1, 0, 0}));
}

TEST_F(MessageQueueTest, MessagesPostedWhileDispatchingArriveInTheSameCall)
{
    m_a.react = [&](const VyMessage& msg) {
        if (msg.id == 1)
        {
            VyMessageTarget::Post({&m_b, 2, 0, 0});
            VyMessageTarget::Post({&m_a, 3, 0, 0});
        }
    };
    VyMessageTarget::Post({&m_a, 1, 0, 0});
    VyMessageTarget::Post({&m_b, 4, 0, 0});
    VyMessageTarget::DispatchMessages();
    EXPECT_EQ(m_a.seen, (std::vector<Seen>{{1, 0, 0}, {3, 0, 0}}));
    EXPECT_EQ(m_b.seen, (std::vector<Seen>{{4, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(m_queue.GetMessageCount(), 0u);
}

TEST_F(MessageQueueTest, HandlerExceptions)
{
    m_a.react = [](const VyMessage& msg) {
        if (msg.id == 1)
            throw std::runtime_error("not ours");
        if (msg.id == 2)
            throw VyException("VyGameWnd", "HandleMessage", "broken");
    };
    VyMessageTarget::Post({&m_a, 1, 0, 0});
    VyMessageTarget::Post({&m_b, 5, 0, 0});
    VyMessageTarget::Post({&m_a, 2, 0, 0});
    VyMessageTarget::Post({&m_b, 6, 0, 0});
    try
    {
        VyMessageTarget::DispatchMessages();
        FAIL() << "the framework exception must leave DispatchMessages";
    }
    catch (VyException& error)
    {
        EXPECT_EQ(error.GetMessage(), "*VyMessageTarget::DispatchMessages\n*VyGameWnd::HandleMessage : broken");
    }
    // The foreign exception was swallowed and dispatching went on; the framework one ended the call.
    EXPECT_EQ(m_b.seen, (std::vector<Seen>{{5, 0, 0}}));
    EXPECT_EQ(m_queue.GetMessageCount(), 1u);
    VyMessageTarget::DispatchMessages();
    EXPECT_EQ(m_b.seen.back(), (Seen{6, 0, 0}));
}

TEST(MessageQueueInstall, StaticOperationsWithoutAQueueReportAndDoNothing)
{
    Recorder target;
    VyTraceCapture trace;
    ASSERT_EQ(VyMessageQueue::Current(), nullptr);
    VyMessageTarget::Post({&target, 1, 0, 0});
    EXPECT_FALSE(VyMessageTarget::HasMessage({&target, 0, 0, 0}));
    VyMessageTarget::SetTimer(&target, 1, 50);
    VyMessageTarget::ProcessTimers();
    VyMessageTarget::DispatchMessages();
    EXPECT_TRUE(target.seen.empty());
    EXPECT_NE(trace.Text().find("Assertion Failed:pQueue"), VyString::npos);
    {
        VyMessageQueue queue;
        EXPECT_EQ(VyMessageQueue::Current(), &queue);
        VyMessageTarget::Post({&target, 1, 0, 0});
        EXPECT_EQ(queue.GetMessageCount(), 1u) << "nothing was left over from the calls without a queue";
    }
    EXPECT_EQ(VyMessageQueue::Current(), nullptr);
}

TEST_F(MessageQueueTest, TimerPeriodsAndPhases)
{
    VyMessageTarget::SetTimer(&m_a, 1, 120); // two ticks, set at tick 0
    EXPECT_EQ(TicksFired(m_a, 1, 6), (std::vector<unsigned int>{2, 4, 6}));

    VyMessageTarget::SetTimer(&m_b, 2, 150); // three ticks, set at tick 6: phase 0
    VyMessageTarget::ProcessTimers();        // tick 7
    VyMessageTarget::SetTimer(&m_b, 3, 199); // three ticks, set at tick 7: phase 1
    EXPECT_EQ(TicksFired(m_b, 2, 6), (std::vector<unsigned int>{9, 12}));
    EXPECT_EQ(m_b.Timers(), (std::vector<int>{2, 3, 2, 3}));
}

TEST_F(MessageQueueTest, ShortPeriodsFireEveryTickAndResettingReplaces)
{
    VyMessageTarget::SetTimer(&m_a, 1, 1000);
    VyMessageTarget::SetTimer(&m_a, 1, 50);
    EXPECT_EQ(m_queue.GetTimerCount(), 1u);
    EXPECT_EQ(TicksFired(m_a, 1, 3), (std::vector<unsigned int>{1, 2, 3}));

    VyMessageTarget::SetTimer(&m_b, 7, 0);
    VyMessageTarget::SetTimer(&m_b, 8, 49);
    VyMessageTarget::SetTimer(&m_b, 9, -20);
    VyMessageTarget::ProcessTimers();
    VyMessageTarget::ProcessTimers();
    EXPECT_EQ(m_b.Timers(), (std::vector<int>{7, 8, 9, 7, 8, 9}));
}

TEST_F(MessageQueueTest, KillingTimers)
{
    VyMessageTarget::SetTimer(&m_a, 1, 50);
    VyMessageTarget::SetTimer(&m_a, 2, 50);
    VyMessageTarget::SetTimer(&m_b, 1, 50);
    VyMessageTarget::ProcessTimers();
    VyMessageTarget::KillTimer(&m_a, 1);
    EXPECT_EQ(m_queue.GetTimerCount(), 3u) << "the entry goes at the next tick";
    VyMessageTarget::ProcessTimers();
    EXPECT_EQ(m_a.Timers(), (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(m_queue.GetTimerCount(), 2u);

    VyMessageTarget::KillTimers(&m_a);
    VyMessageTarget::ProcessTimers();
    EXPECT_EQ(m_a.Timers().size(), 3u);
    EXPECT_EQ(m_b.Timers(), (std::vector<int>{1, 1, 1}));

    // Killing and setting again before the tick keeps the new timer.
    VyMessageTarget::KillTimer(&m_b, 1);
    VyMessageTarget::SetTimer(&m_b, 1, 50);
    VyMessageTarget::ProcessTimers();
    EXPECT_EQ(m_b.Timers().size(), 4u);
}

TEST_F(MessageQueueTest, TimerHandlersThatThrowAreRemoved)
{
    m_a.react = [](const VyMessage& msg) {
        if (msg.param1 == 1)
            throw VyException("VyPiece", "HandleMessage");
        if (msg.param1 == 2)
            throw 42;
    };
    VyMessageTarget::SetTimer(&m_a, 1, 50);
    VyMessageTarget::SetTimer(&m_a, 2, 50);
    VyMessageTarget::SetTimer(&m_a, 3, 50);
    VyMessageTarget::ProcessTimers();
    VyMessageTarget::ProcessTimers();
    EXPECT_EQ(m_a.Timers(), (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(m_queue.GetTimerCount(), 1u);
}

TEST_F(MessageQueueTest, TimerHandlersMaySetAndKillTimers)
{
    // The first time timer 1 fires it replaces itself by a two-tick timer 1 and adds timer 2;
    // timer 2 kills timer 3 whenever it fires.
    m_a.react = [&](const VyMessage& msg) {
        if (msg.param1 == 1 && m_a.Timers().size() == 1)
        {
            VyMessageTarget::SetTimer(&m_a, 1, 100);
            VyMessageTarget::SetTimer(&m_a, 2, 50);
        }
        if (msg.param1 == 2)
            VyMessageTarget::KillTimer(&m_a, 3);
    };
    VyMessageTarget::SetTimer(&m_a, 1, 50);
    VyMessageTarget::SetTimer(&m_a, 3, 50);
    VyMessageTarget::ProcessTimers(); // tick 1: 1, 3; the timers set here do not fire in this tick
    VyMessageTarget::ProcessTimers(); // tick 2: 3, 2 (timer 1 now has phase 1 of 2; timer 3 is killed)
    VyMessageTarget::ProcessTimers(); // tick 3: 1, 2
    VyMessageTarget::ProcessTimers(); // tick 4: 2
    EXPECT_EQ(m_a.Timers(), (std::vector<int>{1, 3, 3, 2, 1, 2, 2}));
}

TEST_F(MessageQueueTest, PostingFromSeveralThreads)
{
    constexpr int THREADS = 4;
    constexpr int PER_THREAD = 2000;
    std::vector<std::thread> threads;
    for (int t = 1; t <= THREADS; ++t)
        threads.emplace_back([this, t] {
            for (int i = 0; i < PER_THREAD; ++i)
                VyMessageTarget::Post({&m_a, t, i, 0});
        });
    // Dispatch while the threads post.
    while (m_a.seen.size() < static_cast<size_t>(THREADS * PER_THREAD))
        VyMessageTarget::DispatchMessages();
    for (std::thread& thread : threads)
        thread.join();
    std::vector<int> next(THREADS + 1, 0);
    for (const Seen& s : m_a.seen)
    {
        ASSERT_EQ(s.param1, next[s.id]) << "each thread's messages arrive in its posting order";
        ++next[s.id];
    }
}

// Workers that outlive their receiver post through a shared box: nothing of theirs reaches the queue
// once the receiver has detached it, however the threads interleave.
TEST_F(MessageQueueTest, APostBoxDropsEveryPostAfterItsDetach)
{
    auto pBox = VyPostBox::Make(&m_a);
    EXPECT_TRUE(pBox->Post(1001, 7, 8));
    VyMessageTarget::DispatchMessages();
    ASSERT_EQ(m_a.seen, (std::vector<Seen>{{1001, 7, 8}}));

    std::atomic<bool> detached{false};
    std::atomic<int> lateAccepted{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&, w] {
            for (int i = 0; i < 2000; ++i)
            {
                const bool wasDetached = detached.load();
                if (pBox->Post(1002, w, i) && wasDetached)
                    ++lateAccepted;
            }
        });
    pBox->Detach();
    detached = true;
    for (std::thread& t : workers)
        t.join();
    EXPECT_EQ(lateAccepted.load(), 0);
    EXPECT_TRUE(pBox->IsDetached());
    const size_t before = m_a.seen.size();
    VyMessageTarget::DispatchMessages();
    // What was queued before the detach is still delivered; nothing more arrives later.
    VyMessageTarget::DispatchMessages();
    EXPECT_FALSE(pBox->Post(1003, 0, 0));
    VyMessageTarget::DispatchMessages();
    for (size_t k = before; k < m_a.seen.size(); ++k)
        EXPECT_EQ(m_a.seen[k].id, 1002);
}
