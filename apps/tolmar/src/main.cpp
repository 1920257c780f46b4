// tolmar: the game.
//
//   tolmar [--human | --computer LEVEL] [--autoplay LEVEL [--games N]] [--quit-after-frames N] [FILE]
//   tolmar (--serve | --join HOST) [--port N] [--name NAME] [--autoplay LEVEL [--games N] [--chat-each-move]]
//   tolmar --help | --version
//
// FILE is a saved game to load at start, --human and --computer begin that game at once, --serve
// and --join start a network game at once, --autoplay lets the computer play the local seat (see
// VyCommandLine); with it, --games N plays N games unattended and then ends the program, and
// --chat-each-move sends a chat line for each own half-move of a network game. --quit-after-frames
// N ends the program after N drawn frames (for tests and measurements). The program runs in its own
// directory (an installed one in the player's folder, ~/.local/share/tolmar): vyw.cfg, Tolmar.cfg,
// saved games and screenshots live there, so the command line is read, and FILE made absolute,
// before VyWin::Main enters it. Exit status: 0, 1 after an error (also an unattended run whose
// connection ended before its games were played), 2 for a command line that cannot be followed.
#include <vector>

#include "VyCommandLine.h"
#include "VyTolmarStartup.h"
#include "vyplatform/VyWin.h"

int main(int argc, char** argv)
{
    const VyStartRequest request = VyCommandLine::Parse(argc, argv);
    if (const std::optional<int> status = VyCommandLine::Answer(request))
        return *status;
    VySetStartRequest(request);
    // The request in words that mean the same from the program's directory, for the framework and for
    // a restart of the program.
    std::vector<VyString> words = VyCommandLine::ToWords(request);
    words.insert(words.begin(), argc > 0 ? argv[0] : "tolmar");
    std::vector<char*> args;
    for (VyString& word : words)
        args.push_back(word.data());
    args.push_back(nullptr);
    return VyWin::Main(static_cast<int>(words.size()), args.data(), VyTolmarStartup);
}
