#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <thread>

#include "VyGameTypes.h"
#include "VyProgressDisplay.h"
#include "VySetLoader.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyProgressWnd.h"

namespace
{
// Keeps the closings of progress windows (their results) and the set loader's answers.
class Owner : public VyMessageTarget
{
public:
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id == VY_MSG_DIALOG_CLOSED)
            closed.push_back(msg.param2);
        else if (msg.id == MSG_SET_LOADED || msg.id == MSG_SET_LOAD_FAILED)
            answers.push_back({msg.id, msg.param1});
    }
    std::vector<int> closed;
    std::vector<std::pair<int, int>> answers; // message, load
};

// The control tests' window tree; the resource look-up the game tests installed comes back at the end.
class VyProgressDisplayTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        m_pResources = VyResourceSource::GetCurrent();
        VyControlTest::SetUp();
    }
    void TearDown() override
    {
        Dispatch();
        VyControlTest::TearDown();
        VyResourceSource::SetCurrent(m_pResources);
    }

    VyString Label(VyProgressWnd& window) const { return window.GetControlText(VyProgressWnd::VY_TEXT_ID); }
    // Whether a progress window is among the main window's children.
    size_t CountProgressWindows() const
    {
        size_t count = 0;
        m_pMain->ForEachDescendant([&count](VyWnd& wnd) { count += dynamic_cast<VyProgressWnd*>(&wnd) != nullptr; });
        return count;
    }

    Owner m_owner; // outlives every message of the test
    VyResourceSource* m_pResources = nullptr;
};
} // namespace

TEST(ProgressDisplayPercent, APositionIsItsShareOfTheRange)
{
    EXPECT_EQ(VyProgressDisplay::Percent(0, 100, 37), 37);
    EXPECT_EQ(VyProgressDisplay::Percent(100, 300, 200), 50);
    EXPECT_EQ(VyProgressDisplay::Percent(0, 3, 1), 33);
    EXPECT_EQ(VyProgressDisplay::Percent(-50, 50, 0), 50);
    // Outside the range: its ends.
    EXPECT_EQ(VyProgressDisplay::Percent(100, 300, 50), 0);
    EXPECT_EQ(VyProgressDisplay::Percent(100, 300, 301), 100);
    // Empty and reversed ranges show nothing done.
    EXPECT_EQ(VyProgressDisplay::Percent(5, 5, 5), 0);
    EXPECT_EQ(VyProgressDisplay::Percent(9, 3, 9), 0);
    // The widest range does not overflow.
    EXPECT_EQ(VyProgressDisplay::Percent(INT_MIN, INT_MAX, INT_MAX), 100);
    EXPECT_EQ(VyProgressDisplay::Percent(INT_MIN, INT_MAX, 0), 50);
}

