#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/VyDisplayTool.h"
#include "e2e/VyProcess.h"
#include "e2e/VyScreenshotFile.h"
#include "e2e/VyXvfb.h"
#include "vybitmap/VyRGBIO.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"

// A whole game as a player plays it: the built program on an Xvfb screen of 1920 x 1080, driven by
// xdotool clicks against the computer at its strongest, saved through the file dialog and loaded again
// by a second start from the command line. Skipped where Xvfb or xdotool are not installed.
//
// Time limits below only guard against a hang; nothing measures time.

namespace
{
constexpr int LIMIT_MS = 60000;
constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// Game coordinates (y up from the window's bottom row) to the window's (y down).
int ScreenY(int gameY)
{
    return HEIGHT - 1 - gameY;
}

// The classic set's places: the pieces' start corners (their anchors are 25, 15 above) and the
// squares' centres, as resources/sets/classic/classic.cfg gives them.
const int PIECE_STARTS[16][2] = {{582, 10},  {552, 10},  {522, 10},  {492, 10},  {582, 130}, {552, 130},
                                 {522, 130}, {492, 130}, {582, 250}, {552, 250}, {522, 250}, {492, 250},
                                 {582, 370}, {552, 370}, {522, 370}, {492, 370}};

std::vector<std::pair<int, int>> SquareCentres(const std::string& setFile)
{
    std::vector<std::pair<int, int>> centres;
    std::ifstream in(setFile);
    std::string line;
    bool bSquare = false;
    while (std::getline(in, line))
    {
        if (line.rfind("[", 0) == 0)
            bSquare = line.rfind("[Square", 0) == 0;
        else if (bSquare && line.rfind("Center=", 0) == 0 && line.find(',') != std::string::npos)
            centres.emplace_back(std::atoi(line.c_str() + 7), std::atoi(line.c_str() + line.find(',') + 1));
    }
    return centres;
}

class VyGamePlayTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!VyProcess::IsInstalled("Xvfb") || !VyProcess::IsInstalled("xdotool"))
            GTEST_SKIP() << "Xvfb and xdotool are needed";
        m_game = m_dir.Path() / "the game";
        std::filesystem::create_directories(m_game);
        std::filesystem::create_directories(m_dir.Path() / "elsewhere");
        std::filesystem::copy_file(TOLMAR_EXE, m_game / "tolmar");
        // At scale 1: the clicks below are at the game's own pixels (1920 x 1080 would choose 2).
        std::ofstream(m_game / "vyw.cfg") << "[Screen]\nContext=DirectDraw\nResX=640\nResY=480\nScale=1\n";
        std::ofstream(m_game / "Tolmar.cfg") << "[General]\nMovement Speed=-1\n";
        ASSERT_TRUE(m_xvfb.Start(m_dir.File("xvfb.txt"), "1920x1080")) << VyTestDir::Slurp(m_dir.File("xvfb.txt"));
    }

    std::map<std::string, std::string> Environment() const
    {
        return {{"SDL_VIDEODRIVER", "x11"}, {"DISPLAY", m_xvfb.Display()}, {"VYW_TRACE", "1"},
                {"ASAN_OPTIONS", "detect_leaks=0"}};
    }
    VyDisplayTool Tools() const { return {m_xvfb.Display(), m_dir.File("tool.txt"), LIMIT_MS}; }
    // Starts the game in a folder with arguments and finds its window.
    bool Start(const std::vector<std::string>& arguments, const std::filesystem::path& folder)
    {
        std::vector<std::string> argv{(m_game / "tolmar").string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        // The trace is appended to: this start's line is one more than the last start left.
        const size_t drawn = VyCountOf(VyTestDir::Slurp(m_dir.File("out.txt")), VY_SET_DRAWN) + 1;
        if (!m_tolmar.Start(argv, Environment(), m_dir.File("out.txt"), -1, {}, folder.string()))
            return false;
        m_window = Tools().FindWindow({"--name", "^Tolmar$"});
        Tools().Run({"xdotool", "windowfocus", "--sync", m_window});
        return !m_window.empty() && VyWaitForText(m_dir.File("out.txt"), VY_SET_DRAWN, LIMIT_MS, drawn);
    }
    void ClickAt(int x, int gameY)
    {
        Tools().Run({"xdotool", "mousemove", "--window", m_window, std::to_string(x), std::to_string(ScreenY(gameY)), "click",
              "1"});
    }
    void Keys(const std::vector<std::string>& keys) { Tools().Keys(m_window, keys); }
    // Control+P, then the screenshot once it decodes; null when none came.
    std::unique_ptr<VyRGBFormat> Screenshot()
    {
        const std::filesystem::path path = m_game / "screenshot.jpg";
        std::filesystem::remove(path);
        Keys({"ctrl+p"});
        return VyAwaitScreenshot(path, LIMIT_MS);
    }
    // Whether the end-of-game question stands at its place, 220 pixels from the right and 20 below the
    // game window's top: it covers the strip above the board and left of the pieces, which shows the
    // background colour at the start.
    static bool ShowsQuestion(const VyRGBFormat& shot, const VyRGBFormat& start)
    {
        int samples = 0;
        int differing = 0;
        for (int y = 405; y < 430; y += 5)
            for (int x = 425; x < 488; x += 4)
            {
                ++samples;
                differing += Difference(shot.GetPixel(x, y), start.GetPixel(x, y)) > 40;
            }
        return differing * 2 > samples;
    }
    static int Difference(uint32_t a, uint32_t b)
    {
        int worst = 0;
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
        return worst;
    }
    // The share of the board's samples (left of where the question stands) whose colours agree.
    static double BoardAgreement(const VyRGBFormat& a, const VyRGBFormat& b)
    {
        int samples = 0;
        int close = 0;
        for (int y = 2; y < 400; y += 6)
            for (int x = 2; x < 410; x += 6)
            {
                ++samples;
                close += Difference(a.GetPixel(x, y), b.GetPixel(x, y)) <= 40;
            }
        return static_cast<double>(close) / samples;
    }
    // One sweep: a click on every piece's start (the first chooses, when it is the player's turn), then
    // on every square's centre (the first free one takes the piece the computer chose).
    void Sweep(const std::vector<std::pair<int, int>>& squares)
    {
        for (const auto& start : PIECE_STARTS)
            ClickAt(start[0] + 25, start[1] + 30);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        for (const auto& centre : squares)
            ClickAt(centre.first, centre.second);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }

    VyTestDir m_dir;
    std::filesystem::path m_game;
    VyXvfb m_xvfb;
    VyProcess m_tolmar;
    std::string m_window;
};
} // namespace

