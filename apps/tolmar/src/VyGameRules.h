#pragma once

#include <memory>
#include <vector>

#include "VyComputerDecision.h"
#include "VyGameHost.h"
#include "VyGameTypes.h"
#include "VyPieceSet.h"
#include "vyio/VyIO.h"
#include "vythread/VyMessage.h"
#include "vythread/VyRandom.h"

class VySetLoader;
struct VySavedGame;

// The state of one game and the rule operations on it. The game window owns one and implements
// VyGameHost for it; everything runs on the window thread. The state members are public: the game
// window, the saved-game code and the set loader read and write them directly.
//
// The turn cycle (each half-move ends when the movement of its piece has finished):
//
//   state  who acts            operation      movement ends -> NextTurn -> state
//   1      player 1 chooses    ChoosePiece    2
//   2      player 2 places     PlacePiece     3
//   3      player 2 chooses    ChoosePiece    4
//   4      player 1 places     PlacePiece     1
//
// After NextTurn, EndOfMove looks for a win or a full board (states 5, 6), rebuilds the status line
// and wakes the computer on its turn. Undo walks the cycle backwards (1->4, 2->1, 3->2, 4->3); against
// the computer it repeats, each step when the previous step's movement ends, until a human's turn.
//
// A half-move movement is running while m_moving; m_afterMove says what its end does:
//   AFTER_MOVE_NEXT_TURN  after a choice or placement
//   AFTER_MOVE_UNDO       after an undo step that left the computer to move
//   AFTER_MOVE_NOTHING    after the last undo step, or when no half-move is running
//
// Piece sets load on the set loader's thread (LoadSet); the rules keep playing on the set in use
// until the new one arrives (SetLoaded) and is swapped in. m_setName names the set in use.
// A saved game that names another set waits for it and is applied when it arrives.
class VyGameRules
{
public:
    // random draws the first player when m_firstPlayer is FIRST_RANDOM.
    explicit VyGameRules(VyGameHost& host, VyRandom& random = VyRandom::Global());
    // Gives up a set load still running, waiting for its thread.
    ~VyGameRules();
    VyGameRules(const VyGameRules&) = delete;
    VyGameRules& operator=(const VyGameRules&) = delete;

    // Takes over a loaded piece set: properties, pieces, squares, combinations, pictures and board
    // data; every piece off the board, no history, no chosen piece, no movement running; then tells
    // the host (PieceSetChanged). The state is not changed.
    void SetPieceSet(const VyPieceSet& set);

    // Loads the set "sets\<name>\<name>.cfg" (LoadSetFile). A name that is no plain directory name
    // fails as a load does. Returns true.
    bool LoadSet(const VyString& name);
    // The set loader's front end. Nothing when the path names the set in use (a load of another set
    // still running is then given up) or the set already being loaded; otherwise the set loads on the
    // loader's thread behind the host's progress display. Returns whether a load was started.
    bool LoadSetFile(const VyString& path);
    // MSG_SET_LOADED (param1 = the load): swaps the new set in, then applies a saved game that waits
    // for it. A game in play without one cannot go on on other pieces and ends (state 7).
    void SetLoaded(int load);
    // MSG_SET_LOAD_FAILED (param1 = the load). With a set in use the game goes on with it and the
    // failure is shown ("Load Error"); without one, the settings file is deleted and the failure shown
    // as fatal, with the advice to restart.
    void SetLoadFailed(int load);
    bool IsSetLoading() const;

    // Writes the game to a stream opened for writing (the saved-game file, VySavedGame).
    void SaveGame(VyIO& stream) const;
    // Reads a saved game and replaces the game with it: at once, or when the set it names has
    // loaded. A file that is not a saved game or of another version is refused with a message box
    // (false). A file that ends early or whose counts exceed it throws VyFileException; a refused or
    // broken file leaves the game as it was. What the file says is made to fit the set in use: pieces
    // and squares that do not exist are ignored, a square holds one piece, the history holds exactly
    // the placed pieces, and a state, opponent or level out of range becomes its default.
    bool LoadGame(VyIO& stream);
    // Saves to path through "<path>.tmp", renamed over path only when the whole file was written; on
    // failure the old file stays, the temporary file goes, and "Could not write to <path>" is shown
    // ("Save Error"). Returns whether the game was saved.
    bool SaveGameFile(const VyString& path);
    // Opens path and loads from it (LoadGame, whose exceptions pass through); a file that cannot be
    // opened is reported as "Could not open <path>" ("Load Error").
    bool LoadGameFile(const VyString& path);

    // Applies a choice. Ignored unless choosing, no movement runs, and piece is a valid piece off
    // the board. The turn advances when the piece's movement ends.
    void ChoosePiece(int piece);
    // Places the chosen piece. Ignored unless placing with a chosen piece, no movement runs, and
    // square is a valid empty square. The turn advances when the piece's movement ends.
    void PlacePiece(int square);
    // The half-move's movement has finished: 1->2, 2->3, 3->4, 4->1, then EndOfMove.
    void NextTurn();
    // Evaluates the position after a move, a new game or a loaded game.
    void EndOfMove();
    // The movement of piece has finished (MSG_MOVE_DONE). Movements that end no half-move are ignored.
    void MoveDone(int piece);

