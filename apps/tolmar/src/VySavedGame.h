#pragma once

#include <vector>

#include "VyGameTypes.h"
#include "vyio/VyIO.h"

// The saved-game file: the fields of a game in the order they are stored. Integers are 4 bytes,
// little-endian; texts are VyStrings (length prefix, bytes):
//
//   magic 0x62625084 | version 0x00010001 | player 1 name | player 2 name | state | initial state |
//   opponent | history count (unsigned) | history entries | location count (unsigned) |
//   one location per piece (square, -1 off the board) | current piece | level | set name
//
// Nothing follows the set name. Reading checks only what the file itself can tell: the magic, the
// version, and that every field is there; what the values mean is the rules' to check.
struct VySavedGame
{
    static constexpr int VY_SAVED_GAME_MAGIC = 0x62625084;
    static constexpr int VY_SAVED_GAME_VERSION = 0x00010001;

    enum ReadResult
    {
        VY_SAVED_GAME_READ,   // every field was read
        VY_NOT_A_SAVED_GAME,  // the first four bytes are not the magic (or the file is shorter)
        VY_OTHER_VERSION,     // the magic is right, the version is not exactly ours
    };

    // The numbers as the file holds them, in range or not (VyGameStateFromNumber and the like
    // convert them; the rules decide what an unknown one means).
    VyString player1Name;
    VyString player2Name;
    int state = VyNumberOf(VyGameState::NO_OPPONENT);
    int initialState = VyNumberOf(VyGameState::PLAYER1_CHOOSES);
    int opponent = VyNumberOf(VyOpponent::HUMAN);
    std::vector<int> history;   // pieces in the order they were placed
    std::vector<int> locations; // per piece: its square, or -1
    int currentPiece = INVALID_PIECE;
    int level = VyNumberOf(VyLevel::EASY);
    VyString setName;

    // Writes every field; the stream's errors pass through.
    void Write(VyIO& stream) const;
    // Reads every field. A file that ends inside a field, or whose list count is larger than the
    // bytes left, throws VyFileException "*VyGameWnd::LoadGame : ..." before anything is allocated
    // for it; the stream's own errors pass through.
    ReadResult Read(VyIO& stream);

private:
    static int ReadInt(VyIO& stream);
    static void ReadList(VyIO& stream, const char* what, std::vector<int>& list);
    static void ReadText(VyIO& stream, VyString& text);
};
