#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "vyio/VyArchive.h"
#include "vyio/VyResourceSource.h"
#include "vyplatform/VyFileDialogHost.h"
#include "vyplatform/VyFrameClock.h"
#include "vyplatform/VyRootWindow.h"
#include "vyplatform/VyScreenSettings.h"

class VyRenderContext;

// Number of entries of the system-metric table.
constexpr int VY_NUMBER_OF_SYS_METRICS = 24;

// The platform object: exactly one exists, created first and destroyed last. This base part holds the
// resource archive and answers resource look-ups, the settings of vyw.cfg, the titles, the
// system-metric table, the main window (VyRootWindow) and the render context, and runs the frame step.
// The window, input and display part over the operating system is VyWin, which derives from it. On its
// own the base is a platform without a display: it draws nothing, has no clipboard and its beep is
// silent.
class VyPlatform : public VyResourceSource
{
public:
    // Installs the object as the platform and as the current resource source, opens the archive, reads
    // vyw.cfg (VyScreenSettings), makes the calling thread the main thread and fills the metric table.
    VyPlatform();
    ~VyPlatform() override; // deletes the main window and the render context, uninstalls

    // The platform, or null before it is made.
    static VyPlatform* Get();

    // -- Resources ---------------------------------------------------------------------------------

    // Opens the resource archive: the bytes linked into the executable, else the file resource.vya in
    // the working directory. A damaged archive is reported to the trace and treated as absent.
    void OpenArchive();

    // The archive's entry, else the file below the working directory, else the file below
    // [Directories] Resource of vyw.cfg; throws "*VyPlatform::GetResourceFile : Could not locate
    // resource file -> File: <path>" when none exists.
    void GetResourceFile(const VyString& path, VyIO& out) override;

    VyArchive& GetArchive() { return m_archive; }

    // -- Settings, command line, titles, metrics -----------------------------------------------------

    const VyScreenSettings& GetScreen() const { return m_screen; }
    // Test option of the command line: "--quit-after-frames N" ends the program after N drawn frames.
    void SetCommandLine(int argc, const char* const* argv);
    const std::vector<VyString>& GetCommandWords() const { return m_commandWords; }
    // N of "--quit-after-frames N", or 0 when not given.
    int GetQuitAfterFrames() const { return m_nQuitAfterFrames; }

    // Set by the application when it creates its main window: the window cannot be resized (applied to
    // a window that exists already, too).
    void SetFixedSize(bool bFixed);
    bool IsFixedSize() const { return m_bFixedSize; }

    // The base title and the sub-title: the full title is "base - sub", or the base alone.
    void SetTitle(const VyString& title);
    void SetSubTitle(const VyString& subTitle);
    const VyString& GetTitle() const { return m_title; }

    // The metric at index 0..23; another index reports "sysMetric>=0 && sysMetric<NUMBER_OF_SYS_METRICS"
    // and gives 0.
    int GetSysMetric(int sysMetric) const;
    // Fills the table: 0, 1 scroll-bar sizes 16; 2 caret blink 530 ms; 14 double-click 500 ms; the
    // rest fixed values.
    void FillSysMetrics();

    // -- Program control ----------------------------------------------------------------------------

    // Ends the frame loop (and a wait for a flag on the main thread) as soon as control returns to it;
    // callable from any thread (a loop waiting for events is woken).
    virtual void Quit();
    bool IsQuitRequested() const { return m_bQuit.load(); }
    // Quits after an error that ended the program (already shown): the process ends with status 1.
    void QuitAfterFailure();
    bool HasFailed() const { return m_bFailed.load(); }
    // Sets the restart flag and quits: the program starts itself again after its shutdown.
    void Restart();
    bool IsRestartRequested() const { return m_bRestart; }
    // A short tone; the base makes none.
    virtual void Beep();
    // Waits until flag is true. On the main thread the program stays alive meanwhile (events pumped,
    // timers ticked, framework messages dispatched, frames drawn when asked for), looking at the flag
    // after each event and each timer tick, and the wait ends early, returning false, when the program
    // is asked to quit. Other threads sleep in 100 ms steps. True when the flag was seen.
    bool WaitForFlag(const std::atomic<bool>& flag);
    // Whether the calling thread is the main one: the thread that made the platform and the message
    // queue, which handles the events, draws the frames and dispatches the framework messages.
    bool IsMainThread() const;
    // Begins a frame of the render context, lets the main window draw, ends the frame, then counts the
    // frame and clears the context's counters. Nothing without a render context or a main window
    // (false); true when a frame was drawn.
    virtual bool RenderFrame();

