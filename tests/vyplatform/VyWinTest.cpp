#include <gtest/gtest.h>

#include <SDL.h>

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
#include "vythread/VyMessageQueue.h"
#include "vythread/VyThread.h"

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

// The main window as a recorder of what the platform hands it. Keys also post a message, to see that
// the platform dispatches after input.
class RecordingWindow : public VyRootWindow, public VyMessageTarget
{
public:
    void OnKey(int key, int flags) override
    {
        Note(VyString::Format("key %d 0x%x", key, flags));
        VyMessageTarget::Post({this, 1001, key, 0});
    }
    void OnChar(int character, int flags) override { Note(VyString::Format("char %d 0x%x", character, flags)); }
    void OnMouseButton(VyPoint p, int flags) override { Note(VyString::Format("button %d,%d 0x%x", p.x, p.y, flags)); }
    void OnMouseMove(VyPoint p, int flags) override { Note(VyString::Format("move %d,%d 0x%x", p.x, p.y, flags)); }
    void OnMouseWheel(VyPoint p, int steps) override { Note(VyString::Format("wheel %d,%d %d", p.x, p.y, steps)); }
    void OnMouseEntered() override { Note("enter"); }
    void OnMouseLeft() override { Note("leave"); }
    void OnActivate(bool bActive) override { Note(bActive ? "active" : "inactive"); }
    void Resize(int width, int height) override { Note(VyString::Format("resize %dx%d", width, height)); }
    void Draw() override { ++m_nDraws; }
    void ReleaseTextures() override { Note("release textures"); }
    void Close() override { Note("close"); }
    void HandleMessage(const VyMessage& msg) override { m_dispatched.push_back(msg.param1); }

    void Note(const VyString& text) { m_events.push_back(text); }

    VyMessageQueue m_queue; // a main window owns the queue

    std::vector<VyString> m_events;
    std::vector<int> m_dispatched;
    int m_nDraws = 0;
};

// The platform as the tests drive it: events pumped on request, questions answered by the test.
class TestWin : public VyWin
{
public:
    void Pump() { PumpEvents(0); }
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
};

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
    // The framework dispatched what the key handler posted before the next event came.
    EXPECT_EQ(window.m_dispatched, (std::vector<int>{256, 268, 260, 266, 265}));

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

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = SDL_GetWindowID(m_pWin->GetWindow());
    wheel.wheel.y = 2;
    wheel.wheel.mouseX = 50;
    wheel.wheel.mouseY = 400;
    EXPECT_EQ(Deliver(window, wheel), Events{"wheel 50,79 2"});
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    EXPECT_EQ(Deliver(window, wheel), Events{"wheel 50,79 -2"});
    wheel.wheel.y = 0; // sideways only
    wheel.wheel.x = 1;
    EXPECT_EQ(Deliver(window, wheel), Events{});
}

TEST_F(VyWinTest, WindowEventsResizeActivateAndQuit)
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

    EXPECT_FALSE(m_pWin->IsQuitRequested());
    Deliver(window, Window(SDL_WINDOWEVENT_CLOSE));
    EXPECT_TRUE(m_pWin->IsQuitRequested());
}

TEST_F(VyWinTest, ChangingTheDisplayModeMakesANewContextAndTellsTheMainWindow)
{
    RecordingWindow& window = Start("Native");
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

TEST_F(VyWinTest, OpenGLFramesAreDrawnAndWaitPumpingKeepsThemComing)
{
    RecordingWindow& window = Start("OpenGL");
    EXPECT_NE(VyRenderContext::GetCurrent()->GetRendererName().find("OpenGL ("), VyString::npos);
    EXPECT_TRUE(m_pWin->FrameStep());
    EXPECT_EQ(window.m_nDraws, 1);
    EXPECT_EQ(m_pWin->GetFramesRendered(), 1);

    // The platform's event pump serves a main-thread wait for a worker: frames go on meanwhile.
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
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
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
