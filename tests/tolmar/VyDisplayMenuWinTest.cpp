#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "VyDisplayMenu.h"
#include "VyGameWnd.h"
#include "VyPiece.h"
#include "VyTolmarMainWnd.h"
#include "VyTolmarStartup.h"
#include "vybitmap/rgb.h"
#include "vycontrol/VyButton.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyColorScheme.h"
#include "vyplatform/VyWin.h"
#include "vyrender/VyRenderContext.h"
#include "vywindow/VyControlFactory.h"

// The Display menu of the game on the SDL platform without a screen (the offscreen driver): the
// player's clicks as real SDL events through the platform, the display created again under a game in
// progress, and the colours read back from the frame the software context drew.

namespace
{
constexpr uint32_t PLUM_MENU = 0xCAB8D0; // MENU_BACKGROUND of resources/colors/plum.color
// How many rounds of the loop a wait may take before the test counts as hung (a guard only).
constexpr int WAIT_ROUNDS = 20000;

VyPoint Centre(const VyRect& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The platform with its event pump in the test's hands.
class PumpedWin : public VyWin
{
public:
    void Pump() { PumpEvents(0); }
};

// Where a game stands: the pieces' squares, the piece in play, the status line.
struct GameSnapshot
{
    std::vector<int> locations;
    int currentPiece = -1;
    VyString status;
    bool operator==(const GameSnapshot& other) const
    {
        return locations == other.locations && currentPiece == other.currentPiece && status == other.status;
    }
};

class VyDisplayMenuWinTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // SDL's video and its OpenGL library stay loaded for the whole program: unloading them takes
        // Mesa's driver out of the process with allocations it never frees (see VyWinTest.cpp).
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
            SDL_GL_LoadLibrary(nullptr);
    }

    void SetUp() override
    {
        m_pWorkingDir = std::make_unique<VyScopedWorkingDir>(m_dir.Path());
        m_dir.Put("Tolmar.cfg", "[General]\nMovement Speed=-1\n");
        m_dir.Put("vyw.cfg", "[Screen]\nContext=DirectDraw\nResX=640\nResY=480\nFullScreen=FALSE\nScale=0\n");
        VyConfigFile::Forget("vyw.cfg");
        m_pWin = std::make_unique<PumpedWin>();
        ASSERT_TRUE(m_pWin->CreateDisplay()) << m_pWin->GetDisplayError();
        ASSERT_TRUE(VyTolmarStartup(*m_pWin));
        m_pMain = dynamic_cast<VyTolmarMainWnd*>(m_pWin->GetRootWindow());
        ASSERT_NE(m_pMain, nullptr);
        WaitFor([this] { return Game().GetRules().GetNumberOfPieces() == 16 && Game().GetPiece(15) != nullptr; });
    }

    void TearDown() override
    {
        m_pWin.reset();
        VyControlFactory::Install(nullptr);
        VyColorScheme::Global().ResetToDefaults();
        VyConfigFile::Forget("vyw.cfg");
    }

    VyGameWnd& Game() { return *m_pMain->GetGameWindow(); }
    VyMenuBar& Bar() { return *dynamic_cast<VyMenuBar*>(m_pMain->GetMenuBar()); }
    static int IndexOf(VyPopupMenu& menu, const VyString& text)
    {
        for (int i = 0; i < menu.GetItemCount(); ++i)
            if (menu.GetItem(i).GetText() == text)
                return i;
        ADD_FAILURE() << "no item " << text;
        return 0;
    }