    // The clipboard's text; the base has no clipboard.
    virtual VyString GetClipboardText();
    virtual void SetClipboardText(const VyString& text);
    virtual bool HasClipboardText();

    // The directory the file dialog starts in.
    virtual VyString GetDefaultDirectory() const;
    // Installs the file dialog (not owned; null removes it).
    void SetFileDialogHost(VyFileDialogHost* pHost) { m_pFileDialogHost = pHost; }
    // Asks the installed file dialog (see VyFileDialogHost::AskFileName); false, with a trace, when none
    // is installed.
    bool AskFileName(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath);
    // Opens a link in the user's browser; the base does nothing.
    virtual void OpenHyperlink(const VyString& link);
    // Destroys the display, stores the given values (-1 or 0 keeps a value: full screen 0/1, bits,
    // context, width, height), reads [Screen] Scale of vyw.cfg again (VyScreenSettings::ReadScale) and
    // creates the display again. False when it could not be created.
    virtual bool ChangeDisplayMode(int fullScreen, int bits, int context, int width, int height);
    // Writes [Preferences] Color Scheme=fileName (a file of the colours folder) into vyw.cfg at once and
    // loads that scheme for the current render context's blending (see VyColorScheme::LoadConfigured:
    // one that cannot be read leaves the defaults); everything drawn from the next frame, which is asked
    // for, has its colours.
    void ChangeColorScheme(const VyString& fileName);
    // Creates the display again in the mode (ChangeDisplayMode), then writes the mode in effect into
    // [Screen] FullScreen of vyw.cfg at once: a screen that refuses the full-screen mode leaves a window,
    // and FALSE. False when the display could not be created in the mode.
    bool ChangeWindowMode(VyWindowMode mode);
    // Writes [Screen] Scale=scale into vyw.cfg at once and creates the display again with it. A scale
    // other than 0 (automatic) or 1..VyScreenSettings::VY_MAX_SCALE changes nothing and gives false;
    // so does a display that could not be created.
    bool ChangeScale(int scale);
    // Network start and stop, reference counted: the first start makes writes to a closed
    // connection fail with an error instead of ending the process (SIGPIPE ignored).
    void StartSockets();
    void StopSockets();
    // The text of a system error number.
    static VyString GetErrorText(int errorCode);
    // Shows or hides the system's mouse cursor over the window (the main window hides it while it draws
    // a cursor of its own); the base has no window.
    virtual void SetSystemCursorVisible(bool bVisible);
    // Writes "caption: text" to standard error; platforms with a display also show it in a message box.
    virtual void ShowError(const VyString& caption, const VyString& text);

    // -- Main window, render context, frame step ---------------------------------------------------

    // Takes the main window (the application's start-up function hands it over); it is sized to the
    // client area at once when a render context exists, and a frame is asked for.
    void SetRootWindow(std::unique_ptr<VyRootWindow> pWindow);
    VyRootWindow* GetRootWindow() const { return m_pRootWindow.get(); }
    // Shutdown of the main window: Close, then delete.
    void DeleteRootWindow();
    // Dispatches the pending framework messages; nothing while no message queue exists.
    static void DispatchFrameworkMessages();

    VyRenderContext* GetRenderContext() const { return m_pRenderContext.get(); }
    VyFrameClock& GetFrameClock() { return m_frameClock; }

    // The client area's size (the frame the render context draws), in logical pixels.
    int GetClientWidth() const { return m_clientWidth; }
    int GetClientHeight() const { return m_clientHeight; }
    // Tells the render context and the main window the client area's new size; asks for a frame.
    void ResizeClient(int width, int height);
    // The whole factor the window shows the client area at (1 until a display resolves another): the
    // window is the client size times it, and input is mapped back by it.
    int GetDisplayScale() const { return m_nDisplayScale; }

