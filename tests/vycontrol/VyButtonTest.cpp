#include <gtest/gtest.h>

#include "vycontrol/VyButton.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vyio/VyTestDir.h"
#include "vyrender/VyFont.h"
#include "vyutil/VyColorSlots.h"
#include "vywindow/VyMetrics.h"

static auto* const g_environment = testing::AddGlobalTestEnvironment(new VyTempWorkingDir);

namespace
{
constexpr uint32_t STATES = VY_BUTTON_STATE_MESSAGES;
constexpr VyPoint INSIDE{50, 30};
constexpr VyPoint OUTSIDE{200, 200};
} // namespace

TEST_F(VyControlTest, APushButtonCommandsOnlyOnAReleaseInsideIt)
{
    VyButton* pButton = Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 10}, VY_STYLE_VISIBLE | STATES, "Go");
    ASSERT_NE(pButton, nullptr);
    Press(INSIDE);
    EXPECT_EQ(pButton->GetState(), VyButtonState::DOWN);
    EXPECT_EQ(m_pMain->GetCapture(), pButton);
    EXPECT_EQ(m_pMain->GetFocus(), pButton);
    Release(INSIDE);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{201}));
    EXPECT_EQ(m_pSink->m_states, (std::vector<int>{1, 0}));
    EXPECT_EQ(m_pMain->GetCapture(), nullptr);

    // Dragged out: the capture goes and the button comes up; the release outside commands nothing.
    Press(INSIDE);
    m_pMain->OnMouseMove(OUTSIDE, VY_MOUSE_LEFT);
    EXPECT_EQ(pButton->GetState(), VyButtonState::UP);
    Release(OUTSIDE);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands.size(), 1u);

    // Return on the focused button commands it; Space is no button key.
    m_pMain->SetFocus(pButton);
    Key(VY_KEY_RETURN);
    m_pMain->OnChar(' ', VY_INPUT_KEY);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{201, 201}));
    EXPECT_EQ(pButton->GetState(), VyButtonState::UP);
}

TEST_F(VyControlTest, AToggleDraggedOutAndReleasedOutsideKeepsItsStateAndPostsNothing)
{
    VyButton* pToggle =
        Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 10}, VY_STYLE_VISIBLE | VY_BUTTON_TOGGLE | STATES, "On");
    ASSERT_NE(pToggle, nullptr);
    Click(INSIDE);
    Dispatch();
    EXPECT_EQ(pToggle->GetState(), VyButtonState::DOWN);
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{201}));
    EXPECT_EQ(m_pSink->m_states, (std::vector<int>{3, 1})); // off and held, then on
    m_pSink->m_commands.clear();
    m_pSink->m_states.clear();

    Press(INSIDE);
    EXPECT_EQ(pToggle->GetState(), VyButtonState::ON_PRESSED);
    m_pMain->OnMouseMove(OUTSIDE, VY_MOUSE_LEFT);
    EXPECT_EQ(pToggle->GetState(), VyButtonState::DOWN);
    m_pMain->OnMouseMove(INSIDE, VY_MOUSE_LEFT);
    EXPECT_EQ(pToggle->GetState(), VyButtonState::ON_PRESSED);
    m_pMain->OnMouseMove(OUTSIDE, VY_MOUSE_LEFT);
    Release(OUTSIDE);
    Dispatch();
    EXPECT_EQ(pToggle->GetState(), VyButtonState::DOWN);
    EXPECT_TRUE(m_pSink->m_commands.empty());
    EXPECT_EQ(m_pSink->m_states, (std::vector<int>{2, 1, 2, 1}));
    EXPECT_EQ(m_pMain->GetCapture(), nullptr);

    // One that acts on the press flips at once.
    VyButton* pQuick = Make<VyButton>(VyControlKind::BUTTON, {120, 50, 200, 10},
                                      VY_STYLE_VISIBLE | VY_BUTTON_TOGGLE | VY_BUTTON_ON_PRESS, "Quick", 202);
    Press({150, 30});
    EXPECT_EQ(pQuick->GetState(), VyButtonState::DOWN);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{202}));
    Release({150, 30});
}

TEST_F(VyControlTest, AnAutoRepeatButtonRepeatsAfterTenTicksAndThenEveryTickWhileTheMouseIsOnIt)
{
    VyButton* pRepeat =
        Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 10}, VY_STYLE_VISIBLE | VY_BUTTON_REPEAT, "More");
    ASSERT_NE(pRepeat, nullptr);
    Press(INSIDE);
    for (int tick = 1; tick < 10; ++tick)
        Tick();
    EXPECT_TRUE(m_pSink->m_commands.empty()); // 450 ms
    Tick();
    EXPECT_EQ(m_pSink->m_commands.size(), 1u); // 500 ms
    for (int tick = 0; tick < 4; ++tick)
        Tick();
    EXPECT_EQ(m_pSink->m_commands.size(), 5u); // then every 50 ms
    Release(INSIDE);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands.size(), 6u); // and the release
    for (int tick = 0; tick < 20; ++tick)
        Tick();
    EXPECT_EQ(m_pSink->m_commands.size(), 6u);
    EXPECT_EQ(VyMessageQueue::Current()->GetTimerCount(), 0u); // the repeat timer is gone
}

