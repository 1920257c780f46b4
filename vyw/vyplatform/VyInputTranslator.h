#pragma once

class VyWin;
union SDL_Event;

// Whether the platform holds the mouse at the system level, so that it keeps the motion and the release
// of a button pressed over its window wherever the mouse goes.
enum class VyMouseCapture
{
    RELEASED,
    HELD,
};

// SDL's input and window events in the terms of the main window (codes and flags: VyInput.h; the
// table in VyWin's class comment). After everything it hands to the main window it asks for a frame and
// dispatches the framework messages. Without a main window, input is dropped.
//
// While a button is held the mouse is captured (from the first press to the last release), so that a
// release outside the window still arrives, with its point outside the client area; moves outside tell
// the main window that the mouse left.
class VyInputTranslator
{
public:
    explicit VyInputTranslator(VyWin& win) : m_win(win) {}

    // Translates one event; events that are neither input nor about the window are left alone.
    void Handle(const SDL_Event& event);
    // The display went: the mouse is outside and no button is held (a capture is let go).
    void Reset();

private:
    void OnKeyDown(const SDL_Event& event);
    void OnTextInput(const SDL_Event& event);
    void OnMouseButton(const SDL_Event& event);
    void OnMouseMotion(const SDL_Event& event);
    void OnMouseWheel(const SDL_Event& event);
    void OnWindowEvent(const SDL_Event& event);
    void OnFocusChange(const SDL_Event& event);
    void OnClose();
    // Keep count of the held buttons: the mouse is captured from the first press to the last release.
    void HoldButton(int button);
    void ReleaseButton(int button);
    void MouseLeft();
    // After the main window was given something: it may look different, and may have posted messages.
    void Delivered();

    VyWin& m_win;
    bool m_bMouseInside = false;
    unsigned int m_heldButtons = 0; // bit 1 << framework button
};
