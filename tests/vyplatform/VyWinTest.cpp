#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "vyio/VyConfigFile.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyInput.h"
#include "vyplatform/VyWin.h"
#include "vyrender/VyRenderContext.h"
#include "vythread/VyException.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyThread.h"
#include "vythread/VyTraceCapture.h"

// The SDL platform without a screen: SDL's offscreen driver gives a real window surface and a real
// OpenGL context (Mesa's software renderer). The program's tests run in a temporary working directory
// (see VyPlatformTest.cpp), whose vyw.cfg each test sets up before it makes the platform.

namespace
{
// Writes the [Screen] keys the next platform reads.
void SetScreen(const VyString& context, bool bFullScreen = false, int width = 640, int height = 480)
{
    VyConfigFile config("vyw.cfg");
    config.SetString("Screen", "Context", context);
    config.SetString("Screen", "FullScreen", bFullScreen ? "TRUE" : "FALSE");
    config.SetString("Screen", "ResX", VyString::Format("%d", width));
    config.SetString("Screen", "ResY", VyString::Format("%d", height));
    config.Save();
}

// Writes the [Screen] Scale the next display reads (0: automatic).
void SetScale(int scale)
{
    VyConfigFile config("vyw.cfg");
    config.SetString("Screen", "Scale", VyString::Format("%d", scale));
    config.Save();
}

// The SDL window's size.
VySize WindowSize(SDL_Window* pWindow)
{
    VySize size;
    SDL_GetWindowSize(pWindow, &size.cx, &size.cy);
    return size;
}

// How the recording main window answers an error that ends the program.
enum class FatalErrorAnswer
{
    SHOWN,
    NOT_SHOWN,
    THROWS,
};

// The main window as a recorder of what the platform hands it. Keys also post a message, to see that
// the platform dispatches after input.
class RecordingWindow : public VyRootWindow, public VyMessageTarget
{
public:
    void OnKey(int key, int flags) override
    {
        Note(VyString::Format("key %d 0x%x", key, flags));
        VyMessageTarget::Post({this, 1001, key, 0});
        if (key == m_quitKey)
            VyPlatform::Get()->Quit();
    }
    void OnChar(int character, int flags) override { Note(VyString::Format("char %d 0x%x", character, flags)); }
    void OnMouseButton(VyPoint p, int flags) override { Note(VyString::Format("button %d,%d 0x%x", p.x, p.y, flags)); }
    void OnMouseMove(VyPoint p, int flags) override { Note(VyString::Format("move %d,%d 0x%x", p.x, p.y, flags)); }
    void OnMouseWheel(VyPoint p, int steps) override { Note(VyString::Format("wheel %d,%d %d", p.x, p.y, steps)); }
    void OnMouseEntered() override { Note("enter"); }
    void OnMouseLeft() override { Note("leave"); }
    void OnActivate(bool bActive) override { Note(bActive ? "active" : "inactive"); }
    void OnCloseRequest() override
    {
        Note("close request");
        if (m_bQuitOnClose)
            VyRootWindow::OnCloseRequest();
    }
    void Resize(int width, int height) override { Note(VyString::Format("resize %dx%d", width, height)); }
    void Draw() override
    {
        ++m_nDraws;
        if (m_bQuitAtDraw)
        {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    }
    void ReleaseTextures() override { Note("release textures"); }
    void Close() override { Note("close"); }
    bool ShowFatalError(const VyString& caption, const VyString& text) override
    {
        Note("fatal " + caption + ": " + text);
        if (m_fatalErrorAnswer == FatalErrorAnswer::THROWS)
            throw VyException("RecordingWindow", "ShowFatalError", "no box");
        return m_fatalErrorAnswer == FatalErrorAnswer::SHOWN;
    }
    void HandleMessage(const VyMessage& msg) override { m_dispatched.push_back(msg.param1); }

    void Note(const VyString& text) { m_events.push_back(text); }

    VyMessageQueue m_queue; // a main window owns the queue

    std::vector<VyString> m_events;
    std::vector<int> m_dispatched;
    int m_nDraws = 0;
    int m_quitKey = 0;
    bool m_bQuitOnClose = false;
    bool m_bQuitAtDraw = false; // as SIGTERM would, through SDL's queue
    FatalErrorAnswer m_fatalErrorAnswer = FatalErrorAnswer::NOT_SHOWN;
};

// The platform as the tests drive it: events pumped on request, questions answered by the test.
class TestWin : public VyWin
{
public:
    void Pump() { PumpEvents(0); }
    // Every wait of the loop, in order.
    void PumpEvents(unsigned int maxWaitMs) override
    {
        m_waits.push_back(maxWaitMs);
        VyWin::PumpEvents(maxWaitMs);
    }
    void SetMouseCapture(VyMouseCapture capture) override
    {
        m_captures.push_back(capture);
        VyWin::SetMouseCapture(capture);
    }
    // SDL's offscreen display takes any mode: the test says whether this one is refused.
    bool SwitchToFullScreen() override { return !m_bRefuseFullScreen && VyWin::SwitchToFullScreen(); }
    VyFullScreenFallback AskFullScreenFallback() override
    {
        ++m_nQuestions;
        return m_answer;
    }
    void ShowError(const VyString& caption, const VyString& text) override { m_errors.push_back(caption + ": " + text); }

