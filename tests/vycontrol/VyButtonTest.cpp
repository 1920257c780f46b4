#include <gtest/gtest.h>

#include "vycontrol/VyButton.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vyio/VyTestDir.h"
#include "vyutil/VyColorSlots.h"

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

    // Return (and Space) on the focused button command it.
    m_pMain->SetFocus(pButton);
    Key(VY_KEY_RETURN);
    m_pMain->OnChar(' ', VY_INPUT_KEY);
    Dispatch();
    EXPECT_EQ(m_pSink->m_commands, (std::vector<int>{201, 201, 201}));
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
