#pragma once

#include <atomic>

#include "vyplatform/VyBeep.h"
#include "vyplatform/VyInputTranslator.h"
#include "vyplatform/VyPlatform.h"

struct SDL_Window;
union SDL_Event;

// The application's start-up function: sets the title and the fixed-size flag, creates the main
// window and hands it to the platform (SetRootWindow). False when the application cannot start.
using VyStartupFunction = bool (*)(VyPlatform& platform);

// What the user answered to the full-screen fallback question.
enum class VyFullScreenFallback
{
    WINDOWED,
    CLOSE,
};

// Whether a full-screen mode the screen refuses is asked about or left for a window at once.
enum class VyFullScreenQuestion
{
    ASK,
    STAY_WINDOWED,
};

// The platform over SDL2: the one top-level window, the render context on it, the event loop, and the
// operating-system services (clipboard, beep, hyperlinks, restart).
//
// Input, translated for the main window by VyInputTranslator (codes and flags: vyplatform/VyInput.h):
//   key down        the fourteen framework keys, flags 0x100 | Control 0x10 | Shift 0x20;
//                   Control + a letter also gives the letter's lower-case character with the flags
//   text input      each character 32..127 with the flags (ignored while Control alone is down)
//   button          left 1, middle 2, right 3 | 0x200 pressed or 0x80 released | Control | Shift; from
//                   the first press to the last release the mouse is captured, and a release outside
//                   the window comes with its point outside the client area
//   motion          inside: (x, y, held buttons: 3 right, else 1 left, or 2 middle); the first one
//                   inside tells the main window the mouse entered (cursor 0); one outside (seen
//                   while a button holds the mouse) or the mouse leaving the window with no button
//                   held tells it the mouse left (cursor -1)
//   wheel           (x, y, steps), positive away from the user
//   close           the window's close button asks the main window (OnCloseRequest)
// Points are client pixels with y turned upward: y = client height - 1 - window y, so 0 is the bottom
// row. At a display scale above 1 window pixels are mapped back first: client x = window x / factor,
// window y likewise (rounded down, outside the window too), and a new window size is divided by it. After every key, character and mouse event a frame is asked for and the framework messages are
// dispatched. SDL_QUIT (SIGINT, SIGTERM, or the program's own) is a decided quit: closing the last
// window does not make one.
//
// The loop draws only when a frame was asked for (see VyPlatform::FrameStep); in between it waits for
// the next event or the next timer tick.
class VyWin : public VyPlatform
{
public:
    VyWin();
    ~VyWin() override; // destroys the display

    // The process's entry: makes the program's directory current, builds the platform, creates the
    // display, calls startup, runs the loop, shuts down and, when asked, starts the program again
    // with the same argv. Returns the exit code: 0 after a normal end; 1 when the display cannot be
    // created ("The display could not be created: <reason>"), start-up returns false ("The
    // application could not start."), the application quit after a failure (QuitAfterFailure), or a
    // VyException or std::exception reaches it (see ReportFatalError). Each of them is shown: before
    // the main window exists through ShowError (standard error and a native box where one can be
    // shown), afterwards in the main window.
    static int Main(int argc, char** argv, VyStartupFunction startup);
    // An error that ends the program, captioned "Error": the main window shows it when it exists and
    // can (VyRootWindow::ShowFatalError); else, or when that throws, ShowError.
    void ReportFatalError(const VyString& text);

    // Creates the window and the render context (see the class comment of VyScreenSettings for what
    // is read). The window is ResX x ResY times the display scale (VyDisplayScale: the [Screen] Scale
    // forced, or chosen for the desktop's size, or in full screen for the display mode); the trace line
    // "VyWin : display 640 x 480 at scale 2, ..." names a factor above 1. The automatic choice (no Context in vyw.cfg) creates OpenGL and classifies it:
    // software OpenGL writes Context=DirectDraw, sets the restart flag and quits; hardware writes
    // Context=OpenGL. False, with the reason in GetDisplayError, when the display cannot be made.
    bool CreateDisplay();
    // Shuts the render context down and deletes it, then destroys the window.
    void DestroyDisplay();
    const VyString& GetDisplayError() const { return m_displayError; }
    bool HasDisplay() const { return m_pWindow != nullptr; }