    bool m_bRefuseFullScreen = false;
    VyFullScreenFallback m_answer = VyFullScreenFallback::WINDOWED;
    int m_nQuestions = 0;
    std::vector<VyString> m_errors;
    std::vector<unsigned int> m_waits;
    std::vector<VyMouseCapture> m_captures;
};

// The user events (the loop's wake-ups) waiting in SDL's queue.
int PendingWakeUps()
{
    SDL_Event events[8];
    return SDL_PeepEvents(events, 8, SDL_PEEKEVENT, SDL_USEREVENT, SDL_USEREVENT);
}

// SDL's video and OpenGL library stay loaded for the whole program, beyond each platform's own start and
// stop: unloading them takes Mesa's driver out of the process with allocations it never frees, which
// the leak checker of the sanitizer build would then report as ours.
class KeepVideoLoaded : public testing::Environment
{
public:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1); // Mesa's software OpenGL even where a graphics card exists
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
            SDL_GL_LoadLibrary(nullptr);
    }
};
auto* const g_keepVideo = testing::AddGlobalTestEnvironment(new KeepVideoLoaded);

class VyWinTest : public testing::Test
{
protected:

    // A platform with a display of the context and the recorder as its main window.
    RecordingWindow& Start(const VyString& context)
    {
        SetScreen(context);
        m_pWin = std::make_unique<TestWin>();
        EXPECT_TRUE(m_pWin->CreateDisplay()) << m_pWin->GetDisplayError();
        auto pWindow = std::make_unique<RecordingWindow>();
        RecordingWindow& window = *pWindow;
        m_pWin->SetRootWindow(std::move(pWindow));
        m_pWin->Pump(); // what SDL says about the new window itself
        window.m_events.clear();
        return window;
    }

    // Pushes an event for the window through SDL's queue and lets the platform pump it.
    std::vector<VyString> Deliver(RecordingWindow& window, SDL_Event event)
    {
        window.m_events.clear();
        EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        m_pWin->Pump();
        return window.m_events;
    }

    SDL_Event Key(SDL_Keycode key, Uint16 modifiers)
    {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = SDL_GetWindowID(m_pWin->GetWindow());
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = key;
        event.key.keysym.mod = modifiers;
        return event;
    }

    SDL_Event Text(const char* text)
    {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = SDL_GetWindowID(m_pWin->GetWindow());
        std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
        return event;
    }

    SDL_Event Button(Uint32 type, Uint8 button, int x, int y)
    {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(m_pWin->GetWindow());
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        return event;
    }

    SDL_Event Motion(int x, int y, Uint32 buttons)
    {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(m_pWin->GetWindow());
        event.motion.x = x;
        event.motion.y = y;
        event.motion.state = buttons;
        return event;
    }

    SDL_Event Wheel(int x, int y, int steps)
    {
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.windowID = SDL_GetWindowID(m_pWin->GetWindow());
        event.wheel.y = steps;
        event.wheel.mouseX = x;
        event.wheel.mouseY = y;
        return event;
    }

    SDL_Event Window(Uint8 what, int data1 = 0, int data2 = 0)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(m_pWin->GetWindow());
        event.window.event = what;
        event.window.data1 = data1;
        event.window.data2 = data2;
        return event;
    }

    void TearDown() override
    {
        SDL_SetModState(KMOD_NONE);
        m_pWin.reset();
        SetScreen("");
        SetScale(0);
    }

    std::unique_ptr<TestWin> m_pWin;
};

using Events = std::vector<VyString>;
} // namespace

