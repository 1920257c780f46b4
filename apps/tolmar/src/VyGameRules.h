#pragma once

#include <memory>
#include <optional>
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
// VyGameHost for it; everything runs on the window thread. The state is private: the window, the
// saved-game dialog and the network peer read it through the queries and change it only through the
// operations below, each of which leaves the game in a position the turn cycle can reach.
//
// The turn cycle (each half-move ends when the movement of its piece has finished):
//
//   state  who acts            operation                  movement ends -> NextTurn -> state
//   1      player 1 chooses    ChoosePiece                2
//   2      player 2 places     PlacePiece / computer /    3
//                              peer
//   3      player 2 chooses    ChoosePiece / computer /   4
//                              peer
//   4      player 1 places     PlacePiece                 1
//
// After NextTurn, EndOfMove looks for a win or a full board (states 5, 6), rebuilds the status line
// and wakes the computer on its turn. ChoosePiece and PlacePiece are the local humans' half-moves;
// the computer's answers and the peer's moves come through their own operations, which refuse a
// half-move that is not theirs.
//
// Undo walks the cycle backwards (1->4, 2->1, 3->2, 4->3); against the computer it repeats, each step
// when the previous step's movement ends, until a human's turn. So undo is offered against the
// computer only when the walk reaches a human's turn: in state 4 with nothing placed the computer
// made the game's first choice, and taking it back would leave it to choose again with nobody to
// wake it. CanUndo is false there; the human places the piece or starts a new game.
//
// A half-move movement is running while IsMoving; GetAfterMove says what its end does (VyAfterMove).
// A game saved during a choice or placement is saved as the position that movement leads to: the
// next state of the cycle, with the chosen piece during a choice and the placed piece on its square
// during a placement (a winning or last placement is found again when the file is loaded, as after
// any move). An undo step in flight is saved as the position that step reached.
//
// Loading a saved game repairs what a file of another copy may hold: a placing state without a
// chosen piece (saved during a placement) goes forward to the choosing state that follows the
// placements in the history, counted from the initial state; a choosing state with a chosen piece
// off the board (saved during a choice) goes forward to the placing state with that piece. Never
// backward: the same player never acts twice, and a winning placement is credited to its player.
//
// Piece sets load on the set loader's thread (LoadSet); the rules keep playing on the set in use
// until the new one arrives (SetLoaded) and is swapped in. A saved game that names another set waits
// for it and is applied when it arrives.
class VyGameRules
{
public:
    // random draws the first player for VyFirstPlayer::RANDOM.
    explicit VyGameRules(VyGameHost& host, VyRandom& random = VyRandom::Global());
    // Gives up a set load still running, waiting for its thread.
    ~VyGameRules();
    VyGameRules(const VyGameRules&) = delete;
    VyGameRules& operator=(const VyGameRules&) = delete;

    // ---- the piece set ----

    // Takes over a loaded piece set (which must fit VyCompactSet's limits, as a loaded set does; a set
    // beyond them throws VyException and changes nothing): properties, pieces, squares, combinations, pictures and board
    // data; every piece off the board, no history, no chosen piece, no movement running, and no game
    // (NO_OPPONENT: a game's position belongs to the pieces it was played with); then tells the host
    // (PieceSetChanged, StatusChanged).
    void SetPieceSet(const VyPieceSet& set);
    // Loads the set "sets\<name>\<name>.cfg" (LoadSetFile). A name that is no plain directory name
    // fails as a load does.
    void LoadSet(const VyString& name);
    // The set loader's front end. Nothing when the path names the set in use (a load of another set
    // still running is then given up) or the set already being loaded; otherwise the set loads on the
    // loader's thread behind the host's progress display. Returns whether a load was started.
    bool LoadSetFile(const VyString& path);
    // MSG_SET_LOADED (param1 = the load): swaps the new set in (SetPieceSet), then applies a saved
    // game that waits for it. A stale load number is ignored.
    void SetLoaded(int load);
    // MSG_SET_LOAD_FAILED (param1 = the load). With a set in use the game goes on with it and the
    // failure is shown ("Load Error"); without one, the settings file is deleted and the failure shown
    // as fatal, with the advice to restart.
    void SetLoadFailed(int load);
    bool IsSetLoading() const;

