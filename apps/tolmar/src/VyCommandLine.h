#pragma once

#include <optional>
#include <vector>

#include "VyStartRequest.h"

// The game's command line:
//
//   tolmar [--human | --computer LEVEL] [--autoplay LEVEL] [--quit-after-frames N] [FILE]
//   tolmar --help | --version
//
// FILE is a saved game to load at start; --human and --computer begin that kind of game at once;
// LEVEL is 1 to 5 or a level's name (Beginner, Easy, Intermediate, Hard, Advanced) in any case.
// --autoplay lets the computer's decisions play the local seat at its level, in any kind of game.
// "--computer=LEVEL" is read as "--computer LEVEL", and after "--" every word is a file.
// --quit-after-frames N belongs to the framework (VyPlatform::SetCommandLine) and is handed on.
class VyCommandLine
{
public:
    // Reads the words after the program's name from left to right; --help and --version end the
    // reading where they stand. A relative FILE is made absolute against currentDirectory (the folder
    // the program was started from). Nothing fails: a command line the program cannot follow gives
    // REFUSE with the reason in refusal, at the first of
    //   an unknown option; --computer or --autoplay without a level, or with one that is neither 1..5 nor a name;
    //   --human or --computer twice, or both; a value given to --human, --help or --version;
    //   --quit-after-frames without a whole number of 0 or more; an empty file name; a second file;
    //   a file together with --human or --computer (a saved game names its own opponent); a relative
    //   file while currentDirectory is "" (the working directory could not be read).
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
    // "human", or "no game".
    static VyString Describe(const VyStartRequest& request);

    // Prints what a request that does not run asks for and gives the exit status: help or version on
    // standard output with 0, the refusal text on standard error with 2. Nothing for RUN.
    static std::optional<int> Answer(const VyStartRequest& request);
};
