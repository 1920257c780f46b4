#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/GameDirectory.h"
#include "e2e/VyProcess.h"
#include "vyio/VyTestDir.h"

// The game's start as a user meets it: its command line and the errors that come before its window.
// Standard output and standard error are kept apart. Time limits only guard against a hang.

namespace
{
constexpr int LIMIT_MS = 60000;

// One run of the game to its end.
struct GameRun
{
    int status = -1;
    std::string out;
    std::string err;
};

GameRun RunGame(const GameDirectory& game, std::vector<std::string> arguments,
            const std::map<std::string, std::string>& environment = OffscreenEnvironment(),
            const std::string& startFolder = {})
{
    arguments.insert(arguments.begin(), game.Exe());
    std::filesystem::remove(game.File("out.txt"));
    std::filesystem::remove(game.File("err.txt"));
    VyProcess tolmar;
    GameRun run;
    if (!tolmar.Start(arguments, environment, game.File("out.txt"), -1, game.File("err.txt"), startFolder))
        return run;
    run.status = tolmar.Wait(LIMIT_MS);
    run.out = VyTestDir::Slurp(game.File("out.txt"));
    run.err = VyTestDir::Slurp(game.File("err.txt"));
    return run;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
} // namespace

TEST(VyGameStart, HelpAndVersionArePrintedOnStandardOutputWithStatusZero)
{
    GameDirectory game("");
    const GameRun help = RunGame(game, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tolmar [OPTION]... [FILE]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--computer LEVEL"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");

    const GameRun version = RunGame(game, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tolmar ", 0), 0u) << version.out;
    EXPECT_EQ(Count(version.out, "\n"), 1u) << version.out;
    EXPECT_EQ(version.err, "");
    // Neither started the framework, which writes its settings.
    EXPECT_FALSE(std::filesystem::exists(game.File("vyw.cfg")));
}

TEST(VyGameStart, ACommandLineThatCannotBeFollowedEndsWithStatusTwoAndTheReason)
{
    GameDirectory game("");
    const GameRun unknown = RunGame(game, {"--network"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "tolmar: unknown option '--network'\nTry 'tolmar --help'.\n");
    EXPECT_EQ(unknown.out, "");

    const GameRun level = RunGame(game, {"--computer", "9"});
    EXPECT_EQ(level.status, 2);
    EXPECT_EQ(level.err, "tolmar: '9' is not a level: give 1 to 6, or Beginner, Easy, Intermediate, Hard, "
                         "Advanced or Expert\nTry 'tolmar --help'.\n");
    EXPECT_FALSE(std::filesystem::exists(game.File("vyw.cfg")));
}

TEST(VyGameStart, ARelativeSavedGameIsTakenFromTheStartingFolderAlsoAfterTheRestart)
{
    // No render context yet: software OpenGL makes the program start itself again, in its own folder.
    GameDirectory game("[Screen]\nResX=640\nResY=480\n");
    VyTestDir start;
    const GameRun run = RunGame(game, {"saves/game.sav", "--quit-after-frames", "2"}, OffscreenEnvironment(),
                            start.Path().string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Count(run.err, "the program starts again"), 1u) << run.err;
    const std::string file = (start.Path() / "saves/game.sav").string();
    const std::string wanted = "VyTolmarStartup : start request: saved game " + file;
    EXPECT_EQ(Count(run.err, wanted + "\n"), 1u) << run.err;
}

TEST(VyGameStart, ErrorsBeforeTheWindowGoToStandardErrorAndToANativeBoxWithStatusOne)
{
    // No display at all: no X display and a video driver that does not exist.
    GameDirectory noDisplay("[Screen]\nContext=Native\n");
    std::map<std::string, std::string> environment = OffscreenEnvironment();
    environment["SDL_VIDEODRIVER"] = "no-such-driver";
    const GameRun display = RunGame(noDisplay, {}, environment);
    EXPECT_EQ(display.status, 1);
    EXPECT_NE(display.err.find("Error: The display could not be created: SDL could not start its video"),
              std::string::npos)
        << display.err;
    // The box was tried; without a display SDL could not show it.
    EXPECT_NE(display.err.find("VyWin : the error could not be shown in a box: "), std::string::npos) << display.err;

    // Fonts from a folder that does not exist: the render context cannot start.
    GameDirectory noFonts("[Screen]\nContext=Native\n[Directories]\nFonts=Nowhere\n");
    const GameRun fonts = RunGame(noFonts, {});
    EXPECT_EQ(fonts.status, 1);
    EXPECT_NE(fonts.err.find("Error: *VyWin::CreateDisplay"), std::string::npos) << fonts.err;
    EXPECT_NE(fonts.err.find("VyWin : the error could not be shown in a box: "), std::string::npos) << fonts.err;
    EXPECT_EQ(fonts.out, "");
}
