#pragma once

#include <optional>
#include <vector>

#include "VyStartRequest.h"

// The game's command line:
//
//   tolmar [--human | --computer LEVEL] [--autoplay LEVEL [--games N]] [--quit-after-frames N] [FILE]
//   tolmar (--serve | --join HOST) [--port N] [--name NAME] [--autoplay LEVEL [--games N]
//          [--chat-each-move]] [--quit-after-frames N]
//   tolmar --help | --version
//
// FILE is a saved game to load at start; --human and --computer begin that kind of game at once;
// LEVEL is 1 to 6 or a level's name (Beginner, Easy, Intermediate, Hard, Advanced, Expert) in any case.
// --serve begins a network game at once and waits for the other player; --join begins one with the
// game served at HOST (a host name, an IPv4 or an IPv6 address). --port N (1 to 65535, in decimal
// without a leading 0) and --name NAME (not empty) are for those two only.
// --autoplay lets the computer's decisions play the local seat at its level, in any kind of game (two
// programs with --serve and --join and --autoplay play each other unattended).
// --games N (1 or more, with --autoplay) plays N games unattended: the computer answers "play again"
// and a peer's offer of another game with Yes (VyUnattendedRun), and the program ends after the Nth.
// --chat-each-move (with --autoplay, --serve or --join) sends a chat line for each own half-move.
// "--computer=LEVEL" is read as "--computer LEVEL", and after "--" every word is a file.
// --quit-after-frames N belongs to the framework (VyPlatform::SetCommandLine) and is handed on.
class VyCommandLine
{
public:
    // Reads the words after the program's name from left to right; --help and --version end the
    // reading where they stand. A relative FILE is made absolute against currentDirectory (the folder
    // the program was started from). Nothing fails: a command line the program cannot follow gives
    // REFUSE with the reason in refusal, at the first of
    //   an unknown option; --computer or --autoplay without a level, or with one that is neither 1..6 nor a name;
    //   --human, --computer, --serve, --join, --port, --name or --autoplay twice; two of --human,
    //   --computer, --serve and --join; a value given to --human, --serve, --help or --version;
    //   --join without a host (an option in its place counts as none), or with a word that has blanks
    //   or begins with '-'; --port without a number from 1 to 65535; --name without a name or with an
    //   empty one; --port or --name without --serve or --join (found after the last word);
    //   --quit-after-frames without a whole number of 0 or more; --games without a whole number of 1 or
//   more, or twice; --chat-each-move twice or with a value; --games or --chat-each-move without
//   --autoplay, --chat-each-move without --serve or --join (found after the last word, after the
//   checks of --port and --name); an empty file name; a second file;
    //   a file together with --human or --computer (a saved game names its own opponent) or with
    //   --serve or --join (a network game starts fresh); a relative file while currentDirectory is ""
    //   (the working directory could not be read).
    static VyStartRequest Parse(const std::vector<VyString>& words, const VyString& currentDirectory);
    // Parse of argv[1..argc-1] against the working directory of the moment: main calls it before
    // VyWin::Main makes the program's directory the working one.
    static VyStartRequest Parse(int argc, const char* const* argv);

    // The level of its number ("1".."5") or of its name in any case; nothing for any other word.
    static std::optional<VyLevel> ParseLevel(const VyString& word);

    // Words that Parse reads back as the same request, whatever the working directory: the
    // framework's words, then the game's with the file absolute. main hands them to VyWin::Main, so
    // that the framework sees its options and a restart of the program (the automatic choice of the
    // render context) starts the same game from the program's directory.
    static std::vector<VyString> ToWords(const VyStartRequest& request);

    // The usage: several lines, each ending in a newline.
    static VyString HelpText();
    // "tolmar 0.1\n", the project's version.
    static VyString VersionLine();
    // "tolmar: <refusal>\nTry 'tolmar --help'.\n"
    static VyString RefusalText(const VyStartRequest& request);
    // One line for the trace: "saved game /home/a/b.sav", "computer at level 3 (Intermediate)",
    // "human", "serving a network game", "joining the network game at ::1", or "no game".
    static VyString Describe(const VyStartRequest& request);

    // Prints what a request that does not run asks for and gives the exit status: help or version on
    // standard output with 0, the refusal text on standard error with 2. Nothing for RUN.
    static std::optional<int> Answer(const VyStartRequest& request);
};
