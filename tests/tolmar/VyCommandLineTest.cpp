#include <gtest/gtest.h>

#include <algorithm>

#include "VyCommandLine.h"
#include "VyGameTypes.h"
#include "vyplatform/VyProcessControl.h"

namespace
{
const VyString START = "/home/ann/games";

VyStartRequest Parse(const std::vector<VyString>& words, const VyString& directory = START)
{
    return VyCommandLine::Parse(words, directory);
}

// The refusal of words, or "(runs)" / "(prints)" when they are not refused.
VyString Refusal(const std::vector<VyString>& words, const VyString& directory = START)
{
    const VyStartRequest request = Parse(words, directory);
    if (request.action == VyStartAction::REFUSE)
        return request.refusal;
    return request.action == VyStartAction::RUN ? "(runs)" : "(prints)";
}

void ExpectSame(const VyStartRequest& a, const VyStartRequest& b)
{
    EXPECT_EQ(a.action, b.action);
    EXPECT_EQ(a.opponent, b.opponent);
    EXPECT_EQ(a.level, b.level);
    EXPECT_EQ(a.autoplay, b.autoplay);
    EXPECT_EQ(a.savedGame, b.savedGame);
    EXPECT_EQ(a.joinHost, b.joinHost);
    EXPECT_EQ(a.port, b.port);
    EXPECT_EQ(a.playerName, b.playerName);
    EXPECT_EQ(a.frameworkWords, b.frameworkWords);
    EXPECT_EQ(a.games, b.games);
    EXPECT_EQ(a.bChatEachMove, b.bChatEachMove);
}

using RefusalCases = std::vector<std::pair<std::vector<VyString>, VyString>>;

// Each case's words give its refusal; a failure shows the words as "[--join][]".
void ExpectRefusals(const RefusalCases& cases)
{
    for (const auto& [words, refusal] : cases)
    {
        VyString line;
        for (const VyString& word : words)
            line += "[" + word + "]";
        EXPECT_EQ(Refusal(words), refusal) << line;
    }
}

const char* const CHOICES = "1 to 6, or Beginner, Easy, Intermediate, Hard, Advanced or Expert";
} // namespace

TEST(CommandLine, ASavedGameIsMadeAbsoluteFromTheStartingFolder)
{
    EXPECT_EQ(Parse({"game.sav"}).savedGame, "/home/ann/games/game.sav");
    EXPECT_EQ(Parse({"saves/game one.sav"}).savedGame, "/home/ann/games/saves/game one.sav");
    // ".." stays: it means the same from anywhere, through links too.
    EXPECT_EQ(Parse({"../game.sav"}).savedGame, "/home/ann/games/../game.sav");
    EXPECT_EQ(Parse({"game.sav"}, "/").savedGame, "/game.sav");
    EXPECT_EQ(Parse({"/tmp/game.sav"}).savedGame, "/tmp/game.sav");
    EXPECT_EQ(Parse({"/tmp/game.sav"}, "").savedGame, "/tmp/game.sav");
    // A backslash is an ordinary character of a name.
    EXPECT_EQ(Parse({"a\\b.sav"}).savedGame, "/home/ann/games/a\\b.sav");
    // After "--" a name that begins with a dash is a file.
    EXPECT_EQ(Parse({"--", "-odd.sav"}).savedGame, "/home/ann/games/-odd.sav");
    EXPECT_EQ(Parse({"--", "--help"}).action, VyStartAction::RUN);
}

TEST(CommandLine, TheCurrentDirectoryOfTheCallIsTheStartingFolder)
{
    const char* argv[] = {"tolmar", "game.sav"};
    const VyString directory = VyProcessControl::GetCurrentDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(VyCommandLine::Parse(2, argv).savedGame, directory + "/game.sav");
}

TEST(CommandLine, AGameAgainstAHumanOrTheComputerAtALevel)
{
    EXPECT_EQ(Parse({"--human"}).opponent, VyStartOpponent::HUMAN);
    EXPECT_EQ(Parse({"--human"}).level, std::nullopt);
    const VyStartRequest computer = Parse({"--computer", "4"});
    EXPECT_EQ(computer.opponent, VyStartOpponent::COMPUTER);
    EXPECT_EQ(computer.level, VyLevel::HARD);
    EXPECT_EQ(Parse({"--computer", "beginner"}).level, VyLevel::BEGINNER);
    EXPECT_EQ(Parse({"--computer=Advanced"}).level, VyLevel::ADVANCED);
    EXPECT_EQ(Parse({"--computer=2"}).level, VyLevel::EASY);
    // The computer may play the local seat too, in any kind of game.
    const VyStartRequest autoplay = Parse({"--computer", "1", "--autoplay", "hard"});
    EXPECT_EQ(autoplay.autoplay, VyLevel::HARD);
    EXPECT_EQ(autoplay.level, VyLevel::BEGINNER);
    EXPECT_EQ(Parse({"--autoplay", "9"}).action, VyStartAction::REFUSE);
    EXPECT_EQ(Parse({"--autoplay", "2", "--autoplay=3"}).refusal, "option '--autoplay' is given twice");
}