    const VyString& GetSetName() const { return m_set.name; }
    // The board bitmap's file, relative to the set directory.
    const VyString& GetBoardBitmap() const { return m_set.board; }
    VySize GetBoardSize() const { return m_set.boardSize; }
    // Where the anchor of the chosen piece waits.
    VyPoint GetChosenPos() const { return m_set.chosenPos; }
    // Transparent colour of the piece bitmaps, 0xRRGGBB.
    uint32_t GetColorMask() const { return m_set.colorMask; }
    // The board and piece pictures; null before a set with pictures is in use.
    const std::shared_ptr<const VySetImages>& GetSetImages() const { return m_set.images; }
    const std::vector<VyProperty>& GetProperties() const { return m_set.properties; }
    // Every piece with its location (square or -1) and the picture it shows.
    const std::vector<VyPieceInfo>& GetPieces() const { return m_set.pieces; }
    // Every square with the piece on it (or -1).
    const std::vector<VySquare>& GetSquares() const { return m_set.squares; }
    const std::vector<std::vector<int>>& GetWinningCombinations() const { return m_set.combinations; }
    int GetNumberOfPieces() const { return static_cast<int>(m_set.pieces.size()); }
    int GetNumberOfSquares() const { return static_cast<int>(m_set.squares.size()); }

    // ---- saved games ----

    // Writes the game to a stream opened for writing (the saved-game file, VySavedGame); during a
    // half-move movement, the position it leads to (see above).
    void SaveGame(VyIO& stream) const;
    // Reads a saved game and replaces the game with it: at once, or when the set it names has
    // loaded. A file that is not a saved game or of another version is refused with a message box
    // (false). A file that ends early or whose counts exceed it throws VyFileException; a refused or
    // broken file leaves the game as it was. What the file says is made to fit the set in use: pieces
    // and squares that do not exist are ignored, a square holds one piece, the history holds exactly
    // the placed pieces, a state, opponent or level out of range becomes NO_OPPONENT, HUMAN or EASY,
    // AWAITING_ACCEPT outside a network game becomes NO_OPPONENT, an initial state other than 3 is 1,
    // and a half-move saved in flight is completed (see above).
    bool LoadGame(VyIO& stream);
    // Saves to path through VyFile::WriteReplacing: "<path>.tmp", synchronised to the device and renamed
    // over path only when the whole file was written. On failure the old file stays byte for byte (but
    // for a folder that cannot be synchronised after the rename, see there), the temporary file goes,
    // and "Could not write to <path>: <the system's reason>" is shown ("Save Error"), e.g. "...: No space
    // left on device"; a failure without a system call behind it shows "Could not write to <path>".
    // Returns whether the game was saved.
    bool SaveGameFile(const VyString& path);
    // Opens path and loads from it (LoadGame, whose exceptions pass through); a file that cannot be
    // opened is reported as "Could not open <path>" ("Load Error").
    bool LoadGameFile(const VyString& path);
    // Whether Save is offered: a game was started (the state is not NO_OPPONENT).
    bool CanSave() const { return m_state != VyGameState::NO_OPPONENT; }

    // ---- choosing the game ----

    // Who takes the second seat. The game in play or finished ends (NO_OPPONENT, status rebuilt,
    // off-board pieces disabled; a movement running ends nothing and a saved game waiting for its set
    // is dropped); its pieces stay where they are until the next game. Against the computer player 2
    // is named "The computer". The caller asks the user first when IsInPlay.
    void SelectOpponent(VyOpponent opponent);
    // The computer's strength from its next decision on.
    void SetLevel(VyLevel level) { m_level = level; }
    // The Expert's budget per decision (and per hint) in milliseconds, 0 = none, from the next
    // position taken on (TakeComputerPosition).
    void SetExpertTime(unsigned int milliseconds) { m_expertMs = milliseconds; }
    unsigned int GetExpertTime() const { return m_expertMs; }
    // Who chooses first in the next new game.
    void SetFirstPlayer(VyFirstPlayer firstPlayer) { m_firstPlayer = firstPlayer; }
    // A player's name; the status line is rebuilt.
    void SetPlayerName(VyPlayer player, const VyString& name);
    // Piece speed in pixels per second for the movements that start from now on; negative = jump.
    void SetMoveSpeed(float pixelsPerSecond) { m_moveSpeed = pixelsPerSecond; }