TEST_F(VyWinTest, KeysBecomeFrameworkKeysAndControlLettersCharacters)
{
    RecordingWindow& window = Start("Native");
    EXPECT_EQ(Deliver(window, Key(SDLK_LEFT, KMOD_NONE)), Events{"key 256 0x100"});
    EXPECT_EQ(Deliver(window, Key(SDLK_DELETE, KMOD_LCTRL | KMOD_RSHIFT)), Events{"key 268 0x130"});
    EXPECT_EQ(Deliver(window, Key(SDLK_KP_ENTER, KMOD_NONE)), Events{"key 260 0x100"});
    EXPECT_EQ(Deliver(window, Key(SDLK_TAB, KMOD_LSHIFT)), Events{"key 266 0x120"});
    EXPECT_EQ(Deliver(window, Key(SDLK_PAGEDOWN, KMOD_NONE)), Events{"key 265 0x100"});
    EXPECT_EQ(Deliver(window, Key(SDLK_F10, KMOD_LSHIFT)), Events{"key 269 0x120"});
    // The framework dispatched what the key handler posted before the next event came.
    EXPECT_EQ(window.m_dispatched, (std::vector<int>{256, 268, 260, 266, 265, 269}));

    // Control + a letter: the letter in lower case with the Control flag (Control+P is the screenshot).
    EXPECT_EQ(Deliver(window, Key(SDLK_p, KMOD_RCTRL)), Events{"char 112 0x110"});
    EXPECT_EQ(Deliver(window, Key(SDLK_a, KMOD_LCTRL | KMOD_LSHIFT)), Events{"char 97 0x130"});
    // Not passed on: plain letters (they come as text), other keys, and Control+Alt (AltGr) letters.
    EXPECT_EQ(Deliver(window, Key(SDLK_a, KMOD_NONE)), Events{});
    EXPECT_EQ(Deliver(window, Key(SDLK_F1, KMOD_LCTRL)), Events{});
    EXPECT_EQ(Deliver(window, Key(SDLK_q, KMOD_LCTRL | KMOD_RALT)), Events{});
}

TEST_F(VyWinTest, TextBecomesCharactersOfThirtyTwoToOneHundredTwentySeven)
{
    RecordingWindow& window = Start("Native");
    EXPECT_EQ(Deliver(window, Text("aZ~ ")), (Events{"char 97 0x100", "char 90 0x100", "char 126 0x100", "char 32 0x100"}));
    EXPECT_EQ(Deliver(window, Text("\xC3\xA9")), Events{}); // beyond ASCII
    SDL_SetModState(KMOD_LSHIFT);
    EXPECT_EQ(Deliver(window, Text("A")), Events{"char 65 0x120"});
    // While Control alone is down, letters arrive as keys only.
    SDL_SetModState(KMOD_LCTRL);
    EXPECT_EQ(Deliver(window, Text("p")), Events{});
}

TEST_F(VyWinTest, MouseButtonsMovesAndWheelWithYTurnedUpward)
{
    RecordingWindow& window = Start("Native");
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20)), Events{"button 10,459 0x201"});
    SDL_SetModState(KMOD_LCTRL);
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 639, 479)), Events{"button 639,0 0x93"});
    SDL_SetModState(KMOD_RSHIFT);
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, 0)), Events{"button 0,479 0x222"});
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 5, 5)), Events{});

    // The first move inside tells of the mouse coming in; the button field says which are held.
    EXPECT_EQ(Deliver(window, Motion(100, 479, 0)), (Events{"enter", "move 100,0 0x0"}));
    EXPECT_EQ(Deliver(window, Motion(100, 100, SDL_BUTTON_LMASK)), Events{"move 100,379 0x1"});
    EXPECT_EQ(Deliver(window, Motion(100, 100, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK)), Events{"move 100,379 0x3"});
    EXPECT_EQ(Deliver(window, Motion(100, 100, SDL_BUTTON_MMASK)), Events{"move 100,379 0x2"});
    EXPECT_EQ(Deliver(window, Motion(100, 100, SDL_BUTTON_LMASK | SDL_BUTTON_MMASK)), Events{"move 100,379 0x3"});
    // Outside (a held button keeps the mouse): it left, once.
    EXPECT_EQ(Deliver(window, Motion(640, 100, SDL_BUTTON_LMASK)), Events{"leave"});
    EXPECT_EQ(Deliver(window, Motion(-3, 100, SDL_BUTTON_LMASK)), Events{});
    EXPECT_EQ(Deliver(window, Motion(3, 3, 0)), (Events{"enter", "move 3,476 0x0"}));
    EXPECT_EQ(Deliver(window, Window(SDL_WINDOWEVENT_LEAVE)), Events{"leave"});

    SDL_Event wheel = Wheel(50, 400, 2);
    EXPECT_EQ(Deliver(window, wheel), Events{"wheel 50,79 2"});
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    EXPECT_EQ(Deliver(window, wheel), Events{"wheel 50,79 -2"});
    wheel.wheel.y = 0; // sideways only
    wheel.wheel.x = 1;
    EXPECT_EQ(Deliver(window, wheel), Events{});
}