TEST(CommandLine, LevelsAreTheirNumbersOrTheRulesNamesInAnyCase)
{
    for (VyLevel level : VY_ALL_LEVELS)
    {
        const VyString name = LevelName(level);
        EXPECT_EQ(VyCommandLine::ParseLevel(VyString::Format("%d", VyNumberOf(level))), level);
        EXPECT_EQ(VyCommandLine::ParseLevel(name), level) << name;
        EXPECT_EQ(VyCommandLine::ParseLevel(name.Lower()), level) << name;
        EXPECT_EQ(VyCommandLine::ParseLevel(name.Upper()), level) << name;
    }
    for (const char* word : {"0", "7", "-1", "03", " 3", "3 ", "", "Hard ", "Beginners", "Experts", "3.0"})
        EXPECT_EQ(VyCommandLine::ParseLevel(word), std::nullopt) << "'" << word << "'";
}

TEST(CommandLine, TheFrameworksOptionsArePassedOn)
{
    EXPECT_TRUE(Parse({}).frameworkWords.empty());
    const VyStartRequest request = Parse({"--quit-after-frames", "3", "game.sav"});
    EXPECT_EQ(request.frameworkWords, (std::vector<VyString>{"--quit-after-frames", "3"}));
    EXPECT_EQ(request.savedGame, "/home/ann/games/game.sav");
    EXPECT_EQ(Parse({"--quit-after-frames=0"}).frameworkWords, (std::vector<VyString>{"--quit-after-frames", "0"}));
}

TEST(CommandLine, HelpAndVersionStopTheReadingWhereTheyStand)
{
    EXPECT_EQ(Parse({"--help"}).action, VyStartAction::PRINT_HELP);
    EXPECT_EQ(Parse({"-h"}).action, VyStartAction::PRINT_HELP);
    EXPECT_EQ(Parse({"--version"}).action, VyStartAction::PRINT_VERSION);
    EXPECT_EQ(Parse({"--version", "--help"}).action, VyStartAction::PRINT_VERSION);
    EXPECT_EQ(Parse({"--help", "--no-such-option", "a", "b"}).action, VyStartAction::PRINT_HELP);
    EXPECT_EQ(Refusal({"--no-such-option", "--help"}), "unknown option '--no-such-option'");
}

TEST(CommandLine, WhatCannotBeFollowedIsRefusedWithItsReason)
{
    ExpectRefusals({
        {{"--network"}, "unknown option '--network'"},
        {{"-x"}, "unknown option '-x'"},
        {{"-"}, "unknown option '-'"},
        {{"--level=3"}, "unknown option '--level'"},
        {{"--computer"}, VyString("option '--computer' needs a level: ") + CHOICES},
        {{"--computer", "--human"}, VyString("option '--computer' needs a level: ") + CHOICES},
        {{"--computer", "7"}, VyString("'7' is not a level: give ") + CHOICES},
        {{"--computer="}, VyString("'' is not a level: give ") + CHOICES},
        {{"--computer", "game.sav"}, VyString("'game.sav' is not a level: give ") + CHOICES},
        {{"--human", "--computer", "2"}, "--human and --computer cannot both be given"},
        {{"--computer", "2", "--human"}, "--human and --computer cannot both be given"},
        {{"--human", "--human"}, "option '--human' is given twice"},
        {{"--computer", "1", "--computer", "2"}, "option '--computer' is given twice"},
        {{"--human=yes"}, "option '--human' takes no value"},
        {{"--help=me"}, "option '--help' takes no value"},
        {{"--quit-after-frames"}, "option '--quit-after-frames' needs a number of frames, 0 or more"},
        {{"--quit-after-frames", "-3"}, "option '--quit-after-frames' needs a number of frames, 0 or more"},
        {{"--quit-after-frames", "many"}, "option '--quit-after-frames' needs a number of frames, 0 or more"},
        {{"a.sav", "b.sav"},
         "only one saved game can be loaded, and '/home/ann/games/a.sav' and 'b.sav' are given"},
        {{""}, "the saved game's name is empty"},
        {{"a.sav", "--human"}, "a saved game names its own opponent: give it or --human, not both"},
        {{"--computer", "3", "a.sav"}, "a saved game names its own opponent: give it or --computer, not both"},
    });
    EXPECT_EQ(Refusal({"game.sav"}, ""), "the folder of 'game.sav' is unknown: the working directory cannot be read");
}