    // A new local game (opponent Human or Computer): NewGame, then the position is evaluated: status,
    // pieces, and the computer woken if it chooses first. Also the answer Yes to "play again".
    void StartGame();
    // A new game with the current opponent on a cleared board: the state from the first player (1 or
    // 3), the names stored in the settings, the focus to the game window. Nothing is evaluated yet:
    // for a network game, whose starting state is agreed with the peer (AdoptPeerState); until then
    // the local player can neither choose nor place (IsAwaitingPeerStart).
    void NewGame();

    // ---- the half-moves ----

    // A local human's choice (a click on a piece, the space key). Ignored unless a local human is
    // choosing, no movement runs and piece is a valid piece off the board. Sent to a connected peer.
    void ChoosePiece(int piece);
    // A local human's placement of the chosen piece. Ignored unless a local human is placing, no
    // movement runs and square is a valid empty square. Sent to a connected peer.
    void PlacePiece(int square);
    // The movement of piece has finished (MSG_MOVE_DONE): the turn advances or the undo goes on.
    // Movements that end no half-move are ignored.
    void MoveDone(int piece);

    // The computer's answers (MSG_COMPUTER_PIECE, MSG_COMPUTER_SQUARE). Applied only when generation
    // is still the position's generation and it is still the computer's turn to choose / place:
    // an answer to a position that an undo, a new game or a load replaced is dropped.
    void ApplyComputerPiece(int piece, int generation);
    void ApplyComputerSquare(int square, int generation);
    // A copy of everything the computer decides on (also what a hint is worked out on).
    VyComputerPosition TakeComputerPosition() const;
    // Whether a hint may be asked for: a local human is to choose or place, no movement runs, and
    // the game is not networked.
    bool CanHint() const;

    // The game's messages for the rules: MSG_MOVE_DONE, MSG_COMPUTER_PIECE, MSG_COMPUTER_SQUARE,
    // MSG_SET_LOADED and MSG_SET_LOAD_FAILED go to MoveDone, ApplyComputerPiece, ApplyComputerSquare,
    // SetLoaded and SetLoadFailed. Returns whether the message was one of them.
    bool HandleMessage(const VyMessage& msg);

    // False while a movement runs, when the game is over or not in play, while a network connection
    // is open, and against the computer when only its opening choice could be taken back; otherwise
    // whether a piece is chosen or placed.
    bool CanUndo() const;
    // Takes back the last half-move (see the table above); nothing unless CanUndo.
    void Undo();

    // ---- the square highlighted for placing ----

    // The mouse is over square (NO_SQUARE for none): a valid empty square becomes the highlighted
    // one, anything else clears it. Ignored while a movement runs or unless a local human is placing.
    // Returns whether the highlight changed.
    bool HighlightSquare(int square);
    // Tab: the next (or previous) empty square from the highlighted one, wrapping around, becomes
    // highlighted. Same conditions as HighlightSquare; returns whether it applied.
    bool StepHighlight(VyStep step);
    // A click or the space key: places on the highlighted square (PlacePiece). Returns whether a
    // placement started.
    bool PlaceOnHighlight();
    // NO_SQUARE when none.
    int GetHighlightedSquare() const { return m_highlightedSquare; }
    // Tab while choosing: the off-board piece after (or before) from, wrapping around; from may be
    // INVALID_PIECE. INVALID_PIECE unless a local human is choosing and a piece is off the board.
    int StepChoosablePiece(int from, VyStep step) const;

    // ---- the network peer ----

