#pragma once

#include <optional>

// Enumerations shared by the rules, the computer player, saved games and the game window. The
// numbered ones carry their numbers unchanged into saved games and onto the wire; VyNumberOf and the
// ...FromNumber functions are the only conversions, made where a file or a message is read or written.

// Game states (VyGameRules::GetState). The turn cycle is 1 -> 2 -> 3 -> 4 -> 1.
enum class VyGameState
{
    PLAYER1_CHOOSES = 1, // player 1 chooses the piece player 2 must place
    PLAYER2_PLACES = 2,  // player 2 places the current piece
    PLAYER2_CHOOSES = 3, // player 2 chooses the piece player 1 must place
    PLAYER1_PLACES = 4,  // player 1 places the current piece
    GAME_WON = 5,        // a line was completed; game over
    GAME_TIED = 6,       // every piece placed without a line; game over
    NO_OPPONENT = 7,     // no game: an opponent must be selected first
    AWAITING_ACCEPT = 8, // waiting for the remote player to accept a new game
};

// Who takes the second seat. Player 1 is always the local player.
enum class VyOpponent
{
    HUMAN = 1,
    NETWORK_CLIENT = 2, // the remote player joined: this side serves
    NETWORK_SERVER = 3, // the remote player serves: this side joined
    COMPUTER = 4,
};

// Computer strength.
enum class VyLevel
{
    BEGINNER = 1,
    EASY = 2,
    INTERMEDIATE = 3,
    HARD = 4,
    ADVANCED = 5,
    EXPERT = 6, // the exact search (VyExpertPlayer) under a time budget
};

// Every level, weakest first (the order of the game's level menu).
constexpr VyLevel VY_ALL_LEVELS[] = {VyLevel::BEGINNER, VyLevel::EASY, VyLevel::INTERMEDIATE, VyLevel::HARD,
                                     VyLevel::ADVANCED, VyLevel::EXPERT};

// Who chooses first in a new game.
enum class VyFirstPlayer
{
    PLAYER1 = 1,
    PLAYER2 = 2,
    RANDOM = 3,
};

// One of the two seats (the game settings keep a name per seat).
enum class VyPlayer
{
    PLAYER1 = 1,
    PLAYER2 = 2,
};

// What the end of the running half-move movement does.
enum class VyAfterMove
{
    NEXT_TURN, // a choice or placement: the turn advances
    UNDO,      // an undo step that left the computer to move: the next step follows
    NOTHING,   // the last undo step, or no half-move running
};

// How a piece goes to its target.
enum class VyMoveStyle
{
    TRAVEL,        // moves there at the given speed (jumps when the speed is negative)
    STAY_IN_PLACE, // stays where it is; only the end of the movement is reported
};

// Whether a piece takes mouse and keyboard choices.
enum class VyPieceInput
{
    ENABLED,
    DISABLED,
};

// The picture a piece shows.
enum class VyPieceImage
{
    NORMAL = 0,
    GREYED = 1,
};

// A direction through the pieces or squares, for keyboard selection.
enum class VyStep
{
    NEXT,
    PREVIOUS,
};

// No piece chosen, no piece on a square, a piece off the board; no square.
constexpr int INVALID_PIECE = -1;
constexpr int NO_SQUARE = -1;

// The game's own framework messages, all sent to the game window.
constexpr int MSG_COMPUTER_PIECE = 1001;  // param1 = piece, param2 = position generation
constexpr int MSG_COMPUTER_SQUARE = 1002; // param1 = square, param2 = position generation
constexpr int MSG_SET_LOAD_FAILED = 1003; // the piece-set loader failed; param1 = the load's number
constexpr int MSG_MOVE_DONE = 1004;       // param1 = the piece whose movement ended, param2 = param1 + 1
constexpr int MSG_SET_LOADED = 1005;      // the piece-set loader finished; param1 = the load's number
// The hint the worker worked out (VyComputerPlayer::AskHint): param1 = VyHintAnswer::Pack of the
// square, piece and outcome, param2 = position generation.
constexpr int MSG_HINT = 1006;

// The number a file or the wire carries for a value.
template <class Enum> constexpr int VyNumberOf(Enum value)
{
    return static_cast<int>(value);
}

// The value a file or the wire names; nothing for a number outside the enumeration.
std::optional<VyGameState> VyGameStateFromNumber(int number);
std::optional<VyOpponent> VyOpponentFromNumber(int number);
std::optional<VyLevel> VyLevelFromNumber(int number);
std::optional<VyFirstPlayer> VyFirstPlayerFromNumber(int number);

// Whether a player is to place the current piece / to choose the piece the other must place.
bool IsPlacingState(VyGameState state);
bool IsChoosingState(VyGameState state);

// "Beginner" .. "Expert"; empty for a value outside the enumeration (a cast from an unchecked number).
const char* LevelName(VyLevel level);
