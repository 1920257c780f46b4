#pragma once

#include "vycontrol/VyControl.h"
#include "vywindow/VyFrameWnd.h"

// Style bits of buttons.
constexpr uint32_t VY_BUTTON_STATE_MESSAGES = 0x2000;  // posts VY_MSG_BUTTON_STATE on every change
constexpr uint32_t VY_BUTTON_TOGGLE = 0x2000000;       // keeps an on state
constexpr uint32_t VY_BUTTON_REPEAT = 0x4000000;       // repeats its command while held
constexpr uint32_t VY_BUTTON_ON_PRESS = 0x8000000;     // acts on the press instead of the release
constexpr uint32_t VY_BUTTON_AUTO_HEIGHT = 0x10000000;
constexpr uint32_t VY_BUTTON_AUTO_WIDTH = 0x20000000;

// The state of a button.
enum class VyButtonState
{
    UP = 0,          // push button up; toggle off
    DOWN = 1,        // push button held down; toggle on
    ON_PRESSED = 2,  // toggle on, held
    OFF_PRESSED = 3, // toggle off, held
};

// A push or toggle button. Its command (VY_MSG_COMMAND with its identifier) and state messages
// (VY_MSG_BUTTON_STATE: identifier, new state) go to its parent.
//
//   event               push button                         toggle
//   press               DOWN, capture (ON_PRESS: command)   ON_PRESS: flips UP/DOWN, command;
//                       REPEAT: timer 1 after metric 20     else DOWN -> ON_PRESSED, UP -> OFF_PRESSED,
//                                                           capture
//   move out / back     out: releases the capture           ON_PRESSED <-> DOWN, OFF_PRESSED <-> UP
//   release             DOWN without ON_PRESS: command      OFF_PRESSED -> DOWN, ON_PRESSED -> UP,
//                                                           command; a release outside changes nothing
//   capture lost        UP                                  ON_PRESSED -> DOWN, OFF_PRESSED -> UP
//   timer 1             command while the mouse is inside, then every metric 21
//   Return              command (a toggle keeps its state); other keys go to the base filter
class VyButton : public VyFrameWnd, public VyControl
{
public:
    VyButton();

    VyButtonState GetState() const { return m_state; }
    // Sets the state (a toggle's on or off from the program); posts the state message when asked for.
    void SetState(VyButtonState state);
    bool IsToggle() const { return HasStyle(VY_BUTTON_TOGGLE); }
    // Whether the button shows pressed in: held down, or a toggle that is on.
    bool IsShownDown() const { return m_state != VyButtonState::UP; }
    // The first slots of the face's raised and sunken frames (BUTTON_UP_DARK_SHADOW and
    // BUTTON_DOWN_DARK_SHADOW unless set; scroll-bar arrows use their own).
    void SetFaceFrameSlots(int upFirstSlot, int downFirstSlot);
    bool IsControl() const override { return true; }

    void Relayout() override;
    void Resize(int width, int height) override;
    void HandleMessage(const VyMessage& msg) override;
    void OnButtonPressed(VyPoint point, int flags) override;
    void OnButtonReleased(VyPoint point, int flags) override;
    void OnMouseMoved(VyPoint point, int flags) override;
    void OnCaptureLost() override;
    bool FilterKey(int key, int flags) override;
    VyFrameWidths GetFrameWidths() const override;
    void DrawBackground(VyRenderContext& context, const VyRect& rect) override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void DrawFrame(VyRenderContext& context, const VyRect& rect) override;

    static constexpr int VY_REPEAT_TIMER = 1;

protected:
    void OnTextChanged() override;
    void OnDestroy() override;
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    void PostCommand();
    void PressPush();
    void PressToggle();
    void StopRepeat();
    bool IsInside(VyPoint clientPoint) const;
    bool HasFocus() const;
    VyColor FaceColor() const;
    // The text and shadow colours of the state it shows.
    struct TextRoles
    {
        VyControlColor text;
        VyControlColor shadow;
    };
    TextRoles GetTextRoles() const;

    VyButtonState m_state = VyButtonState::UP;
    int m_nUpFrameSlot;
    int m_nDownFrameSlot;
    bool m_bCaptured = false;
    bool m_bRepeating = false;
    bool m_bLayingOut = false;
    VyPoint m_lastMouse;
};
