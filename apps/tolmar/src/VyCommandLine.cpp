#include "VyCommandLine.h"

#include <cstdio>

#include "VyCommandLineReader.h"
#include "VyGameTypes.h"
#include "vyplatform/VyProcessControl.h"

#ifndef TOLMAR_VERSION
#error "TOLMAR_VERSION comes from the project's version (apps/tolmar/CMakeLists.txt)"
#endif


VyStartRequest VyCommandLine::Parse(const std::vector<VyString>& words, const VyString& currentDirectory)
{
    return VyCommandLineReader(words, currentDirectory).Read();
}

VyStartRequest VyCommandLine::Parse(int argc, const char* const* argv)
{
    std::vector<VyString> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i]);
    return Parse(words, VyProcessControl::GetCurrentDirectory());
}

std::optional<VyLevel> VyCommandLine::ParseLevel(const VyString& word)
{
    for (VyLevel level : VY_ALL_LEVELS)
        if (word == VyString::Format("%d", VyNumberOf(level)) || word.EqualsNoCase(LevelName(level)))
            return level;
    return std::nullopt;
}

std::vector<VyString> VyCommandLine::ToWords(const VyStartRequest& request)
{
    std::vector<VyString> words = request.frameworkWords;
    if (request.opponent == VyStartOpponent::HUMAN)
        words.emplace_back("--human");
    if (request.opponent == VyStartOpponent::COMPUTER)
        words.insert(words.end(), {"--computer", VyString::Format("%d", VyNumberOf(request.level.value()))});
    if (request.opponent == VyStartOpponent::SERVE)
        words.emplace_back("--serve");
    if (request.opponent == VyStartOpponent::JOIN)
        words.insert(words.end(), {"--join", request.joinHost});
    if (request.port)
        words.insert(words.end(), {"--port", VyString::Format("%d", *request.port)});
    // Attached, so that a name that begins with "--" is not read as an option.
    if (request.playerName)
        words.emplace_back("--name=" + *request.playerName);
    if (request.autoplay)
        words.insert(words.end(), {"--autoplay", VyString::Format("%d", VyNumberOf(*request.autoplay))});
    if (request.games)
        words.insert(words.end(), {"--games", VyString::Format("%d", *request.games)});
    if (request.bChatEachMove)
        words.emplace_back("--chat-each-move");
    if (!request.savedGame.empty())
        words.insert(words.end(), {"--", request.savedGame});
    return words;
}

VyString VyCommandLine::HelpText()
{
    return "Usage: tolmar [OPTION]... [FILE]\n"
           "Plays Tolmar, a board game for two. FILE is a saved game to load at start.\n"
           "\n"
           "  --human                begin a game for two players at this machine at once\n"
           "  --computer LEVEL       begin a game against the computer at once; LEVEL is\n"
           "                         " +
           VyLevelChoices() +
           "\n"
           "  --serve                serve a network game at once and wait for a player\n"
           "  --join HOST            join the network game served at HOST at once\n"
           "  --port N               the port for --serve and --join (else Tolmar.cfg, 7)\n"
           "  --name NAME            your name for --serve and --join\n"
           "  --autoplay LEVEL       the computer plays your seat at LEVEL (demonstrations)\n"
           "  --games N              with --autoplay: play N games unattended, then end;\n"
           "                         the computer answers \"play again\" and the offer of\n"
           "                         another game with Yes (in a network game the serving\n"
           "                         side offers and the joining side accepts)\n"
           "  --chat-each-move       with --autoplay and --serve or --join: a chat line for\n"
           "                         each of your half-moves (\"move 3: piece 5 chosen\")\n"
           "  --quit-after-frames N  end the program after N drawn frames (tests, measurements)\n"
           "  -h, --help             print this help and end\n"
           "  --version              print the version and end\n"
           "\n"
           "Settings, saved games and screenshots are kept in the program's own folder, or in\n"
           "~/.local/share/tolmar when the program is installed.\n"
           "Exit status: 0 after a normal end, 1 after an error, 2 for a command line that\n"
           "cannot be followed.\n";
}

VyString VyCommandLine::VersionLine()
{
    return VyString("tolmar ") + TOLMAR_VERSION + "\n";
}

VyString VyCommandLine::RefusalText(const VyStartRequest& request)
{
    return "tolmar: " + request.refusal + "\nTry 'tolmar --help'.\n";
}

VyString VyCommandLine::Describe(const VyStartRequest& request)
{
    if (!request.savedGame.empty())
        return "saved game " + request.savedGame;
    if (request.opponent == VyStartOpponent::COMPUTER)
        return VyString::Format("computer at level %d (%s)", VyNumberOf(request.level.value()),
                                LevelName(request.level.value()));
    if (request.opponent == VyStartOpponent::SERVE)
        return "serving a network game";
    if (request.opponent == VyStartOpponent::JOIN)
        return "joining the network game at " + request.joinHost;
    return request.opponent == VyStartOpponent::HUMAN ? "human" : "no game";
}

std::optional<int> VyCommandLine::Answer(const VyStartRequest& request)
{
    switch (request.action)
    {
    case VyStartAction::PRINT_HELP:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case VyStartAction::PRINT_VERSION:
        std::fputs(VersionLine().c_str(), stdout);
        return 0;
    case VyStartAction::REFUSE:
        std::fputs(RefusalText(request).c_str(), stderr);
        return 2;
    case VyStartAction::RUN:
        break;
    }
    return std::nullopt;
}
