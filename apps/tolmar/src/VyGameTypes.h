#pragma once

// Numbers shared by the rules, the computer player, saved games and the game window.

// Game states (VyGameRules::m_state). The turn cycle is 1 -> 2 -> 3 -> 4 -> 1.
constexpr int PLAYER1_CHOOSES = 1; // player 1 chooses the piece player 2 must place
constexpr int PLAYER2_PLACES = 2;  // player 2 places the current piece
constexpr int PLAYER2_CHOOSES = 3; // player 2 chooses the piece player 1 must place
constexpr int PLAYER1_PLACES = 4;  // player 1 places the current piece
constexpr int GAME_WON = 5;        // a line was completed; game over
constexpr int GAME_TIED = 6;       // every piece placed without a line; game over
constexpr int NO_OPPONENT = 7;     // no game: an opponent must be selected first
constexpr int AWAITING_ACCEPT = 8; // waiting for the remote player to accept a new game

// Who takes the second seat (m_opponent). Player 1 is always the local player.
constexpr int OPPONENT_HUMAN = 1;
constexpr int OPPONENT_NETWORK_CLIENT = 2;
constexpr int OPPONENT_NETWORK_SERVER = 3;
constexpr int OPPONENT_COMPUTER = 4;

// Computer strength (m_level).
constexpr int LEVEL_BEGINNER = 1;
constexpr int LEVEL_EASY = 2;
constexpr int LEVEL_INTERMEDIATE = 3;
constexpr int LEVEL_HARD = 4;
constexpr int LEVEL_ADVANCED = 5;

// Who chooses first in a new game (m_firstPlayer).
constexpr int FIRST_PLAYER1 = 1;
constexpr int FIRST_PLAYER2 = 2;
constexpr int FIRST_RANDOM = 3;

// No piece chosen (m_currentPiece), no piece on a square, a piece off the board.
constexpr int INVALID_PIECE = -1;

// What the end of the running half-move movement does (m_afterMove).
constexpr int AFTER_MOVE_NEXT_TURN = 0;
constexpr int AFTER_MOVE_UNDO = 1;
constexpr int AFTER_MOVE_NOTHING = 2;

// The game's own framework messages, all sent to the game window.
constexpr int MSG_COMPUTER_PIECE = 1001;  // param1 = piece, param2 = position generation
constexpr int MSG_COMPUTER_SQUARE = 1002; // param1 = square, param2 = position generation
constexpr int MSG_SET_LOAD_FAILED = 1003; // the piece-set loader failed; param1 = the load's number
constexpr int MSG_MOVE_DONE = 1004;       // param1 = the piece whose movement ended
constexpr int MSG_SET_LOADED = 1005;      // the piece-set loader finished; param1 = the load's number

// "Beginner" .. "Advanced"; empty for a number outside 1..5.
const char* LevelName(int level);
