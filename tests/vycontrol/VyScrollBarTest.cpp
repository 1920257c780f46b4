#include <gtest/gtest.h>

#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyScrollBar.h"
#include "vywindow/VyMetrics.h"

namespace
{
// A frame window with a vertical bar of 0..100 that records what the bar tells it.
class VyScrollBarTest : public VyControlTest
{
protected:
    void SetUp() override
    {
        VyControlTest::SetUp();
        m_pFrame = m_pSink->CreateChild(std::make_unique<VyCommandSink>(), VY_STYLE_VISIBLE, {20, 220, 220, 20});
        m_pFrame->ShowScrollBar(VY_ID_VSCROLL, VyFrameWnd::VyBarVisibility::SHOWN);
        m_pBar = dynamic_cast<VyScrollBar*>(m_pFrame->GetChild(VY_ID_VSCROLL));
        ASSERT_NE(m_pBar, nullptr);
        m_pBar->SetRange(0, 100);
        m_pBar->SetSteps({2, 20, -3});
        Dispatch();
        m_pFrame->m_commands.clear();
    }
    // The root point at a distance along the bar from its top end.
    VyPoint AlongBar(int fromTop) const
    {
        const VyRect bar = m_pBar->GetRootRect();
        return {(bar.left + bar.right) / 2, bar.top - 1 - fromTop};
    }
    VyCommandSink* m_pFrame = nullptr;
    VyScrollBar* m_pBar = nullptr;
};
} // namespace

TEST_F(VyScrollBarTest, TheRangeClampsThePositionWithOneCommandAndTheSamePositionPostsNothing)
{
    EXPECT_EQ(m_pBar->GetRect(), (VyRect{200 - VyGetMetric(VyMetric::VSCROLL_WIDTH), 200, 200, 0}));
    m_pBar->SetPosition(50, VyScrollNotify::NOTIFY);
    m_pBar->SetPosition(50, VyScrollNotify::NOTIFY);
    m_pBar->SetPosition(70, VyScrollNotify::SILENT);
    Dispatch();
    EXPECT_EQ(m_pFrame->m_commands, (std::vector<int>{VY_ID_VSCROLL}));
    m_pBar->SetRange(0, 30);
    m_pBar->SetRange(0, 40); // the position stays: nothing
    Dispatch();
    EXPECT_EQ(m_pBar->GetPosition(), 30);
    EXPECT_EQ(m_pFrame->m_commands.size(), 2u);
    m_pBar->SetPosition(-5, VyScrollNotify::SILENT);
    EXPECT_EQ(m_pBar->GetPosition(), 0);
    m_pBar->SetPosition(99, VyScrollNotify::SILENT);
    EXPECT_EQ(m_pBar->GetPosition(), 40);
}

TEST_F(VyScrollBarTest, ArrowsStepByLinesAndPressesBesideTheThumbPageUntilItReachesTheMouse)
{
    const int arrow = VyGetMetric(VyMetric::VSCROLL_WIDTH);
    Press(AlongBar(arrow + 90)); // below the thumb: toward the maximum
    EXPECT_EQ(m_pBar->GetPosition(), 20);
    for (int tick = 0; tick < 9; ++tick)
        Tick();
    EXPECT_EQ(m_pBar->GetPosition(), 20); // the repeat waits 500 ms
    for (int tick = 0; tick < 30; ++tick)
        Tick();
    const VyRect thumb = m_pBar->GetThumbRect();
    const int mouse = m_pBar->RootToClient(AlongBar(arrow + 90)).y;
    EXPECT_TRUE(thumb.bottom <= mouse && mouse < thumb.top); // the thumb reached the mouse
    EXPECT_EQ(m_pBar->GetPosition(), 60);                     // and stopped there
    Release(AlongBar(arrow + 90));
    const int paged = m_pBar->GetPosition();

    Press(AlongBar(arrow / 2)); // the top arrow: one line up at once, repeating while held
    Dispatch();
    EXPECT_EQ(m_pBar->GetPosition(), paged - 2);
    for (int tick = 0; tick < 12; ++tick)
        Tick();
    EXPECT_EQ(m_pBar->GetPosition(), paged - 2 - 2 * 3);
    Release(AlongBar(arrow / 2));
    Tick();
    EXPECT_EQ(m_pBar->GetPosition(), paged - 8);
}