TEST_F(VyWinTest, AHeldButtonHoldsTheMouseAndItsReleaseOutsideStillArrives)
{
    RecordingWindow& window = Start("Native");
    Deliver(window, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10));
    Deliver(window, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 20, 20));
    EXPECT_EQ(m_pWin->m_captures, std::vector<VyMouseCapture>{VyMouseCapture::HELD});

    // Dragged out of the window: the main window hears that the mouse left, then the releases at their
    // points outside the client area (y still turned upward).
    EXPECT_EQ(Deliver(window, Motion(5, 5, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK)), (Events{"enter", "move 5,474 0x3"}));
    EXPECT_EQ(Deliver(window, Motion(700, -20, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK)), Events{"leave"});
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 700, -20)), Events{"button 700,499 0x81"});
    EXPECT_EQ(m_pWin->m_captures.size(), 1u); // the right button still holds it
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, -5, 600)), Events{"button -5,-121 0x83"});
    EXPECT_EQ(m_pWin->m_captures, (std::vector<VyMouseCapture>{VyMouseCapture::HELD, VyMouseCapture::RELEASED}));

    // A release of a press the window never saw is passed on but lets go of nothing.
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 1)), Events{"button 1,478 0x81"});
    EXPECT_EQ(m_pWin->m_captures.size(), 2u);

    // The display going while a button is down lets go of the mouse.
    Deliver(window, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 30, 30));
    m_pWin->DestroyDisplay();
    EXPECT_EQ(m_pWin->m_captures, (std::vector<VyMouseCapture>{VyMouseCapture::HELD, VyMouseCapture::RELEASED,
                                                                VyMouseCapture::HELD, VyMouseCapture::RELEASED}));
}