    // Rounds of the loop (events, timers, messages, frames) until done() holds.
    void WaitFor(const std::function<bool()>& done)
    {
        for (int round = 0; round < WAIT_ROUNDS && !done(); ++round)
        {
            m_pWin->Pump();
            m_pWin->FrameStep();
            if (!done())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(done()) << "the game never got there";
    }

    // SDL mouse events at a point of the main window (y upward from its bottom row), pumped at once.
    void Push(SDL_Event event)
    {
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        m_pWin->Pump();
    }
    SDL_Event MouseEvent(Uint32 type, VyPoint point)
    {
        SDL_Event event{};
        event.type = type;
        // Window pixels: the frame's point (y upwards) blown up by the display's factor.
        const int scale = m_pWin->GetDisplayScale();
        const int x = point.x * scale;
        const int y = (m_pWin->GetClientHeight() - 1 - point.y) * scale;
        if (type == SDL_MOUSEMOTION)
        {
            event.motion.windowID = SDL_GetWindowID(m_pWin->GetWindow());
            event.motion.x = x;
            event.motion.y = y;
            return event;
        }
        event.button.windowID = SDL_GetWindowID(m_pWin->GetWindow());
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        return event;
    }
    void MoveTo(VyPoint point) { Push(MouseEvent(SDL_MOUSEMOTION, point)); }
    void ClickAt(VyPoint point)
    {
        MoveTo(point);
        Push(MouseEvent(SDL_MOUSEBUTTONDOWN, point));
        Push(MouseEvent(SDL_MOUSEBUTTONUP, point));
    }
    // Options > Display > the item, by the mouse.
    void ChooseWithTheMouse(const VyString& item)
    {
        ClickAt(Centre(Bar().GetTitle(1)->GetRootRect()));
        VyPopupMenu& options = *Bar().GetPopup(1);
        ASSERT_TRUE(options.IsOpen());
        const int entry = IndexOf(options, "Display");
        MoveTo(Centre(options.GetItemRootRect(entry)));
        VyPopupMenu& display = *options.GetItem(entry).GetSubMenu();
        ASSERT_TRUE(display.IsOpen());
        ClickAt(Centre(display.GetItemRootRect(IndexOf(display, item))));
        EXPECT_FALSE(options.IsOpen());
    }

    // A game against the computer with a piece on the board and the human to place the next.
    void StartAGame()
    {
        m_pMain->OnCommand(209); // First Turn > Player 1
        m_pMain->OnCommand(200); // Computer > Beginner
        WaitFor([this] { return Game().GetRules().IsHumanChoosing(); });
        Game().GetRules().ChoosePiece(3);
        WaitFor([this] { return Game().GetRules().IsHumanPlacing(); });
    }
    GameSnapshot Snapshot()
    {
        GameSnapshot snapshot;
        for (const auto& piece : Game().GetRules().GetPieces())
            snapshot.locations.push_back(piece.location);
        snapshot.currentPiece = Game().GetRules().GetCurrentPiece();
        snapshot.status = Game().GetRules().GetStatusLine(0);
        return snapshot;
    }
    // A frame drawn now and read back from the render context: the menu bar's face right of its titles.
    uint32_t MenuBarFace()
    {
        m_pWin->RequestFrame();
        EXPECT_TRUE(m_pWin->FrameStep());
        rgb frame;
        if (!m_pWin->GetRenderContext()->ReadFrame(frame) || frame.IsEmpty())
            return 0;
        const VyRect bar = Bar().GetRootRect();
        return frame.Image()->GetPixel(bar.right - 8, (bar.top + bar.bottom) / 2) & 0xFFFFFF;
    }
    std::string SavedSettings() const { return VyTestDir::Slurp(m_dir.File("vyw.cfg")); }
    bool Saved(const std::string& line) const { return SavedSettings().find(line + "\n") != std::string::npos; }

    VyTestDir m_dir;
    std::unique_ptr<VyScopedWorkingDir> m_pWorkingDir;
    std::unique_ptr<PumpedWin> m_pWin;
    VyTolmarMainWnd* m_pMain = nullptr;
};
} // namespace

TEST_F(VyDisplayMenuWinTest, ClicksChooseASchemeFullScreenAndAScaleUnderAGameInProgress)
{
    StartAGame();
    const GameSnapshot game = Snapshot();
    VyGameWnd* const pGame = &Game();
    EXPECT_NE(MenuBarFace(), PLUM_MENU);
    ChooseWithTheMouse("Plum");
    EXPECT_TRUE(Saved("Color Scheme=plum.color")) << SavedSettings();
    EXPECT_EQ(MenuBarFace(), PLUM_MENU); // the frame the software context drew, read back

    const Uint32 windowed = SDL_GetWindowID(m_pWin->GetWindow());
    ChooseWithTheMouse("Full Screen");
    ASSERT_TRUE(m_pWin->HasDisplay());
    EXPECT_NE(SDL_GetWindowID(m_pWin->GetWindow()), windowed); // a new window
    EXPECT_NE(SDL_GetWindowFlags(m_pWin->GetWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_TRUE(m_pWin->GetScreen().bFullScreen);
    EXPECT_TRUE(Saved("FullScreen=TRUE")) << SavedSettings();
    // The same game, still drawn in the scheme chosen before.
    EXPECT_EQ(&Game(), pGame);
    EXPECT_TRUE(Snapshot() == game);
    EXPECT_EQ(MenuBarFace(), PLUM_MENU);

    const Uint32 fullScreen = SDL_GetWindowID(m_pWin->GetWindow());
    ChooseWithTheMouse("2x");
    ASSERT_TRUE(m_pWin->HasDisplay());
    EXPECT_NE(SDL_GetWindowID(m_pWin->GetWindow()), fullScreen);
    EXPECT_EQ(m_pWin->GetScreen().scale, 2);
    EXPECT_TRUE(Saved("Scale=2")) << SavedSettings();
    ChooseWithTheMouse("Full Screen");
    EXPECT_FALSE(m_pWin->GetScreen().bFullScreen);
    EXPECT_EQ(SDL_GetWindowFlags(m_pWin->GetWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_TRUE(Saved("FullScreen=FALSE"));
    // Back in a window, the chosen factor shows: twice the frame on each axis.
    EXPECT_EQ(m_pWin->GetDisplayScale(), 2);
    int width = 0, height = 0;
    SDL_GetWindowSize(m_pWin->GetWindow(), &width, &height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 960);

    // The game goes on where it was: the human places the piece given.
    EXPECT_TRUE(Snapshot() == game);
    Game().GetRules().PlacePiece(0);
    WaitFor([this] { return Game().GetRules().GetSquares()[0].piece >= 0; });
    EXPECT_EQ(MenuBarFace(), PLUM_MENU);
}