TEST_F(VyGamePlayTest, AGameAgainstTheComputerIsPlayedSavedAndLoadedAgainFromTheCommandLine)
{
    const std::vector<std::pair<int, int>> squares = SquareCentres(TOLMAR_CLASSIC_SET);
    ASSERT_EQ(squares.size(), 16u);
    ASSERT_TRUE(Start({"--computer", "5"}, m_game)) << VyTestDir::Slurp(m_dir.File("out.txt"));
    std::unique_ptr<VyRGBFormat> pEmpty = Screenshot();
    ASSERT_TRUE(pEmpty);

    std::unique_ptr<VyRGBFormat> pEnd;
    for (int sweep = 0; sweep < 20 && !(pEnd && ShowsQuestion(*pEnd, *pEmpty)); ++sweep)
    {
        Sweep(squares);
        pEnd = Screenshot();
    }
    ASSERT_TRUE(pEnd && ShowsQuestion(*pEnd, *pEmpty)) << "no end-of-game question\n" << VyTestDir::Slurp(m_dir.File("out.txt"));
    EXPECT_LT(BoardAgreement(*pEnd, *pEmpty), 0.97) << "pieces stand on the board";

    // Game > Save: F10 opens Game on Human; Down walks Computer, Network, Load, Save.
    Keys({"F10", "Down", "Down", "Down", "Down", "Return"});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Keys({"Return"}); // the file dialog's Save, on the offered "tolmar.sav"
    const std::filesystem::path saved = m_game / "tolmar.sav";
    for (int tries = 0; tries < LIMIT_MS / 10 && !std::filesystem::exists(saved); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(std::filesystem::exists(saved)) << VyTestDir::Slurp(m_dir.File("out.txt"));
    EXPECT_EQ(m_tolmar.Terminate(LIMIT_MS), 0);

    // Started again from another folder with the file named relative to that folder.
    ASSERT_TRUE(Start({"../the game/tolmar.sav"}, m_dir.Path() / "elsewhere")) << VyTestDir::Slurp(m_dir.File("out.txt"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    std::unique_ptr<VyRGBFormat> pLoaded = Screenshot();
    ASSERT_TRUE(pLoaded);
    EXPECT_GT(BoardAgreement(*pLoaded, *pEnd), 0.97) << "the position came back";
    EXPECT_EQ(m_tolmar.Terminate(LIMIT_MS), 0);
}