TEST_F(VyProgressDisplayTest, AWorkersReportsReachTheWindowWhichClosesItselfAtTheEndOfTheRange)
{
    VyProgressDisplay display(nullptr, 5, &m_owner);
    display.Open("Loading ...", {275, 100}, "Loading Tolmar");
    VyProgressWnd* pWindow = display.GetWindow();
    ASSERT_NE(pWindow, nullptr);
    EXPECT_EQ(pWindow->GetText(), "Loading ...");
    EXPECT_EQ(pWindow->GetRect().Width(), 275);
    EXPECT_EQ(Label(*pWindow), "Loading Tolmar");

    std::atomic<bool> bStop{false};
    std::atomic<bool> bWorkerDone{false};
    std::thread worker([&] {
        display.SetRange(0, 40);
        // Positions that sometimes go back: the window never shows them.
        for (int pos = 0; pos <= 40 && !bStop; ++pos)
        {
            display.SetLabel(VyString::Format("Loading piece %d", pos / 10));
            display.SetPos(pos % 7 == 3 ? pos / 3 : pos);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        bWorkerDone = true;
    });
    std::vector<int> shown;
    std::vector<VyString> labels;
    // Ticks while the worker works, and a few more once it is done.
    for (int after = 0; after < 5 && m_owner.closed.empty(); after += bWorkerDone ? 1 : 0)
    {
        Tick();
        if (display.GetWindow() != nullptr)
        {
            shown.push_back(pWindow->GetShownValue());
            labels.push_back(Label(*pWindow));
        }
    }
    bStop = true;
    worker.join();
    Dispatch();
    EXPECT_EQ(m_owner.closed, std::vector<int>{VY_IDOK});
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    for (const VyString& label : labels)
        EXPECT_TRUE(label == "Loading Tolmar" || label.rfind("Loading piece ", 0) == 0) << label;
    EXPECT_EQ(display.GetWindow(), nullptr);
    EXPECT_EQ(CountProgressWindows(), 0u);
    EXPECT_EQ(m_pMain->GetPendingDeleteCount(), 0u);
    // The loader's Close after the end finds nothing to close.
    display.Close();
    Dispatch();
    EXPECT_EQ(m_owner.closed, std::vector<int>{VY_IDOK});
}

TEST_F(VyProgressDisplayTest, CloseEndsTheWindowAtOnceAndLaterReportsAreIgnored)
{
    VyProgressDisplay display(nullptr, 5, &m_owner);
    display.Open("Loading ...", {275, 100}, "Loading Tolmar");
    display.SetRange(100, 300);
    display.SetPos(200);
    Tick();
    ASSERT_NE(display.GetWindow(), nullptr);
    EXPECT_EQ(display.GetWindow()->GetShownValue(), 50);

    display.Close();
    EXPECT_EQ(display.GetWindow(), nullptr);
    display.SetPos(300);
    display.SetLabel("too late");
    display.Close();
    Dispatch();
    EXPECT_EQ(m_owner.closed, std::vector<int>{VY_IDCANCEL});
    EXPECT_EQ(CountProgressWindows(), 0u);
    EXPECT_EQ(m_pMain->GetPendingDeleteCount(), 0u);
}

TEST_F(VyProgressDisplayTest, EachOpenShowsAFreshWindowWithTheWholeRange)
{
    VyProgressDisplay display(nullptr, 5, &m_owner);
    // Reports and a Close before any Open do nothing.
    display.SetRange(0, 10);
    display.SetPos(5);
    display.Close();
    Dispatch();
    EXPECT_TRUE(m_owner.closed.empty());
    EXPECT_EQ(display.GetWindow(), nullptr);

    display.Open("First", {275, 100}, "one");
    display.SetRange(100, 300);
    display.SetPos(250);
    Tick();
    display.Close();
    display.Open("Second", {300, 120}, "two");
    display.SetPos(40); // 0..100 again
    Tick();
    VyProgressWnd* pWindow = display.GetWindow();
    ASSERT_NE(pWindow, nullptr);
    EXPECT_EQ(pWindow->GetText(), "Second");
    EXPECT_EQ(pWindow->GetShownValue(), 40);
    EXPECT_EQ(Label(*pWindow), "two");

    // An Open over an open window replaces it.
    display.Open("Third", {275, 100}, "three");
    Dispatch();
    EXPECT_EQ(m_owner.closed, (std::vector<int>{VY_IDCANCEL, VY_IDCANCEL}));
    EXPECT_EQ(CountProgressWindows(), 1u);
    ASSERT_NE(display.GetWindow(), nullptr);
    EXPECT_EQ(display.GetWindow()->GetShownValue(), 0);
    display.Close();
}

TEST_F(VyProgressDisplayTest, AWindowClosedElsewhereOrLeftOpenAtTheEndIsHandled)
{
    {
        VyProgressDisplay display(nullptr, 5, &m_owner);
        display.Open("Loading ...", {275, 100}, "Loading Tolmar");
        // Something else closes the window and it is deleted; the display must not touch it again.
        display.GetWindow()->Close(VY_IDOK);
        Dispatch();
        EXPECT_EQ(m_pMain->GetPendingDeleteCount(), 0u);
        EXPECT_EQ(display.GetWindow(), nullptr);
        display.SetPos(60);
        display.Close();
        Dispatch();
        EXPECT_EQ(m_owner.closed, std::vector<int>{VY_IDOK});

        // Going away with a window open closes it.
        display.Open("Loading ...", {275, 100}, "Loading Tolmar");
    }
    Dispatch();
    EXPECT_EQ(m_owner.closed, (std::vector<int>{VY_IDOK, VY_IDCANCEL}));
    EXPECT_EQ(CountProgressWindows(), 0u);
}

TEST_F(VyProgressDisplayTest, WithNowhereToShowTheWindowReportsGoNowhere)
{
    VyFrameWnd unplaced; // never created in the tree
    VyProgressDisplay display(&unplaced, 5, &m_owner);
    display.Open("Loading ...", {275, 100}, "Loading Tolmar");
    EXPECT_EQ(display.GetWindow(), nullptr);
    std::thread worker([&] {
        display.SetRange(0, 10);
        display.SetLabel("Loading board ... ");
        display.SetPos(10);
    });
    worker.join();
    display.Close();
    Dispatch();
    EXPECT_TRUE(m_owner.closed.empty());
    EXPECT_EQ(CountProgressWindows(), 0u);
}

TEST_F(VyProgressDisplayTest, TheSetLoaderShowsItsProgressUntilTheClassicSetIsLoaded)
{
    VyProgressDisplay display(nullptr, 5, &m_owner);
    VySetLoader loader(&m_owner, &display);
    const int load = loader.Start(VySetLoader::PathOfSet("classic"));
    VyProgressWnd* pWindow = display.GetWindow();
    ASSERT_NE(pWindow, nullptr);
    EXPECT_EQ(Label(*pWindow), "Loading Tolmar");
    std::vector<int> shown;
    // A guard against a loader that hangs, not a measurement.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (m_owner.answers.empty() && std::chrono::steady_clock::now() < limit)
    {
        Tick();
        if (display.GetWindow() != nullptr)
            shown.push_back(pWindow->GetShownValue());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(m_owner.answers, (std::vector<std::pair<int, int>>{{MSG_SET_LOADED, load}}));
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    VyPieceSet set;
    VyString failure;
    EXPECT_EQ(loader.Take(load, set, failure), VySetLoader::VY_LOAD_DONE) << failure;
    EXPECT_EQ(set.pieces.size(), 16u);
    Dispatch();
    // The bar stood at 100 when the set was handed over: the window closed with Ok, by itself or at Take.
    EXPECT_EQ(m_owner.closed, std::vector<int>{VY_IDOK});
    EXPECT_EQ(CountProgressWindows(), 0u);
}