    // Runs the loop until the program is asked to quit: events, timer ticks, and frames when asked for
    // (every round while drawing continuously).
    void Run();
    // Handles one SDL event (see the class comment).
    void HandleEvent(const SDL_Event& event);

    // Tells software from hardware OpenGL by the GL_RENDERER text: Mesa's llvmpipe, softpipe and
    // swrast are software (VY_RENDERER_SOFTWARE), anything else hardware.
    static int ClassifyRenderer(const VyString& glRenderer);
    static constexpr int VY_RENDERER_SOFTWARE = 0;
    static constexpr int VY_RENDERER_HARDWARE = 1;

    // The environment variable set for the restart of the automatic choice; a program started with it
    // does not restart for the choice again.
    static constexpr const char* VY_RESTART_MARKER = "VYW_CONTEXT_RESTART";

    // VyPlatform
    void Beep() override;
    bool RenderFrame() override;
    VyString GetClipboardText() override;
    void SetClipboardText(const VyString& text) override;
    bool HasClipboardText() override;
    // Runs xdg-open with the link as its one argument (no shell); a failure to start it shows
    // "Unable to open hyperlink:\n\n" and the reason.
    void OpenHyperlink(const VyString& link) override;
    // Keeps the main window (and so a game in progress) over the change: a screen that refuses the
    // full-screen mode leaves a window without asking (see AskFullScreenFallback), and a display that
    // cannot be created with the new values is created again with the old ones (false then).
    bool ChangeDisplayMode(int fullScreen, int bits, int context, int width, int height) override;

    void SetSystemCursorVisible(bool bVisible) override;
    // Also shows the text in SDL's native message box, over the window when one exists; where no box
    // can be shown (no display to reach) the refusal goes to the trace and nothing else happens.
    void ShowError(const VyString& caption, const VyString& text) override;

    SDL_Window* GetWindow() const { return m_pWindow; }
    // Holds or lets go of the mouse at the system level (the input translation holds it while a button
    // is down). Drivers without a system capture (offscreen) refuse quietly: a release outside the
    // window is then lost, as without capture.
    virtual void SetMouseCapture(VyMouseCapture capture);
    // Whether the current context was chosen automatically at the last display creation.
    bool WasContextChosenAutomatically() const { return m_bAutoChoice; }

protected:
    void PumpEvents(unsigned int maxWaitMs) override;
    // Pushes an SDL user event, which SDL_WaitEventTimeout returns for.
    void WakeEventWait() override;
    void ApplyTitle() override;
    void ApplyFixedSize() override;
    // Switches the new window to full screen in the mode ResX x ResY times the display scale; false
    // when the display has no such mode or refuses it.
    virtual bool SwitchToFullScreen();
    // Asks whether to go on in a window when the full-screen mode cannot be set at start (a message
    // box; when no box can be shown, windowed). A change of the display mode never asks.
    virtual VyFullScreenFallback AskFullScreenFallback();

private:
    // SDL's native error box over pParent (null: none), which needs neither the window nor SDL's video
    // started; a refusal goes to the trace.
    static void ShowErrorBox(const VyString& caption, const VyString& text, SDL_Window* pParent);
    int RunApplication(VyStartupFunction startup);
    bool StartVideo();
    bool FailDisplay(const VyString& reason);
    int ChooseContext();
    bool CreateWindow(int context);
    bool EnterFullScreen();
    // The display scale for the settings and the desktop display mode (1 when SDL cannot tell it).
    int ResolveDisplayScale() const;
    void CreateRenderContext(int context);
    void ApplyAutomaticChoice();
    void ShowDisplay();
    bool CreateDisplayWithoutQuestion();
    void SetWindowIcon();

    SDL_Window* m_pWindow = nullptr;
    void* m_pGLContext = nullptr; // SDL_GLContext
    std::atomic<bool> m_bVideoStarted{false}; // read by wakes from other threads
    bool m_bAutoChoice = false;
    bool m_bRestartedForChoice = false; // this run was started again by the automatic choice
    bool m_bRestartForChoice = false;   // the automatic choice asks for a restart
    bool m_bDeclinedFullScreen = false;
    // Whether a refused full-screen mode is asked about (at start) or left for a window (on a change).
    VyFullScreenQuestion m_fullScreenQuestion = VyFullScreenQuestion::ASK;
    bool m_bSystemCursorVisible = true;
    VyString m_displayError;
    VyInputTranslator m_input{*this};
    VyBeep m_beep;
};
