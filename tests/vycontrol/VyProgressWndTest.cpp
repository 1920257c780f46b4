#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyProgressWnd.h"

namespace
{
class Owner : public VyMessageTarget
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id == VY_MSG_DIALOG_CLOSED)
            m_closed.push_back(msg.param2);
    }
    std::vector<int> m_closed;
};
} // namespace

TEST_F(VyControlTest, AProgressWindowFollowsAWorkerForwardOnlyAndClosesAtTheEnd)
{
    Owner owner;
    auto pState = std::make_shared<VyProgressState>();
    VyProgressWnd* pWindow = VyProgressWnd::Show("Loading Tolmar", {275, 100}, pState, 5, nullptr, &owner);
    ASSERT_NE(pWindow, nullptr);
    std::atomic<bool> bStop{false};
    std::atomic<bool> bWorkerDone{false};
    std::thread worker([&] {
        // Values that sometimes go back: the window must never show them.
        for (int step = 0; step <= 200 && !bStop; ++step)
        {
            pState->SetText(VyString::Format("Loading part %d", step / 20));
            pState->SetValue(step % 7 == 3 ? step / 4 : step / 2);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        bWorkerDone = true;
    });
    std::vector<int> shown;
    // Ticks while the worker works, and a few more once it is done.
    for (int after = 0; after < 5 && owner.m_closed.empty(); after += bWorkerDone ? 1 : 0)
    {
        Tick();
        if (owner.m_closed.empty())
            shown.push_back(pWindow->GetShownValue());
    }
    bStop = true;
    worker.join();
    Dispatch();
    EXPECT_EQ(owner.m_closed, (std::vector<int>{VY_IDOK}));
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(m_pMain->GetPendingDeleteCount(), 0u);
}

TEST_F(VyControlTest, AProgressWindowClosesWhenTheWorkFailsAndShowsItsTimes)
{
    Owner owner;
    auto pState = std::make_shared<VyProgressState>();
    VyProgressWnd* pWindow = VyProgressWnd::Show("Loading Tolmar", {275, 100}, pState, 5, nullptr, &owner);
    ASSERT_NE(pWindow, nullptr);
    unsigned int now = 0;
    pWindow->SetClock([&now] { return now; });
    now = 3000;
    pState->SetValue(25);
    Tick();
    EXPECT_EQ(pWindow->GetTimesText(), "Elapsed 0:03   Remaining 0:09");
    Frame();
    // Escape does not close it; a failure does.
    m_pMain->SetFocus(pWindow);
    Key(VY_KEY_ESCAPE);
    Tick();
    EXPECT_TRUE(owner.m_closed.empty());
    std::thread worker([&] { pState->Fail(); });
    worker.join();
    Tick();
    Dispatch();
    EXPECT_EQ(owner.m_closed, (std::vector<int>{VY_IDCANCEL}));
    pState->SetValue(90); // the work may go on reporting after its window went
}