TEST_F(VyScrollBarTest, DraggingTheThumbMapsTheMouseToPositions)
{
    const VyRect thumb = m_pBar->GetThumbRect();
    const int arrow = VyGetMetric(VyMetric::VSCROLL_WIDTH);
    const int travel = 200 - 2 * arrow - thumb.Height();
    Press(AlongBar(arrow + 3));
    m_pMain->OnMouseMove(AlongBar(arrow + 3 + travel / 2), VY_MOUSE_LEFT);
    EXPECT_NEAR(m_pBar->GetPosition(), 50, 1);
    m_pMain->OnMouseMove(AlongBar(arrow + 3 + travel + 40), VY_MOUSE_LEFT);
    EXPECT_EQ(m_pBar->GetPosition(), 100);
    m_pMain->OnMouseMove(AlongBar(-50), VY_MOUSE_LEFT); // far above the bar
    EXPECT_EQ(m_pBar->GetPosition(), 0);
    Release(AlongBar(-50));
    EXPECT_EQ(m_pMain->GetCapture(), nullptr);
}

TEST_F(VyScrollBarTest, TheWheelScrollsTheBarOfTheWindowUnderTheMouseOrOfTheFocus)
{
    m_pBar->SetPosition(50, VyScrollNotify::SILENT);
    m_pMain->OnMouseWheel({100, 100}, 2); // over the frame: its bar, by steps x the third step
    EXPECT_EQ(m_pBar->GetPosition(), 44);
    m_pMain->SetFocus(m_pFrame);
    m_pMain->OnMouseWheel({300, 230}, -1); // elsewhere: the focus's bar
    EXPECT_EQ(m_pBar->GetPosition(), 47);
}

TEST_F(VyScrollBarTest, FrameWindowsFitBarsToTheirContent)
{
    VyFrameWnd* pView = m_pSink->CreateChild(std::make_unique<VyFrameWnd>(), VY_STYLE_VISIBLE, {230, 120, 310, 40});
    const int bar = VyGetMetric(VyMetric::VSCROLL_WIDTH);
    pView->FitScrollBars({60, 70}); // fits: no bars
    EXPECT_FALSE(pView->IsScrollBarVisible(VY_ID_VSCROLL));
    EXPECT_FALSE(pView->IsScrollBarVisible(VY_ID_HSCROLL));
    pView->FitScrollBars({70, 200}); // taller; with the vertical bar it is also wider than what is left
    EXPECT_TRUE(pView->IsScrollBarVisible(VY_ID_VSCROLL));
    EXPECT_TRUE(pView->IsScrollBarVisible(VY_ID_HSCROLL));
    EXPECT_EQ(pView->GetScrollMaximum(VY_ID_VSCROLL), 200 - (80 - bar));
    EXPECT_EQ(pView->GetScrollSteps(VY_ID_VSCROLL).page, 80 - bar);
    EXPECT_EQ(pView->GetScrollMaximum(VY_ID_HSCROLL), 70 - (80 - bar));
    ASSERT_NE(pView->GetChild(VY_ID_CORNER), nullptr);
    EXPECT_TRUE(pView->GetChild(VY_ID_CORNER)->IsVisible());
    // The bars stop at the corner square.
    EXPECT_EQ(pView->GetChild(VY_ID_VSCROLL)->GetRect().bottom, bar);
    EXPECT_EQ(pView->GetChild(VY_ID_HSCROLL)->GetRect().right, 80 - bar);
    pView->FitScrollBars({10, 10});
    EXPECT_FALSE(pView->IsScrollBarVisible(VY_ID_VSCROLL));
    EXPECT_FALSE(pView->GetChild(VY_ID_CORNER)->IsVisible());
}