    // Starts a new game with the current opponent (state 1 or 3) on a cleared board.
    void NewGame();
    // NewGame followed by EndOfMove: what selecting a local opponent does.
    void StartGame();
    // Every piece back to its start at once, every square empty, history and choice cleared.
    // A half-move movement in flight no longer ends the half-move. The state is not changed.
    void ResetBoard();

    // False while a movement runs, when the game is over or not in play, and while a network
    // connection is open; otherwise whether a piece is chosen or placed.
    bool CanUndo() const;
    // Takes back the last half-move (see the table above); nothing unless CanUndo.
    void Undo();

    // The win test on a list of squares (the live board or a copy). value = the shared value's name.
    bool CheckWin(const std::vector<VySquare>& squares, int& combination, VyString& value) const;

    // On the computer's turn: note the time and hand the host a copy of the position to decide on.
    void WakeComputer();
    // A copy of everything the computer decides on.
    VyComputerPosition TakeComputerPosition() const;
    // The computer's answers (MSG_COMPUTER_PIECE, MSG_COMPUTER_SQUARE). Applied only when generation
    // is still the position's generation and it is still the computer's turn to choose / place:
    // an answer to a position that an undo, a new game or a load replaced is dropped.
    void ApplyComputerPiece(int piece, int generation);
    void ApplyComputerSquare(int square, int generation);

    // The game's messages for the rules: MSG_MOVE_DONE, MSG_COMPUTER_PIECE, MSG_COMPUTER_SQUARE,
    // MSG_SET_LOADED and MSG_SET_LOAD_FAILED go to MoveDone, ApplyComputerPiece, ApplyComputerSquare,
    // SetLoaded and SetLoadFailed. Returns whether the message was one of them.
    bool HandleMessage(const VyMessage& msg);

    // Rebuilds m_status for the state and tells the host.
    void UpdateStatus();
    // m_status as drawn at time now (ms): on the computer's turn 0 to 9 dots, one more every 333 ms.
    VyString GetStatusLine(unsigned int now) const;
    // "James" -> "James'", "Ann" -> "Ann's", "" -> "".
    static VyString Possessive(const VyString& name);

    bool IsChoosing() const;
    bool IsPlacing() const;
    bool IsHumanChoosing() const;
    bool IsHumanPlacing() const;
    bool IsComputersTurn() const;
    // Every piece is placed, or no square is left for one.
    bool IsBoardFull() const;
    bool IsNetworked() const;
    bool IsGameOver() const;

    int GetNumberOfPieces() const { return static_cast<int>(m_pieces.size()); }
    int GetNumberOfSquares() const { return static_cast<int>(m_squares.size()); }
    // Changes whenever the position changes; the computer's answers carry it.
    int GetPositionGeneration() const { return m_positionGeneration; }

    // The piece set.
    std::vector<VyPieceInfo> m_pieces;
    std::vector<VyProperty> m_properties;
    std::vector<VySquare> m_squares;
    std::vector<std::vector<int>> m_winningCombinations;
    VyString m_setName;
    VyString m_board;
    VySize m_boardSize;
    VyPoint m_chosenPos;
    uint32_t m_colorMask = 0x0000FF;
    std::shared_ptr<const VySetImages> m_pImages; // board and piece pictures; null before a set is loaded

    // The game.
    int m_state = NO_OPPONENT;
    int m_initialState = PLAYER1_CHOOSES;
    int m_opponent = OPPONENT_HUMAN;
    int m_level = LEVEL_EASY;
    int m_firstPlayer = FIRST_PLAYER1;
    int m_currentPiece = INVALID_PIECE;
    std::vector<int> m_history;
    int m_winningCombination = -1;
    VyString m_winningValue;
    VyString m_winner;
    VyString m_player1Name;
    VyString m_player2Name;

    // The turn flow shared with the window.
    VyString m_status;
    int m_highlightedSquare = -1;
    bool m_moving = false;
    int m_afterMove = AFTER_MOVE_NOTHING;
    float m_moveSpeed = 300.0f;
    unsigned int m_thinkStart = 0;

private:
    bool IsValidPiece(int piece) const;
    bool IsValidSquare(int square) const;
    void SetBusy(bool busy);
    void StartMovement(int piece, VyPoint target, float speed, bool animate, int afterMove);
    // A movement still running ends nothing: no half-move follows it and the busy state ends.
    void AbandonMovement();
    void EnableOffBoardPieces(bool enable);
    void SetPieceImage(int piece, int imageIndex);
    void EvaluateChoosingPosition();
    void ShowWin(int combination, const VyString& value);
    bool TakeBackPlacement();
    bool TakeBackChoice();
    VyString StatusText() const;
    VySetLoader& Loader();
    // The set called name is the one the pieces come from.
    bool IsSetInUse(const VyString& name) const;
    void DropPendingGame();
    void FailSetLoad(const VyString& failure);
    void ApplySavedGame(const VySavedGame& saved);
    void PlaceLoadedPieces(const std::vector<int>& locations);
    void RebuildHistory(const std::vector<int>& saved);
    void ShowLoadedWin();

    VyGameHost& m_host;
    VyRandom& m_random;
    int m_movingPiece = INVALID_PIECE; // the piece whose movement ends the running half-move
    int m_positionGeneration = 0;
    std::unique_ptr<VySetLoader> m_pSetLoader;   // made at the first load
    std::unique_ptr<VySavedGame> m_pPendingGame; // a loaded game waiting for its set
};
