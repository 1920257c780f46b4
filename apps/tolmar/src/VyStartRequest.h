#pragma once

#include <optional>
#include <vector>

#include "VyGameTypes.h"
#include "vythread/VyString.h"

// What the command line asks the program to do.
enum class VyStartAction
{
    RUN,           // start the game
    PRINT_HELP,    // print the usage on standard output and end with 0
    PRINT_VERSION, // print the version line on standard output and end with 0
    REFUSE,        // print the reason on standard error and end with 2
};

// The game to begin as soon as the game window exists: none (the user chooses), a second player at
// the same machine, the computer at a level, or a network game that this side serves (and waits for
// the other player to join) or joins.
enum class VyStartOpponent
{
    NONE,
    HUMAN,
    COMPUTER,
    SERVE,
    JOIN,
};

// The command line as the program understands it (made by VyCommandLine::Parse). A plain value: it
// holds what was asked for and checks nothing; in particular the saved game is not known to exist.
struct VyStartRequest
{
    VyStartAction action = VyStartAction::RUN;
    VyStartOpponent opponent = VyStartOpponent::NONE;
    std::optional<VyLevel> level;         // with COMPUTER, and only then
    std::optional<VyLevel> autoplay;      // the computer's decisions play the local seat at this level
    VyString savedGame;                   // the saved game to load at start, an absolute path; "" for none
    VyString joinHost;                    // with JOIN: the host to join, a name or an IPv4 or IPv6 address
    std::optional<int> port;              // with SERVE or JOIN: the TCP port, 1 to 65535 (none: Tolmar.cfg's)
    std::optional<VyString> playerName;   // with SERVE or JOIN: this player's name, never empty
    std::optional<int> games;             // with autoplay: the games to play unattended, then quit (1 or more)
    bool bChatEachMove = false;           // with autoplay and SERVE or JOIN: a chat line per own half-move
    std::vector<VyString> frameworkWords; // the framework's own options ("--quit-after-frames", "3")
    VyString refusal;                     // with REFUSE: why, in one line, without the program's name
};