TEST_F(VyWinTest, EveryInputHandedOnAndEveryWindowChangeAsksForAFrame)
{
    RecordingWindow& window = Start("Native");
    EXPECT_TRUE(m_pWin->IsFrameRequested()); // the new main window
    EXPECT_TRUE(m_pWin->FrameStep());
    struct Case
    {
        const char* what;
        SDL_Event event;
    };
    const Case asking[] = {
        {"key", Key(SDLK_LEFT, KMOD_NONE)},
        {"character", Text("a")},
        {"press", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10)},
        {"release", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10)},
        {"entering move", Motion(5, 5, 0)},
        {"move", Motion(6, 5, 0)},
        {"leaving", Window(SDL_WINDOWEVENT_LEAVE)},
        {"back in", Motion(5, 5, 0)},
        {"move outside", Motion(-1, 5, SDL_BUTTON_LMASK)},
        {"wheel", Wheel(5, 5, 1)},
        {"resize", Window(SDL_WINDOWEVENT_SIZE_CHANGED, 700, 500)},
        {"exposed", Window(SDL_WINDOWEVENT_EXPOSED)},
        {"shown", Window(SDL_WINDOWEVENT_SHOWN)},
    };
    for (const Case& c : asking)
    {
        Deliver(window, c.event);
        EXPECT_TRUE(m_pWin->IsFrameRequested()) << c.what;
        EXPECT_TRUE(m_pWin->FrameStep()) << c.what;
    }
    // What the main window is not given changes nothing it shows.
    const Case quiet[] = {
        {"other key", Key(SDLK_F1, KMOD_NONE)},
        {"character beyond ASCII", Text("\xC3\xA9")},
        {"sideways wheel", Wheel(5, 5, 0)},
        {"move outside again", Motion(-1, 5, SDL_BUTTON_LMASK)},
        {"focus", Window(SDL_WINDOWEVENT_FOCUS_GAINED)},
    };
    for (const Case& c : quiet)
    {
        Deliver(window, c.event);
        EXPECT_FALSE(m_pWin->IsFrameRequested()) << c.what;
    }
    // Minimised and restored: a frame as soon as the window is back.
    Deliver(window, Window(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_FALSE(m_pWin->FrameStep());
    Deliver(window, Window(SDL_WINDOWEVENT_RESTORED));
    EXPECT_TRUE(m_pWin->FrameStep());
}

TEST_F(VyWinTest, ARequestFromAnotherThreadWakesTheWaitingLoopOnce)
{
    Start("Native");
    m_pWin->FrameStep();
    SDL_FlushEvent(SDL_USEREVENT);
    std::thread painter([&] {
        m_pWin->RequestFrame();
        m_pWin->RequestFrame(); // the loop is awake already
    });
    painter.join();
    EXPECT_TRUE(m_pWin->IsFrameRequested());
    EXPECT_EQ(PendingWakeUps(), 1);

    // On the main thread the loop looks at the request before it waits: no wake-up is needed.
    m_pWin->FrameStep();
    SDL_FlushEvent(SDL_USEREVENT);
    m_pWin->RequestFrame();
    EXPECT_EQ(PendingWakeUps(), 0);
}

TEST_F(VyWinTest, TheLoopDrawsWhatWasAskedForThenWaitsForAnEventOrTheNextTick)
{
    RecordingWindow& window = Start("Native");
    // A clock that stands still: the wait is exactly the time to the next tick.
    std::uint64_t us = 1'000'000;
    m_pWin->GetFrameClock().SetTimeSource({[&] { return static_cast<unsigned int>(us / 1000); }, [&] { return us; },
                                           [&](unsigned int ms) { us += ms * 1000u; }});
    window.m_bQuitAtDraw = true;
    m_pWin->m_waits.clear();
    m_pWin->Run();
    // The new window's frame at once; then a wait, which the quit ended.
    EXPECT_EQ(m_pWin->m_waits, (std::vector<unsigned int>{0, 50}));
    EXPECT_EQ(window.m_nDraws, 1);
}

TEST_F(VyWinTest, WithAFrameCountTheLoopDrawsWithoutWaiting)
{
    RecordingWindow& window = Start("Native");
    const char* argv[] = {"tolmar", "--quit-after-frames", "3"};
    m_pWin->SetCommandLine(3, argv);
    m_pWin->m_waits.clear();
    m_pWin->Run();
    EXPECT_EQ(m_pWin->m_waits, (std::vector<unsigned int>{0, 0, 0}));
    EXPECT_EQ(window.m_nDraws, 3);
}

TEST_F(VyWinTest, AQuitEndsAModalWaitAtOnce)
{
    Start("Native");
    std::atomic<bool> never{false};
    // SIGINT and SIGTERM reach the program as SDL_QUIT.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    EXPECT_FALSE(m_pWin->WaitForFlag(never));
    EXPECT_TRUE(m_pWin->IsQuitRequested());
    m_pWin.reset();

    // A key the main window takes for a quit.
    RecordingWindow& again = Start("Native");
    again.m_quitKey = VY_KEY_ESCAPE;
    SDL_Event escape = Key(SDLK_ESCAPE, KMOD_NONE);
    ASSERT_EQ(SDL_PushEvent(&escape), 1);
    EXPECT_FALSE(m_pWin->WaitForFlag(never));
    EXPECT_EQ(again.m_events, Events{"key 261 0x100"});
}

TEST_F(VyWinTest, AnErrorThatEndsTheProgramGoesToTheMainWindowFirst)
{
    RecordingWindow& window = Start("Native");
    window.m_fatalErrorAnswer = FatalErrorAnswer::SHOWN;
    m_pWin->ReportFatalError("it broke");
    EXPECT_EQ(window.m_events, Events{"fatal Error: it broke"});
    EXPECT_TRUE(m_pWin->m_errors.empty());

    // The platform shows what the window cannot, or fails to.
    window.m_events.clear();
    window.m_fatalErrorAnswer = FatalErrorAnswer::NOT_SHOWN;
    m_pWin->ReportFatalError("again");
    window.m_fatalErrorAnswer = FatalErrorAnswer::THROWS;
    m_pWin->ReportFatalError("and again");
    EXPECT_EQ(window.m_events, (Events{"fatal Error: again", "fatal Error: and again"}));
    EXPECT_EQ(m_pWin->m_errors, (Events{"Error: again", "Error: and again"}));

    // Without a main window (start-up failed before it was made).
    m_pWin->DeleteRootWindow();
    m_pWin->ReportFatalError("early");
    EXPECT_EQ(m_pWin->m_errors.back(), "Error: early");
}

TEST_F(VyWinTest, WindowEventsResizeActivateAndClose)
{
    RecordingWindow& window = Start("Native");
    EXPECT_EQ(Deliver(window, Window(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600)), Events{"resize 800x600"});
    EXPECT_EQ(m_pWin->GetClientHeight(), 600);
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetHeight(), 600);
    EXPECT_EQ(Deliver(window, Motion(0, 599, 0)), (Events{"enter", "move 0,0 0x0"}));

    EXPECT_EQ(Deliver(window, Window(SDL_WINDOWEVENT_MINIMIZED)), Events{"inactive"});
    EXPECT_FALSE(m_pWin->IsActive());
    EXPECT_FALSE(m_pWin->FrameStep());
    EXPECT_EQ(window.m_nDraws, 0);
    EXPECT_EQ(Deliver(window, Window(SDL_WINDOWEVENT_RESTORED)), Events{"active"});
    EXPECT_TRUE(m_pWin->FrameStep());
    EXPECT_EQ(window.m_nDraws, 1);

    // Closing asks the main window, which decides; SDL itself makes no quit of the last window's close.
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE), "0");
    EXPECT_EQ(Deliver(window, Window(SDL_WINDOWEVENT_CLOSE)), Events{"close request"});
    EXPECT_FALSE(m_pWin->IsQuitRequested());
    window.m_bQuitOnClose = true; // what a main window without objections does
    EXPECT_EQ(Deliver(window, Window(SDL_WINDOWEVENT_CLOSE)), Events{"close request"});
    EXPECT_TRUE(m_pWin->IsQuitRequested());
}