TEST_F(VyControlTest, AButtonDrawsItsFaceFrameAndText)
{
    VyButton* pUp = Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 20}, VY_STYLE_VISIBLE, "Ok");
    VyButton* pDown = Make<VyButton>(VyControlKind::BUTTON, {120, 50, 200, 20}, VY_STYLE_VISIBLE | VY_BUTTON_TOGGLE,
                                     "Ok", 202);
    pDown->SetState(VyButtonState::DOWN);
    ASSERT_TRUE(pUp && pDown);
    Frame();
    EXPECT_EQ(Pixel(25, 25), SlotColor(BUTTON_FACE));
    EXPECT_EQ(Pixel(125, 25), SlotColor(BUTTON_FACE_DOWN));
    EXPECT_EQ(Pixel(20, 35), SlotColor(BUTTON_UP_LIGHT_HILIGHT)); // raised: light on the left
    EXPECT_EQ(Pixel(120, 35), SlotColor(BUTTON_DOWN_LIGHT_SHADOW)); // sunken: shadow on the left
    int text = 0;
    for (int y = 21; y < 49; ++y)
        for (int x = 21; x < 99; ++x)
            text += Pixel(x, y) == SlotColor(BUTTON_TEXT);
    EXPECT_GT(text, 10);
}

TEST_F(VyControlTest, ReturnCommandsAToggleWithoutFlippingItAndTabMovesOn)
{
    VyButton* pToggle = Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 10},
                                       VY_STYLE_VISIBLE | VY_STYLE_TABSTOP | VY_BUTTON_TOGGLE | STATES, "On");
    VyButton* pNext =
        Make<VyButton>(VyControlKind::BUTTON, {120, 50, 200, 10}, VY_STYLE_VISIBLE | VY_STYLE_TABSTOP, "Next", 202);
    ASSERT_TRUE(pToggle && pNext);
    m_pMain->SetFocus(pToggle);
    Key(VY_KEY_RETURN);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{201}));
    EXPECT_TRUE(m_pSink->m_states.empty());
    EXPECT_EQ(pToggle->GetState(), VyButtonState::UP);
    Key(VY_KEY_TAB); // the base filter still runs for the other keys
    EXPECT_EQ(m_pMain->GetFocus(), pNext);
}

TEST_F(VyControlTest, AButtonThatActsOnThePressCommandsOnceBeforeTheRelease)
{
    VyButton* pQuick = Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 10},
                                      VY_STYLE_VISIBLE | VY_BUTTON_ON_PRESS | STATES, "Now");
    ASSERT_NE(pQuick, nullptr);
    Press(INSIDE);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{201}));
    EXPECT_EQ(m_pMain->GetCapture(), pQuick); // held down until the release
    Release(INSIDE);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{201}));
    EXPECT_EQ(m_pSink->m_states, (std::vector<int>{1, 0}));
    EXPECT_EQ(pQuick->GetState(), VyButtonState::UP);
}

TEST_F(VyControlTest, ALostCaptureBringsAHeldButtonUpAndStopsItsRepeat)
{
    VyButton* pRepeat = Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 10},
                                       VY_STYLE_VISIBLE | VY_BUTTON_REPEAT | STATES, "More");
    VyButton* pToggle = Make<VyButton>(VyControlKind::BUTTON, {120, 50, 200, 10},
                                       VY_STYLE_VISIBLE | VY_BUTTON_TOGGLE | STATES, "On", 202);
    ASSERT_TRUE(pRepeat && pToggle);
    Press(INSIDE);
    m_pMain->SetCapture(m_pSink); // something else takes the mouse
    Dispatch();
    EXPECT_EQ(pRepeat->GetState(), VyButtonState::UP);
    EXPECT_EQ(m_pSink->m_states, (std::vector<int>{1, 0}));
    for (int tick = 0; tick < 20; ++tick)
        Tick();
    EXPECT_TRUE(m_pSink->m_commands.empty());
    EXPECT_EQ(VyMessageQueue::Current()->GetTimerCount(), 0u);
    m_pMain->ReleaseCapture(m_pSink);
    Release(INSIDE);

    // A held toggle that is on goes back to on, without a command.
    pToggle->SetState(VyButtonState::DOWN);
    Dispatch();
    m_pSink->m_states.clear();
    Press({150, 30});
    EXPECT_EQ(pToggle->GetState(), VyButtonState::ON_PRESSED);
    m_pMain->SetCapture(m_pSink);
    Dispatch();
    EXPECT_EQ(pToggle->GetState(), VyButtonState::DOWN);
    EXPECT_EQ(m_pSink->m_states, (std::vector<int>{2, 1}));
    EXPECT_TRUE(m_pSink->m_commands.empty());
}