TEST(CommandLine, ANetworkGameIsServedOrJoinedWithAPortAndAName)
{
    const VyStartRequest serve = Parse({"--serve"});
    EXPECT_EQ(serve.opponent, VyStartOpponent::SERVE);
    EXPECT_EQ(serve.port, std::nullopt);
    EXPECT_EQ(serve.playerName, std::nullopt);
    // Two copies that play each other unattended; a name with spaces comes as one word.
    const VyStartRequest join = Parse({"--join", "::1", "--port", "7000", "--name", "Ann Lee", "--autoplay", "3"});
    EXPECT_EQ(join.opponent, VyStartOpponent::JOIN);
    EXPECT_EQ(join.joinHost, "::1");
    EXPECT_EQ(join.port, 7000);
    EXPECT_EQ(join.playerName, VyString("Ann Lee"));
    EXPECT_EQ(join.autoplay, VyLevel::INTERMEDIATE);
    // Any order, values attached, the ends of the port's range; a name is any word that is not empty.
    const VyStartRequest attached = Parse({"--port=1", "--name=--Bob=", "--join=192.168.1.20"});
    EXPECT_EQ(attached.joinHost, "192.168.1.20");
    EXPECT_EQ(attached.port, 1);
    EXPECT_EQ(attached.playerName, VyString("--Bob="));
    EXPECT_EQ(Parse({"--serve", "--port", "65535"}).port, 65535);
    EXPECT_EQ(Parse({"--name", "-x", "--serve"}).playerName, VyString("-x"));
}

TEST(CommandLine, ANetworkGameThatCannotBeFollowedIsRefusedWithItsReason)
{
    const VyString host = "option '--join' needs a host: a host name or an IPv4 or IPv6 address";
    ExpectRefusals({
        {{"--serve", "--join", "h"}, "--serve and --join cannot both be given"},
        {{"--join", "h", "--serve"}, "--serve and --join cannot both be given"},
        {{"--serve", "--human"}, "--human and --serve cannot both be given"},
        {{"--join", "h", "--computer", "2"}, "--computer and --join cannot both be given"},
        {{"--serve", "--serve"}, "option '--serve' is given twice"},
        {{"--join", "a", "--join=a"}, "option '--join' is given twice"},
        {{"--serve", "--port", "1", "--port", "1"}, "option '--port' is given twice"},
        {{"--serve", "--name", "a", "--name=b"}, "option '--name' is given twice"},
        {{"--serve=yes"}, "option '--serve' takes no value"},
        {{"--join"}, host},
        {{"--join", "--port", "7000"}, host},
        {{"--join="}, host},
        {{"--join", "a b"}, "'a b' is not a host: give a host name or an IPv4 or IPv6 address"},
        {{"--join=-h"}, "'-h' is not a host: give a host name or an IPv4 or IPv6 address"},
        {{"--serve", "--port"}, "option '--port' needs a port number: 1 to 65535"},
        {{"--serve", "--name", "--port", "1"}, "option '--name' needs your name"},
        {{"--serve", "--name", ""}, "the player's name is empty"},
        {{"--human", "--port", "7000"}, "option '--port' needs --serve or --join"},
        {{"--name", "Ann"}, "option '--name' needs --serve or --join"},
        {{"a.sav", "--serve"}, "a network game starts fresh: give a saved game or --serve, not both"},
        {{"--join", "h", "a.sav"}, "a network game starts fresh: give a saved game or --join, not both"},
        // Help ends the reading before what is missing at its end counts.
        {{"--port", "7000", "--help"}, "(prints)"},
    });
    for (const char* port : {"0", "65536", "9999999999", "-1", "+80", "080", "0x50", " 80", "80 ", ""})
        EXPECT_EQ(Refusal({"--serve", VyString("--port=") + port}),
                  "'" + VyString(port) + "' is not a port: give a number from 1 to 65535, without a leading 0");
}