    // Whether frames are drawn (false while minimised); tells the main window of a change, and asks for
    // a frame when the program becomes active.
    void SetActive(bool bActive);
    bool IsActive() const { return m_bActive; }

    // Asks for a frame: the next frame step draws one. Windows call it when they change how they look;
    // callable from any thread (a loop waiting for events is woken).
    void RequestFrame();
    bool IsFrameRequested() const { return m_bFrameRequested.load(); }
    // Every frame step draws, asked for or not: with the frame-rate overlay ([Preferences] FPS=TRUE),
    // which then shows the rate the machine can reach, and with --quit-after-frames, which counts frames.
    bool IsDrawingContinuously() const;

    // One step of the frame loop: the frame limit; every 50 ms one timer tick and the framework messages
    // dispatched (minimised too); then, while active and when a frame was asked for (or frames are drawn
    // continuously), the request cleared and a frame rendered. True when a frame was rendered.
    bool FrameStep();
    // Number of frames rendered since the platform was made.
    long GetFramesRendered() const { return m_nFramesRendered.load(); }

protected:
    // The archive linked into the executable (see vyw_embed_resources); false when there is none. The
    // constructor opens the archive before a derived class exists: an override takes effect through a
    // later OpenArchive().
    virtual bool GetEmbeddedArchive(const unsigned char*& data, int& length) const;
    // Handles pending operating-system events, waiting at most maxWaitMs for the first; the base has
    // none and sleeps.
    virtual void PumpEvents(unsigned int maxWaitMs);
    // Ends a PumpEvents that waits, from any thread; the base's sleep cannot be ended early.
    virtual void WakeEventWait();
    // How long the loop may wait for an event before its next frame step: 0 when a frame is to be drawn
    // or a quit was asked for, else the time until the next timer tick.
    unsigned int GetIdleWaitMs() const;
    // One round of the loop, which also keeps the program alive while the main thread waits: PumpEvents
    // waiting at most maxWaitMs and never past GetIdleWaitMs, then one FrameStep unless a quit was
    // asked for meanwhile.
    void PumpEventsAndFrameStep(unsigned int maxWaitMs);
    // Pushes the full title to the window; the base has none.
    virtual void ApplyTitle();
    // Makes an existing window fixed-size or resizable as the flag says; the base has none.
    virtual void ApplyFixedSize();

    void SetRenderContext(std::unique_ptr<VyRenderContext> pContext);
    // Prepares the new render context for a client area of width x height: the colour-scheme slot
    // resolver, the display scale, Initialize with the screen settings, the client size, then the configured colour scheme
    // loaded for the context's blending; a frame is asked for, as the new context shows nothing yet.
    void InitializeRenderContext(int width, int height);
    // Loads the configured colour scheme for the blending of the current render context (none: no
    // blending) and asks for a frame.
    void LoadColorScheme();
    void DeleteRenderContext();
    void SetClientSize(int width, int height);
    // The factor the next InitializeRenderContext hands the context (below 1 is taken as 1).
    void SetDisplayScale(int factor) { m_nDisplayScale = factor < 1 ? 1 : factor; }
    VyScreenSettings& Screen() { return m_screen; }
    // Whether the next frame step draws: active, a context and a main window, and a frame asked for or
    // frames drawn continuously.
    bool IsFrameDue() const;

    VyArchive m_archive;

private:
    std::vector<VyString> m_commandWords;
    VyScreenSettings m_screen;
    bool m_bFixedSize = false;
    VyString m_baseTitle;
    VyString m_subTitle;
    VyString m_title;
    bool m_bRestart = false;
    std::atomic<bool> m_bQuit{false};
    std::atomic<bool> m_bFailed{false};
    int m_sysMetrics[VY_NUMBER_OF_SYS_METRICS] = {};
    int m_nSocketStarts = 0;
    int m_nQuitAfterFrames = 0;

    std::unique_ptr<VyRenderContext> m_pRenderContext;
    std::unique_ptr<VyRootWindow> m_pRootWindow;
    VyFrameClock m_frameClock;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_nDisplayScale = 1;
    bool m_bActive = true;
    std::atomic<bool> m_bFrameRequested{false};
    std::atomic<long> m_nFramesRendered{0};
    VyFileDialogHost* m_pFileDialogHost = nullptr;
};