TEST_F(VyControlTest, AnAutomaticallySizedButtonFitsItsFontAndTextAndKeepsItsTop)
{
    const VyFont& font = *VyRenderContext::GetCurrent()->GetFonts()[VY_FONT_CONTROL];
    const int inset = VyGetMetric(VyMetric::BUTTON_TEXT_INSET);
    VyButton* pButton = Make<VyButton>(VyControlKind::BUTTON, {20, 100, 30, 95},
                                       VY_STYLE_VISIBLE | VY_BUTTON_AUTO_HEIGHT | VY_BUTTON_AUTO_WIDTH, "Start");
    ASSERT_NE(pButton, nullptr);
    EXPECT_EQ(pButton->GetRect().top, 100);
    EXPECT_EQ(pButton->GetHeight(), font.GetHeight() + 2 * (inset + VyGetMetric(VyMetric::THICK_FRAME_Y)) + 2);
    EXPECT_EQ(pButton->GetWidth(), font.GetTextWidth("Start") + 2 * (inset + VyGetMetric(VyMetric::THICK_FRAME_X)) + 2);
    const int height = pButton->GetHeight();
    pButton->SetText("Start a new game");
    EXPECT_EQ(pButton->GetWidth(),
              font.GetTextWidth("Start a new game") + 2 * (inset + VyGetMetric(VyMetric::THICK_FRAME_X)) + 2);
    EXPECT_EQ(pButton->GetHeight(), height);
    EXPECT_EQ(pButton->GetRect().top, 100);

    // A border of its own makes it larger by the frame on each side.
    VyButton* pBordered = Make<VyButton>(
        VyControlKind::BUTTON, {20, 60, 30, 55},
        VY_STYLE_VISIBLE | VY_STYLE_BORDER | VY_STYLE_THICKFRAME | VY_BUTTON_AUTO_HEIGHT, "Start", 202);
    EXPECT_EQ(pBordered->GetHeight(), height + 2 * VyGetMetric(VyMetric::THICK_FRAME_Y));
    EXPECT_EQ(pBordered->GetWidth(), 10); // the width was not asked to follow
}

TEST_F(VyControlTest, TheFocusedButtonShowsItsFocusRectangleAndTheHoveredOneItsFace)
{
    VyButton* pFocused = Make<VyButton>(VyControlKind::BUTTON, {20, 50, 100, 20}, VY_STYLE_VISIBLE, "Ok");
    VyButton* pHovered = Make<VyButton>(VyControlKind::BUTTON, {120, 50, 200, 20}, VY_STYLE_VISIBLE, "No", 202);
    ASSERT_TRUE(pFocused && pHovered);
    constexpr uint32_t FACE = 0x808080;
    constexpr uint32_t FOCUS_FACE = 0x80A080;
    constexpr uint32_t HOVER_FACE = 0xA08080;
    for (VyButton* pButton : {pFocused, pHovered})
    {
        pButton->SetColor(VyControlColor::FACE, VyColor(FACE));
        pButton->SetColor(VyControlColor::FACE_FOCUS, VyColor(FOCUS_FACE));
        pButton->SetColor(VyControlColor::FACE_MOUSE_OVER, VyColor(HOVER_FACE));
    }
    m_pMain->SetFocus(pFocused);
    m_pMain->OnMouseMove({190, 25}, 0);
    Frame();
    // Four pixels in from the edge, two inside the face frame: x 24 on the left, y 45 at the top (the
    // row below the top one, 44, is clear of the text).
    EXPECT_EQ(Pixel(24, 44), SlotColor(FOCUS_RECT));
    EXPECT_EQ(Pixel(60, 45), SlotColor(FOCUS_RECT));
    EXPECT_EQ(Pixel(23, 44), FOCUS_FACE);
    EXPECT_EQ(Pixel(25, 44), FOCUS_FACE);
    EXPECT_EQ(Pixel(124, 44), HOVER_FACE); // no focus rectangle
    // Moved away, the hovered one shows its plain face; moved onto the focused one, the hover wins.
    m_pMain->OnMouseMove({60, 25}, 0);
    Frame();
    EXPECT_EQ(Pixel(124, 44), FACE);
    EXPECT_EQ(Pixel(23, 44), HOVER_FACE);
    EXPECT_EQ(Pixel(24, 44), SlotColor(FOCUS_RECT));
}