TEST(CommandLine, UnattendedGamesAndAChatLineEachMoveGoWithAutoplay)
{
    EXPECT_EQ(Parse({}).games, std::nullopt);
    EXPECT_FALSE(Parse({}).bChatEachMove);
    const VyStartRequest local = Parse({"--computer", "2", "--autoplay", "5", "--games", "80"});
    EXPECT_EQ(local.games, 80);
    EXPECT_FALSE(local.bChatEachMove);
    // The options may come before the --autoplay and the network game they need.
    const VyStartRequest network = Parse({"--chat-each-move", "--games=1", "--join", "::1", "--autoplay", "3"});
    EXPECT_EQ(network.games, 1);
    EXPECT_TRUE(network.bChatEachMove);
    EXPECT_EQ(network.opponent, VyStartOpponent::JOIN);
    EXPECT_TRUE(Parse({"--serve", "--autoplay", "1", "--chat-each-move"}).bChatEachMove) << "chat without a count";
    EXPECT_EQ(Parse({"--autoplay", "2", "--games", "3", "a.sav"}).games, 3) << "a saved game played on";
    EXPECT_EQ(Parse({"--autoplay", "2", "--games", "999999999"}).games, 999999999);

    const VyString count = "option '--games' needs a number of games, 1 or more";
    ExpectRefusals({
        {{"--autoplay", "2", "--games"}, count},
        {{"--autoplay", "2", "--games", "0"}, count},
        {{"--autoplay", "2", "--games", "-4"}, count},
        {{"--autoplay", "2", "--games", "many"}, count},
        {{"--autoplay", "2", "--games=1e3"}, count},
        {{"--autoplay", "2", "--games", "9999999999"}, count},
        {{"--autoplay", "2", "--games", "--human"}, count},
        {{"--autoplay", "2", "--games", "2", "--games=2"}, "option '--games' is given twice"},
        {{"--computer", "3", "--games", "5"}, "option '--games' needs --autoplay: only the computer answers by itself"},
        {{"--serve", "--chat-each-move"}, "option '--chat-each-move' needs --autoplay"},
        {{"--human", "--autoplay", "1", "--chat-each-move"}, "option '--chat-each-move' needs --serve or --join"},
        {{"--serve", "--autoplay", "1", "--chat-each-move=yes"}, "option '--chat-each-move' takes no value"},
        {{"--serve", "--autoplay", "1", "--chat-each-move", "--chat-each-move"},
         "option '--chat-each-move' is given twice"},
        // The network options are checked first.
        {{"--name", "Ann", "--chat-each-move"}, "option '--name' needs --serve or --join"},
    });
}

// What an option does starts in one column, on the option's line and on the lines that go on.
TEST(CommandLine, TheHelpLinesUpWhatEachOptionDoes)
{
    const VyString help = VyCommandLine::HelpText();
    EXPECT_NE(help.find("\n  --join HOST            join"), VyString::npos) << help;
    for (size_t start = 0, end = help.find('\n'); end != VyString::npos; start = end + 1, end = help.find('\n', start))
    {
        const bool optionLine = help.compare(start, 3, "  -") == 0 || help.compare(start, 4, "    ") == 0;
        EXPECT_TRUE(!optionLine || (end - start > 25 && help.compare(start + 23, 2, "  ") == 0 && help[start + 25] != ' '))
            << help.substr(start, end - start);
    }
}

TEST(CommandLine, TheRequestInWordsMeansTheSameFromAnotherFolder)
{
    const std::vector<std::vector<VyString>> lines = {
        {},
        {"saves/game.sav", "--quit-after-frames", "2"},
        {"--", "-odd.sav"},
        {"--human"},
        {"--computer=intermediate", "--quit-after-frames", "5"},
        {"--human", "--autoplay", "5"},
        {"--serve"},
        {"--join", "::1", "--port", "7000", "--name", "Ann Lee", "--autoplay", "2"},
        {"--quit-after-frames", "1", "--name=--Ann", "--serve", "--port", "65535"},
        {"--join=game.example.org", "--name", "a=b"},
        {"--computer", "2", "--autoplay", "1", "--games=5"},
        {"--chat-each-move", "--serve", "--port", "47001", "--autoplay", "4", "--games", "200"},
    };
    for (const std::vector<VyString>& words : lines)
    {
        const VyStartRequest request = Parse(words);
        const std::vector<VyString> again = VyCommandLine::ToWords(request);
        ExpectSame(Parse(again, "/usr/games/tolmar"), request);
        // The framework finds its options as it reads them (VyPlatform::SetCommandLine).
        EXPECT_TRUE(std::equal(request.frameworkWords.begin(), request.frameworkWords.end(), again.begin()));
    }
}