TEST_F(VyWinTest, ChangingTheDisplayModeMakesANewContextAndTellsTheMainWindow)
{
    RecordingWindow& window = Start("Native");
    EXPECT_TRUE(m_pWin->FrameStep());
    window.m_nDraws = 0;
    ASSERT_TRUE(m_pWin->ChangeDisplayMode(-1, 0, VY_CONTEXT_DIRECTDRAW, 800, 600));
    // The old context's textures are dropped before it goes; the window learns its new size.
    EXPECT_EQ(window.m_events, (Events{"release textures", "resize 800x600"}));
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetRendererName(), "DirectDraw");
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetWidth(), 800);
    EXPECT_EQ(m_pWin->GetClientHeight(), 600);
    EXPECT_TRUE(m_pWin->FrameStep());
    EXPECT_EQ(window.m_nDraws, 1);
}

TEST_F(VyWinTest, WithoutContextSoftwareOpenGLWritesDirectDrawAndAsksForOneRestart)
{
    SetScreen("");
    TestWin win;
    ASSERT_TRUE(win.CreateDisplay()) << win.GetDisplayError();
    EXPECT_TRUE(win.WasContextChosenAutomatically());
    // Offscreen OpenGL is Mesa's llvmpipe: the choice is DirectDraw, after a restart.
    EXPECT_TRUE(win.IsRestartRequested());
    EXPECT_TRUE(win.IsQuitRequested());
    EXPECT_NE(VyTestDir::Slurp("vyw.cfg").find("Context=DirectDraw\n"), std::string::npos);

    // The program started again with the marker, and vyw.cfg did not keep the choice: no second restart.
    SetScreen("");
    setenv(VyWin::VY_RESTART_MARKER, "1", 1);
    TestWin again;
    EXPECT_EQ(std::getenv(VyWin::VY_RESTART_MARKER), nullptr); // not handed on to later programs
    ASSERT_TRUE(again.CreateDisplay()) << again.GetDisplayError();
    EXPECT_FALSE(again.WasContextChosenAutomatically());
    EXPECT_FALSE(again.IsRestartRequested());
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetRendererName(), "DirectDraw");
}

