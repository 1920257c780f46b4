#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "e2e/GameDirectory.h"
#include "e2e/VyDisplayTool.h"
#include "e2e/VyProcess.h"
#include "e2e/VyScreenshotFile.h"
#include "e2e/VyXvfb.h"
#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyRGBIO.h"
#include "vyio/VyArchive.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"

// The game as a user meets it: the built program, copied into a directory of its own (it works in its
// program's directory), started with a vyw.cfg the test writes. The tests on a real X server start
// their own Xvfb and are skipped where Xvfb or xdotool are not installed.
//
// Time limits below only guard against a hang; nothing measures time.

namespace
{
constexpr int START_LIMIT_MS = 60000;

// A picture from the built resource archive.
std::unique_ptr<VyRGBFormat> ArchiveBitmap(const VyString& name)
{
    VyArchive archive;
    if (!archive.Open(VYW_TEST_ARCHIVE))
        return nullptr;
    VyMemFile file;
    if (!archive.GetFile(name, file))
        return nullptr;
    return VyBitmap::Load(file);
}

int Difference(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

// The share of the samples whose colours differ by at most `tolerance` in every channel (JPEG changes
// colours a little, most at edges).
struct Agreement
{
    int samples = 0;
    int close = 0;
    double Share() const { return samples == 0 ? 0.0 : static_cast<double>(close) / samples; }
    void Add(uint32_t a, uint32_t b, int tolerance)
    {
        ++samples;
        close += Difference(a, b) <= tolerance;
    }
};
} // namespace

TEST(VyGameProgram, WithoutAContextSoftwareOpenGLRestartsOnceIntoDirectDraw)
{
    GameDirectory game("[Screen]\nResX=640\nResY=480\n");
    VyProcess tolmar;
    ASSERT_TRUE(tolmar.Start({game.Exe(), "--quit-after-frames", "3"}, OffscreenEnvironment(), game.File("out.txt")));
    EXPECT_EQ(tolmar.Wait(START_LIMIT_MS), 0);
    const std::string output = VyTestDir::Slurp(game.File("out.txt"));
    EXPECT_NE(VyTestDir::Slurp(game.File("vyw.cfg")).find("Context=DirectDraw\n"), std::string::npos);
    // The first run chose automatically and asked for the restart; the second ran DirectDraw.
    EXPECT_EQ(VyCountOf(output, "Context=DirectDraw is written and the program starts again"), 1u) << output;
    const size_t openGL = output.find(", OpenGL (");
    const size_t directDraw = output.find(", DirectDraw, ");
    ASSERT_NE(openGL, std::string::npos) << output;
    ASSERT_NE(directDraw, std::string::npos) << output;
    EXPECT_LT(openGL, directDraw);
    EXPECT_EQ(VyCountOf(output, "VyWin : display "), 2u) << output;
}

TEST(VyGameProgram, ADisplayThatCannotBeMadeEndsWithAMessageAndCodeOne)
{
    GameDirectory game("[Screen]\nContext=Native\n");
    std::map<std::string, std::string> environment = OffscreenEnvironment();
    environment["SDL_VIDEODRIVER"] = "no-such-driver";
    VyProcess tolmar;
    ASSERT_TRUE(tolmar.Start({game.Exe()}, environment, game.File("out.txt")));
    EXPECT_EQ(tolmar.Wait(START_LIMIT_MS), 1);
    EXPECT_NE(VyTestDir::Slurp(game.File("out.txt")).find("The display could not be created: SDL could not start its video"),
              std::string::npos);
}

TEST(VyGameProgram, AnErrorReachingTheEntryIsShownAndEndsWithCodeOne)
{
    // Fonts from a directory that does not exist: the render context cannot start.
    GameDirectory game("[Screen]\nContext=Native\n[Directories]\nFonts=Nowhere\n");
    VyProcess tolmar;
    ASSERT_TRUE(tolmar.Start({game.Exe()}, OffscreenEnvironment(), game.File("out.txt")));
    EXPECT_EQ(tolmar.Wait(START_LIMIT_MS), 1);
    const std::string output = VyTestDir::Slurp(game.File("out.txt"));
    EXPECT_NE(output.find("Error: *VyWin::CreateDisplay"), std::string::npos) << output;
    EXPECT_NE(output.find("Can not create font"), std::string::npos) << output;
}

TEST(VyGameWindow, ControlPOnTheRealWindowSavesTheScene)
{
    if (!VyProcess::IsInstalled("Xvfb") || !VyProcess::IsInstalled("xdotool"))
        GTEST_SKIP() << "Xvfb and xdotool are needed";
    std::unique_ptr<VyRGBFormat> pBoard = ArchiveBitmap("sets\\classic\\board.bmp");
    std::unique_ptr<VyRGBFormat> pPiece = ArchiveBitmap("sets\\classic\\piece9.bmp");
    ASSERT_TRUE(pBoard && pPiece) << "the classic set's pictures are not in " << VYW_TEST_ARCHIVE;

    GameDirectory game("[Screen]\nContext=OpenGL\nResX=640\nResY=480\n");
    VyXvfb xvfb;
    ASSERT_TRUE(xvfb.Start(game.File("xvfb.txt"))) << VyTestDir::Slurp(game.File("xvfb.txt"));
    const VyDisplayTool tools(xvfb.Display(), game.File("tool.txt"), START_LIMIT_MS);
    std::map<std::string, std::string> environment = OffscreenEnvironment();
    environment["SDL_VIDEODRIVER"] = "x11";
    environment["DISPLAY"] = xvfb.Display();
    VyProcess tolmar;
    // A game against a second player: player 1 chooses first, so the pieces are enabled and drawn as
    // their pictures are.
    ASSERT_TRUE(tolmar.Start({game.Exe(), "--human"}, environment, game.File("out.txt")));

    const std::string window = tools.FindWindow({"--name", "^Tolmar$"});
    ASSERT_FALSE(window.empty()) << VyTestDir::Slurp(game.File("out.txt"));
    ASSERT_TRUE(VyWaitForText(game.File("out.txt"), VY_SET_DRAWN, START_LIMIT_MS)) << VyTestDir::Slurp(game.File("out.txt"));
    tools.Run({"xdotool", "windowfocus", "--sync", window});
    tools.Run({"xdotool", "key", "ctrl+p"});

    const std::unique_ptr<VyRGBFormat> pShot = VyAwaitScreenshot(game.File("screenshot.jpg"), START_LIMIT_MS);
    EXPECT_EQ(tolmar.Terminate(START_LIMIT_MS), 0);
    ASSERT_TRUE(pShot) << VyTestDir::Slurp(game.File("out.txt"));
    ASSERT_EQ(pShot->Width(), 640);
    ASSERT_EQ(pShot->Height(), 480);

    // The board picture (512 x 512) stretched over 490 x 400 at the bottom left, sampled nearest.
    Agreement board;
    for (int y = 4; y < 400; y += 9)
        for (int x = 4; x < 480; x += 11)
        {
            const int u = static_cast<int>((x + 0.5) * pBoard->Width() / 490);
            const int v = static_cast<int>((y + 0.5) * pBoard->Height() / 400);
            board.Add(pShot->GetPixel(x, y), pBoard->GetPixel(u, v), 40);
        }
    EXPECT_GT(board.Share(), 0.9) << board.close << " of " << board.samples;

    // Above the board, the colour of the board picture's pixel (0, 0).
    const uint32_t background = pBoard->GetPixel(0, 0);
    Agreement above;
    for (int x = 10; x < 630; x += 20)
        above.Add(pShot->GetPixel(x, 430), background, 16);
    EXPECT_GT(above.Share(), 0.95) << above.close << " of " << above.samples;

    // Piece 4 (piece9.bmp) at its start position (492, 10), the last of its row and so on top of the
    // others: its inner pixels, away from the blue edge.
    Agreement piece;
    auto opaque = [&](int x, int y) {
        return x > 0 && y > 0 && x < pPiece->Width() && y < pPiece->Height() && (pPiece->GetPixel(x, y) & 0xFFFFFF) != 0x0000FF;
    };
    for (int y = 3; y < pPiece->Height() - 3; y += 3)
        for (int x = 3; x < pPiece->Width() - 3; x += 3)
            if (opaque(x - 3, y) && opaque(x + 3, y) && opaque(x, y - 3) && opaque(x, y + 3))
                piece.Add(pShot->GetPixel(492 + x, 10 + y), pPiece->GetPixel(x, y), 40);
    ASSERT_GT(piece.samples, 50);
    EXPECT_GT(piece.Share(), 0.85) << piece.close << " of " << piece.samples;
}
