#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/GameDirectory.h"
#include "e2e/VyDisplayTool.h"
#include "e2e/VyProcess.h"
#include "e2e/VyScreenshotFile.h"
#include "e2e/VyXvfb.h"
#include "vybitmap/VyRGBIO.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"

// The game at [Screen] Scale=2 on an Xvfb screen of 1920 x 1080, once with each render context: the
// window is twice the game's 640 x 480, the mouse at twice a square's place lights that square up and
// a click there places the piece on it, and Control+P still saves a 640 x 480 picture. Skipped where
// Xvfb or xdotool are not installed. Time limits only guard against a hang; nothing measures time.

namespace
{
constexpr int LIMIT_MS = 60000;
constexpr int HEIGHT = 480;
constexpr int FACTOR = 2;

// One square of the classic set: its centre and the four corners of its outline (game pixels, y up).
struct Square
{
    int points[5][2] = {}; // Center, Left, Top, Right, Bottom

    // The box around the outline, a few pixels wider than it.
    bool Holds(int x, int y) const
    {
        int left = points[0][0], right = left, bottom = points[0][1], top = bottom;
        for (const auto& p : points)
        {
            left = std::min(left, p[0]);
            right = std::max(right, p[0]);
            bottom = std::min(bottom, p[1]);
            top = std::max(top, p[1]);
        }
        return x >= left - 3 && x <= right + 3 && y >= bottom - 3 && y <= top + 3;
    }
};

std::vector<Square> ReadSquares(const std::string& setFile)
{
    std::vector<Square> squares;
    std::ifstream in(setFile);
    std::string line;
    bool bSquare = false;
    const char* const keys[5] = {"Center=", "Left=", "Top=", "Right=", "Bottom="};
    while (std::getline(in, line))
    {
        if (line.rfind("[", 0) == 0)
        {
            bSquare = line.rfind("[Square", 0) == 0;
            if (bSquare)
                squares.emplace_back();
            continue;
        }
        for (int k = 0; k < 5 && bSquare; ++k)
            if (line.rfind(keys[k], 0) == 0 && line.find(',') != std::string::npos)
            {
                squares.back().points[k][0] = std::atoi(line.c_str() + std::strlen(keys[k]));
                squares.back().points[k][1] = std::atoi(line.c_str() + line.find(',') + 1);
            }
    }
    return squares;
}

int Difference(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

// How many pixels of the square's box differ clearly between two screenshots.
int ChangedPixels(const VyRGBFormat& before, const VyRGBFormat& after, const Square& square)
{
    int changed = 0;
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x)
            changed += square.Holds(x, y) && Difference(before.GetPixel(x, y), after.GetPixel(x, y)) > 60;
    return changed;
}

class VyScaledGameTest : public testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        if (!VyProcess::IsInstalled("Xvfb") || !VyProcess::IsInstalled("xdotool"))
            GTEST_SKIP() << "Xvfb and xdotool are needed";
        m_pGame = std::make_unique<GameDirectory>(std::string("[Screen]\nContext=") + GetParam() +
                                                  "\nResX=640\nResY=480\nScale=2\n");
        std::ofstream(m_pGame->File("Tolmar.cfg")) << "[General]\nMovement Speed=-1\n";
        ASSERT_TRUE(m_xvfb.Start(m_pGame->File("xvfb.txt"), "1920x1080")) << Slurp("xvfb.txt");
    }

    std::string Slurp(const std::string& name) const { return VyTestDir::Slurp(m_pGame->File(name)); }
    VyDisplayTool Tools() const { return {m_xvfb.Display(), m_pGame->File("tool.txt"), LIMIT_MS}; }

    // Starts a game for two players at this machine and waits until its first frame shows the set.
    bool Start()
    {
        std::map<std::string, std::string> environment = OffscreenEnvironment();
        environment["SDL_VIDEODRIVER"] = "x11";
        environment["DISPLAY"] = m_xvfb.Display();
        if (!m_tolmar.Start({m_pGame->Exe(), "--human"}, environment, m_pGame->File("out.txt")))
            return false;
        m_window = Tools().FindWindow({"--name", "^Tolmar$"});
        if (m_window.empty())
            return false;
        Tools().Run({"xdotool", "windowfocus", "--sync", m_window});
        for (int waited = 0; waited < LIMIT_MS; waited += 50)
        {
            if (Slurp("out.txt").find("first frame with the set drawn") != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // The mouse to the window pixel that shows game pixel (x, y up), optionally clicking there.
    void MoveTo(int gameX, int gameY, const char* click = nullptr)
    {
        std::vector<std::string> argv{"xdotool", "mousemove", "--window", m_window, std::to_string(gameX * FACTOR),
                                      std::to_string((HEIGHT - 1 - gameY) * FACTOR)};
        if (click != nullptr)
            argv.insert(argv.end(), {"click", click});
        Tools().Run(argv);
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the next frame is drawn meanwhile
    }

    // Control+P, then the screenshot once it decodes; null when none came.
    std::unique_ptr<VyRGBFormat> Screenshot()
    {
        const std::filesystem::path path = m_pGame->File("screenshot.jpg");
        std::filesystem::remove(path);
        Tools().Keys(m_window, {"ctrl+p"});
        return VyAwaitScreenshot(path, LIMIT_MS);
    }

    std::unique_ptr<GameDirectory> m_pGame;
    VyXvfb m_xvfb;
    VyProcess m_tolmar;
    std::string m_window;
};
} // namespace

TEST_P(VyScaledGameTest, TheWindowIsTwiceTheGameAndTheMouseMeetsTheSquareItShows)
{
    const std::vector<Square> squares = ReadSquares(TOLMAR_CLASSIC_SET);
    ASSERT_EQ(squares.size(), 16u);
    ASSERT_TRUE(Start()) << Slurp("out.txt");
    EXPECT_NE(Slurp("out.txt").find("VyWin : display 640 x 480 at scale 2, "), std::string::npos) << Slurp("out.txt");
    const std::string geometry = Tools().Run({"xdotool", "getwindowgeometry", m_window});
    EXPECT_NE(geometry.find("Geometry: 1280x960"), std::string::npos) << geometry;

    // Player 1 chooses the first piece (its start 582, 10; a click 25 right and 30 above hits it); then
    // player 2 places it.
    MoveTo(582 + 25, 10 + 30, "1");
    std::unique_ptr<VyRGBFormat> pChosen = Screenshot();
    ASSERT_TRUE(pChosen) << Slurp("out.txt");
    EXPECT_EQ(pChosen->Width(), 640);
    EXPECT_EQ(pChosen->Height(), 480);

    // Over square 6 (the second row's second): it lights up, and square 16 far off does not.
    const Square& target = squares[5];
    const Square& far = squares[15];
    MoveTo(target.points[0][0], target.points[0][1]);
    std::unique_ptr<VyRGBFormat> pLit = Screenshot();
    ASSERT_TRUE(pLit) << Slurp("out.txt");
    EXPECT_GT(ChangedPixels(*pChosen, *pLit, target), 100);
    EXPECT_EQ(ChangedPixels(*pChosen, *pLit, far), 0);

    // The click there puts the piece on it: the square's inside changes beyond its outline.
    MoveTo(target.points[0][0], target.points[0][1], "1");
    std::unique_ptr<VyRGBFormat> pPlaced = Screenshot();
    ASSERT_TRUE(pPlaced) << Slurp("out.txt");
    EXPECT_EQ(pPlaced->Width(), 640);
    EXPECT_GT(ChangedPixels(*pChosen, *pPlaced, target), 2 * ChangedPixels(*pChosen, *pLit, target));
    EXPECT_EQ(m_tolmar.Terminate(LIMIT_MS), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryContext, VyScaledGameTest, testing::Values("DirectDraw", "OpenGL", "Native"));