TEST_F(VyWinTest, FullScreenInTheModeOfTheSettings)
{
    SetScreen("Native", true, 800, 600);
    TestWin win;
    ASSERT_TRUE(win.CreateDisplay()) << win.GetDisplayError();
    EXPECT_EQ(win.m_nQuestions, 0);
    EXPECT_TRUE(win.GetScreen().bFullScreen);
    EXPECT_TRUE(SDL_GetWindowFlags(win.GetWindow()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(win.GetClientWidth(), 800);
    EXPECT_EQ(win.GetClientHeight(), 600);
}

TEST_F(VyWinTest, AnUnsupportedFullScreenModeAsksAndFollowsTheAnswer)
{
    SetScreen("Native", true, 1234, 567);
    TestWin declined;
    declined.m_bRefuseFullScreen = true;
    declined.m_answer = VyFullScreenFallback::CLOSE;
    EXPECT_FALSE(declined.CreateDisplay());
    EXPECT_EQ(declined.m_nQuestions, 1);
    EXPECT_FALSE(declined.HasDisplay());
    EXPECT_NE(declined.GetDisplayError().find("full-screen"), VyString::npos);

    TestWin accepted;
    accepted.m_bRefuseFullScreen = true;
    ASSERT_TRUE(accepted.CreateDisplay()) << accepted.GetDisplayError();
    EXPECT_EQ(accepted.m_nQuestions, 1);
    EXPECT_FALSE(accepted.GetScreen().bFullScreen);
    EXPECT_FALSE(SDL_GetWindowFlags(accepted.GetWindow()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(accepted.GetClientWidth(), 1234);
    EXPECT_EQ(accepted.GetClientHeight(), 567);
}

TEST_F(VyWinTest, ARefusedFullScreenChosenWhileRunningStaysInTheWindowWithoutAskingAndIsWrittenSo)
{
    RecordingWindow& window = Start("Native");
    m_pWin->m_bRefuseFullScreen = true;
    m_pWin->m_answer = VyFullScreenFallback::CLOSE; // would end the program, were it asked
    EXPECT_TRUE(m_pWin->ChangeWindowMode(VyWindowMode::FULL_SCREEN));
    EXPECT_EQ(m_pWin->m_nQuestions, 0);
    ASSERT_TRUE(m_pWin->HasDisplay());
    EXPECT_FALSE(m_pWin->GetScreen().bFullScreen);
    EXPECT_NE(VyTestDir::Slurp("vyw.cfg").find("FullScreen=FALSE\n"), std::string::npos);
    EXPECT_EQ(window.m_events, (Events{"release textures", "resize 640x480"}));

    m_pWin->m_bRefuseFullScreen = false;
    EXPECT_TRUE(m_pWin->ChangeWindowMode(VyWindowMode::FULL_SCREEN));
    EXPECT_TRUE(SDL_GetWindowFlags(m_pWin->GetWindow()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_NE(VyTestDir::Slurp("vyw.cfg").find("FullScreen=TRUE\n"), std::string::npos);
    // A scale is written and the display made again with it; one the settings cannot hold is refused.
    EXPECT_TRUE(m_pWin->ChangeScale(3));
    EXPECT_EQ(m_pWin->GetScreen().scale, 3);
    EXPECT_NE(VyTestDir::Slurp("vyw.cfg").find("Scale=3\n"), std::string::npos);
    EXPECT_FALSE(m_pWin->ChangeScale(VyScreenSettings::VY_MAX_SCALE + 1));
    EXPECT_FALSE(m_pWin->ChangeScale(-1));
    EXPECT_EQ(m_pWin->GetScreen().scale, 3);
    EXPECT_TRUE(m_pWin->ChangeScale(VyScreenSettings::VY_AUTOMATIC_SCALE)); // the settings file outlives the test
    EXPECT_TRUE(m_pWin->HasDisplay());
}

TEST_F(VyWinTest, OpenGLFramesAreDrawnAndWaitPumpingKeepsServingThem)
{
    RecordingWindow& window = Start("OpenGL");
    EXPECT_NE(VyRenderContext::GetCurrent()->GetRendererName().find("OpenGL ("), VyString::npos);
    EXPECT_TRUE(m_pWin->FrameStep());
    EXPECT_FALSE(m_pWin->FrameStep()); // nothing changed
    EXPECT_EQ(window.m_nDraws, 1);
    EXPECT_EQ(m_pWin->GetFramesRendered(), 1);

    // The platform's event pump serves a main-thread wait for a worker: frames asked for from another
    // thread are drawn meanwhile.
    VyMessageQueue queue;
    VyThread worker;
    static std::atomic<bool> release{false};
    release = false;
    ASSERT_TRUE(worker.Start(
        [](void*) -> unsigned int {
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 7;
        },
        nullptr));
    std::thread releaser([&] {
        // Let the waiting main thread draw a few frames first.
        while (m_pWin->GetFramesRendered() < 4)
        {
            m_pWin->RequestFrame();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        release = true;
    });
    EXPECT_TRUE(worker.WaitPumping(VY_INFINITE));
    releaser.join();
    EXPECT_GE(window.m_nDraws, 4);
    EXPECT_EQ(worker.GetExitCode(), 7u);
}

TEST_F(VyWinTest, HyperlinksGoToXdgOpenAsOneArgumentWithoutAShell)
{
    VyTestDir bin;
    const std::string record = bin.File("arguments.txt");
    bin.Put("xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + record + ".part\"\nmv \"" + record +
                            ".part\" \"" + record + "\"\n");
    std::filesystem::permissions(bin.File("xdg-open"), std::filesystem::perms::owner_all);
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin.Path().string() + ":" + savedPath).c_str(), 1);

    SetScreen("Native");
    TestWin win;
    const VyString link = "http://example.org/a b?x=1&y='2';$(true)";
    win.OpenHyperlink(link);
    for (int tries = 0; tries < 500 && !std::filesystem::exists(record); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(VyTestDir::Slurp(record), "1|" + link);
    EXPECT_TRUE(win.m_errors.empty());

    // Without the program: the reason is shown.
    setenv("PATH", bin.File("nothing-here").c_str(), 1);
    win.OpenHyperlink(link);
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_EQ(win.m_errors.size(), 1u);
    EXPECT_EQ(win.m_errors[0], "Error: Unable to open hyperlink:\n\nNo such file or directory");
}

TEST_F(VyWinTest, AtScaleTwoTheWindowIsTwiceTheClientAreaAndInputComesBackInClientPixels)
{
    SetScale(2);
    VyTraceCapture trace;
    RecordingWindow& window = Start("Native");
    EXPECT_EQ(WindowSize(m_pWin->GetWindow()), (VySize{1280, 960}));
    EXPECT_EQ(m_pWin->GetClientWidth(), 640);
    EXPECT_EQ(m_pWin->GetClientHeight(), 480);
    EXPECT_EQ(m_pWin->GetDisplayScale(), 2);
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetDisplayScale(), 2);
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetWidth(), 640);
    EXPECT_NE(trace.Text().find("VyWin : display 640 x 480 at scale 2, Native GDI, 32-bit\n"), std::string::npos)
        << trace.Text();
    EXPECT_TRUE(m_pWin->FrameStep()); // presented blown up into the 1280 x 960 surface

    // Window (301, 201) lies in the block of client pixel (150, 100), y turned upward: 479 - 100.
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 301, 201)), Events{"button 150,379 0x201"});
    EXPECT_EQ(Deliver(window, Motion(1279, 959, SDL_BUTTON_LMASK)), (Events{"enter", "move 639,0 0x1"}));
    EXPECT_EQ(Deliver(window, Motion(1280, 500, SDL_BUTTON_LMASK)), Events{"leave"});
    // Outside, left of and below the window: the blocks go on (-3 / 2 rounds down to -2; 970 / 2 is
    // 485, 479 - 485 = -6).
    EXPECT_EQ(Deliver(window, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -3, 970)), Events{"button -2,-6 0x81"});
    EXPECT_EQ(Deliver(window, Wheel(101, 101, 1)), Events{"wheel 50,429 1"});
    EXPECT_EQ(Deliver(window, Window(SDL_WINDOWEVENT_SIZE_CHANGED, 1600, 1201)), Events{"resize 800x600"});
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetHeight(), 600);
}