    // The peer's half-move as it arrives: a choice (square NO_SQUARE) or a placement of the chosen
    // piece (the piece must be the chosen one; reported when not, then placed anyway). A half-move
    // whose movement has not ended yet is completed first (CompleteHalfMoveNow), so that the peer's
    // move is never lost to a movement still running on this side. Ignored unless the game is
    // networked and it is player 2's turn; nothing is sent back.
    void ApplyPeerMove(int piece, int square);
    // Ends the half-move whose movement is running now: its piece jumps to the movement's target (its
    // timer stops, its late report is ignored) and the turn advances as at the movement's end.
    // Nothing when no movement runs or the running one ends no half-move (an undo step).
    void CompleteHalfMoveNow();
    // The local player offered the peer another game: AWAITING_ACCEPT until the peer's state
    // arrives. Ignored unless the game is networked.
    void OfferNewGame();
    // The serving peer's state (wire command 1), on a new game: the joining side (NETWORK_SERVER)
    // mirrors it, PLAYER1_CHOOSES giving PLAYER2_CHOOSES and anything else PLAYER1_CHOOSES; the
    // serving side keeps its own. Then the position is evaluated. Ignored unless networked.
    void AdoptPeerState(VyGameState peerState);
    // The connection closed: the game ends (as SelectOpponent does, the opponent kind kept).
    void ConnectionClosed();
    // Shows "Waiting for <player 2>..." in the status line until the next evaluation.
    void ShowWaitingForPeer();

    // ---- queries ----

    VyGameState GetState() const { return m_state; }
    // The state in which the current game began (PLAYER1_CHOOSES or PLAYER2_CHOOSES).
    VyGameState GetInitialState() const { return m_initialState; }
    VyOpponent GetOpponent() const { return m_opponent; }
    VyLevel GetLevel() const { return m_level; }
    VyFirstPlayer GetFirstPlayer() const { return m_firstPlayer; }
    // The piece chosen and not yet placed, or INVALID_PIECE.
    int GetCurrentPiece() const { return m_currentPiece; }
    // The placed pieces in the order of placement.
    const std::vector<int>& GetHistory() const { return m_history; }
    // The index of the combination that won, -1 if none.
    int GetWinningCombination() const { return m_winningCombination; }
    // The name of the property value the winning line shares.
    const VyString& GetWinningValue() const { return m_winningValue; }
    // The winner as the status line names them ("You" for player 1 against a non-human).
    const VyString& GetWinner() const { return m_winner; }
    const VyString& GetPlayer1Name() const { return m_player1Name; }
    const VyString& GetPlayer2Name() const { return m_player2Name; }
    float GetMoveSpeed() const { return m_moveSpeed; }
    // A half-move movement (or an undo step's) is running: the busy cursor, no input.
    bool IsMoving() const { return m_moving; }
    VyAfterMove GetAfterMove() const { return m_afterMove; }
    // Changes whenever the position changes (the host is told, PositionGenerationChanged); the
    // computer's answers and the hints carry it.
    int GetPositionGeneration() const { return m_positionGeneration; }

    // The status line as last built.
    const VyString& GetStatus() const { return m_status; }
    // The status line as drawn at time now (ms): on the computer's turn 0 to 9 dots, one more every
    // 333 ms from when it was woken.
    VyString GetStatusLine(unsigned int now) const;
    // "James" -> "James'", "Ann" -> "Ann's", "" -> "".
    static VyString Possessive(const VyString& name);

    // The win test on a list of squares (the live board or a copy). value = the shared value's name.
    bool CheckWin(const std::vector<VySquare>& squares, int& combination, VyString& value) const;