TEST_F(VyWinTest, ReCreatingTheDisplayPicksAChangedScaleUp)
{
    // SDL's offscreen desktop is 1024 x 768: 640 x 480 gets the automatic factor 1.
    RecordingWindow& window = Start("OpenGL");
    EXPECT_EQ(m_pWin->GetDisplayScale(), 1);
    EXPECT_EQ(WindowSize(m_pWin->GetWindow()), (VySize{640, 480}));

    // What a Scale item of the game's menu does: the key written, the display made again.
    SetScale(3);
    ASSERT_TRUE(m_pWin->ChangeDisplayMode(-1, 0, 0, 0, 0)) << m_pWin->GetDisplayError();
    EXPECT_EQ(m_pWin->GetScreen().scale, 3);
    EXPECT_EQ(m_pWin->GetDisplayScale(), 3);
    EXPECT_EQ(WindowSize(m_pWin->GetWindow()), (VySize{1920, 1440}));
    EXPECT_EQ(window.m_events, (Events{"release textures", "resize 640x480"}));
    EXPECT_EQ(VyRenderContext::GetCurrent()->GetDisplayScale(), 3);
    EXPECT_TRUE(m_pWin->FrameStep());

    SetScale(0);
    ASSERT_TRUE(m_pWin->ChangeDisplayMode(-1, 0, 0, 0, 0)) << m_pWin->GetDisplayError();
    EXPECT_EQ(m_pWin->GetDisplayScale(), 1);
    EXPECT_EQ(WindowSize(m_pWin->GetWindow()), (VySize{640, 480}));
}