    bool IsChoosing() const;
    bool IsPlacing() const;
    // Choosing or placing: a game is running.
    bool IsInPlay() const { return IsChoosing() || IsPlacing(); }
    bool IsHumanChoosing() const;
    bool IsHumanPlacing() const;
    bool IsComputersTurn() const;
    // Every piece is placed, or no square is left for one.
    bool IsBoardFull() const;
    bool IsNetworked() const;
    bool IsGameOver() const;
    // A new network game waits for the peer's state (AdoptPeerState) before anyone acts.
    bool IsAwaitingPeerStart() const { return m_bAwaitingPeerStart; }

private:
    // The position changed: a new generation, and the host is told.
    void NewPosition();
    bool IsValidPiece(int piece) const;
    bool IsValidSquare(int square) const;
    bool IsEmptySquare(int square) const;
    bool IsOffBoard(int piece) const;
    VyPieceInfo& Piece(int piece) { return m_set.pieces[static_cast<size_t>(piece)]; }
    VySquare& Square(int square) { return m_set.squares[static_cast<size_t>(square)]; }
    void StartMovement(int piece, VyPoint target, float speed, VyMoveStyle style, VyAfterMove afterMove);
    // A movement still running ends nothing: no half-move follows it and the busy state ends.
    void AbandonMovement();
    void SetOffBoardInput(VyPieceInput input);
    // Nothing can be chosen now: a piece is being handed over or waits to be placed, or no game runs.
    void DisableOffBoardPieces();
    // The off-board pieces take choices exactly while a local human chooses.
    void OfferOffBoardPieces();
    void SetPieceImage(int piece, VyPieceImage image);
    void ApplyChoice(int piece);
    void ApplyPlacement(int square);
    // The local player's half-move goes to a connected peer first.
    bool ShouldSendToPeer() const;
    void NextTurn();
    // Evaluates the position after a move, a new game or a loaded game.
    void EndOfMove();
    void EvaluateChoosingPosition();
    void ShowWin(int combination, const VyString& value);
    // The game in play or finished ends: NO_OPPONENT, nothing can be chosen.
    void EndGame();
    // Every piece back to its start at once, every square empty, history and choice cleared; a
    // half-move movement in flight no longer ends the half-move. The state is not changed.
    void ResetBoard();
    bool TakeBackPlacement();
    bool TakeBackChoice();
    void WakeComputer();
    void UpdateStatus();
    VyString StatusText() const;
    VyString WonText() const;
    VySetLoader& Loader();
    // The set called name is the one the pieces come from.
    bool IsSetInUse(const VyString& name) const;
    void DropPendingGame();
    void FailSetLoad(const VyString& failure);
    VySavedGame SavedPosition() const;
    void ApplySavedGame(const VySavedGame& saved);
    void ApplySavedSettings(const VySavedGame& saved);
    void PlaceLoadedPieces(const std::vector<int>& locations);
    void RebuildHistory(const std::vector<int>& saved);
    void ApplySavedChoice(int savedPiece);
    // The choosing state after the placements in the history, counted from the initial state.
    VyGameState ChoosingStateAfterHistory() const;
    void ShowLoadedWin();

    VyGameHost& m_host;
    VyRandom& m_random;

    // The piece set, with the live locations of its pieces and the pieces on its squares.
    VyPieceSet m_set;
    std::shared_ptr<const VyCompactSet> m_pCompactSet; // the set as the computer sees it

    // The game.
    VyGameState m_state = VyGameState::NO_OPPONENT;
    VyGameState m_initialState = VyGameState::PLAYER1_CHOOSES;
    VyOpponent m_opponent = VyOpponent::HUMAN;
    VyLevel m_level = VyLevel::EASY;
    unsigned int m_expertMs = 2000;
    VyFirstPlayer m_firstPlayer = VyFirstPlayer::PLAYER1;
    int m_currentPiece = INVALID_PIECE;
    bool m_bAwaitingPeerStart = false;
    std::vector<int> m_history;
    int m_winningCombination = -1;
    VyString m_winningValue;
    VyString m_winner;
    VyString m_player1Name;
    VyString m_player2Name;

    // The turn flow shared with the window.
    VyString m_status;
    int m_highlightedSquare = NO_SQUARE;
    bool m_moving = false;
    VyAfterMove m_afterMove = VyAfterMove::NOTHING;
    float m_moveSpeed = 300.0f;
    unsigned int m_thinkStart = 0;

    int m_movingPiece = INVALID_PIECE; // the piece whose movement ends the running half-move
    std::optional<VyPoint> m_movingTarget; // where it goes; none when it stays in place
    int m_positionGeneration = 0;
    std::unique_ptr<VySetLoader> m_pSetLoader;   // made at the first load
    std::unique_ptr<VySavedGame> m_pPendingGame; // a loaded game waiting for its set
};
