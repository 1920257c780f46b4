#include "VyGameRules.h"

#include <algorithm>

#include "VySavedGame.h"
#include "VySetLoader.h"
#include "VyWinningLine.h"
#include "vyio/VyFile.h"
#include "vythread/VyClock.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
const char* const SET_FAILURE_ADVICE =
    "\n\nYour Tolmar settings are being set back to their defaults.  Please restart this application.  If this "
    "does not fix the problem then reinstall Tolmar.\n\nThe program will now exit.";
const char* const COMPUTER_NAME = "The computer";

// The state a finished half-move leads to; states outside the cycle stay.
VyGameState NextState(VyGameState state)
{
    switch (state)
    {
    case VyGameState::PLAYER1_CHOOSES: return VyGameState::PLAYER2_PLACES;
    case VyGameState::PLAYER2_PLACES: return VyGameState::PLAYER2_CHOOSES;
    case VyGameState::PLAYER2_CHOOSES: return VyGameState::PLAYER1_PLACES;
    case VyGameState::PLAYER1_PLACES: return VyGameState::PLAYER1_CHOOSES;
    default: return state;
    }
}

VyGameState OtherChooser(VyGameState chooser)
{
    return chooser == VyGameState::PLAYER1_CHOOSES ? VyGameState::PLAYER2_CHOOSES : VyGameState::PLAYER1_CHOOSES;
}

// One step through count entries from index, wrapping around; from outside the range the first
// step lands on the first (NEXT) or the last (PREVIOUS) entry.
int StepIndex(int index, int count, VyStep step)
{
    const bool inside = index >= 0 && index < count;
    if (step == VyStep::NEXT)
        return inside ? (index + 1) % count : 0;
    return inside ? (index + count - 1) % count : count - 1;
}
} // namespace

VyGameRules::VyGameRules(VyGameHost& host, VyRandom& random) : m_host(host), m_random(random)
{
    // The host may still be under construction (the window owns the rules): do not call it yet.
    m_status = StatusText();
}

VyGameRules::~VyGameRules() = default;

// ---- small helpers ----

bool VyGameRules::IsValidPiece(int piece) const
{
    return piece >= 0 && piece < GetNumberOfPieces();
}

bool VyGameRules::IsValidSquare(int square) const
{
    return square >= 0 && square < GetNumberOfSquares();
}

bool VyGameRules::IsEmptySquare(int square) const
{
    return IsValidSquare(square) && m_set.squares[static_cast<size_t>(square)].piece == INVALID_PIECE;
}

bool VyGameRules::IsOffBoard(int piece) const
{
    return IsValidPiece(piece) && m_set.pieces[static_cast<size_t>(piece)].location == NO_SQUARE;
}

// ---- the piece set ----

void VyGameRules::SetPieceSet(const VyPieceSet& set)
{
    auto pCompact = std::make_shared<const VyCompactSet>(set.squares.size(), set.pieces, set.properties.size(),
                                                         set.combinations);
    // A movement still running belongs to the old pieces, and so does any game.
    AbandonMovement();
    DropPendingGame();
    m_set = set;
    m_pCompactSet = std::move(pCompact);
    for (VyPieceInfo& piece : m_set.pieces)
    {
        piece.location = NO_SQUARE;
        piece.image = VyPieceImage::NORMAL;
    }
    for (VySquare& square : m_set.squares)
        square.piece = INVALID_PIECE;
    m_history.clear();
    m_currentPiece = INVALID_PIECE;
    m_highlightedSquare = NO_SQUARE;
    m_winningCombination = -1;
    m_state = VyGameState::NO_OPPONENT;
    NewPosition();
    m_host.PieceSetChanged();
    UpdateStatus();
}

VySetLoader& VyGameRules::Loader()
{
    if (!m_pSetLoader)
        m_pSetLoader = std::make_unique<VySetLoader>(m_host.GetMessageTarget(), m_host.GetSetLoadProgress());
    return *m_pSetLoader;
}

bool VyGameRules::IsSetLoading() const
{
    return m_pSetLoader && m_pSetLoader->IsLoading();
}

bool VyGameRules::IsSetInUse(const VyString& name) const
{
    return name == m_set.name && !m_set.pieces.empty();
}

void VyGameRules::LoadSet(const VyString& name)
{
    if (!VySetLoader::IsValidSetName(name))
    {
        FailSetLoad(VyException("VyGameWnd", "LoadSet", "\"" + name + "\" is not the name of a piece set").GetMessage());
        return;
    }
    LoadSetFile(VySetLoader::PathOfSet(name));
}

bool VyGameRules::LoadSetFile(const VyString& path)
{
    const VyString name = VySetLoader::NameOfSet(path);
    if (IsSetInUse(name))
    {
        if (IsSetLoading())
            m_pSetLoader->Cancel();
        return false;
    }
    if (IsSetLoading() && m_pSetLoader->GetLoadingName() == name)
        return false;
    Loader().Start(path);
    return true;
}

void VyGameRules::DropPendingGame()
{
    if (!m_pPendingGame)
        return;
    // The set was wanted only for the saved game.
    m_pPendingGame.reset();
    if (IsSetLoading())
        m_pSetLoader->Cancel();
}

void VyGameRules::SetLoaded(int load)
{
    VyPieceSet set;
    VyString failure;
    if (!m_pSetLoader || m_pSetLoader->Take(load, set, failure) != VySetLoader::VY_LOAD_DONE)
        return;
    std::unique_ptr<VySavedGame> pending = std::move(m_pPendingGame);
    SetPieceSet(set);
    if (pending)
        ApplySavedGame(*pending);
}

void VyGameRules::SetLoadFailed(int load)
{
    VyPieceSet unused;
    VyString failure;
    if (!m_pSetLoader || m_pSetLoader->Take(load, unused, failure) != VySetLoader::VY_LOAD_FAILED)
        return;
    FailSetLoad(failure);
}

void VyGameRules::FailSetLoad(const VyString& failure)
{
    m_pPendingGame.reset();
    const VyString text = failure.empty() ? VyString("Failed to load game set for unknown reason.") : failure;
    if (!m_set.pieces.empty())
    {
        // The set in use is untouched: the game goes on with it.
        m_host.ShowMessageBox(text, "Load Error");
        return;
    }
    m_host.DeleteGameSettings();
    m_host.ShowFatalError(text + SET_FAILURE_ADVICE);
}

// ---- predicates ----

bool VyGameRules::IsChoosing() const
{
    return IsChoosingState(m_state);
}

bool VyGameRules::IsPlacing() const
{
    return IsPlacingState(m_state);
}

bool VyGameRules::IsHumanChoosing() const
{
    return !m_bAwaitingPeerStart &&
           (m_state == VyGameState::PLAYER1_CHOOSES ||
            (m_state == VyGameState::PLAYER2_CHOOSES && m_opponent == VyOpponent::HUMAN));
}

bool VyGameRules::IsHumanPlacing() const
{
    return !m_bAwaitingPeerStart &&
           (m_state == VyGameState::PLAYER1_PLACES ||
            (m_state == VyGameState::PLAYER2_PLACES && m_opponent == VyOpponent::HUMAN));
}

bool VyGameRules::IsComputersTurn() const
{
    return m_opponent == VyOpponent::COMPUTER &&
           (m_state == VyGameState::PLAYER2_PLACES || m_state == VyGameState::PLAYER2_CHOOSES);
}

bool VyGameRules::IsBoardFull() const
{
    // A set with fewer squares than pieces fills up before every piece is placed; without this the
    // game could neither go on nor end.
    const bool allPlaced = std::all_of(m_set.pieces.begin(), m_set.pieces.end(),
                                       [](const VyPieceInfo& piece) { return piece.location != NO_SQUARE; });
    const bool noSquareLeft = std::all_of(m_set.squares.begin(), m_set.squares.end(),
                                          [](const VySquare& square) { return square.piece != INVALID_PIECE; });
    return allPlaced || noSquareLeft;
}

bool VyGameRules::IsNetworked() const
{
    return m_opponent == VyOpponent::NETWORK_CLIENT || m_opponent == VyOpponent::NETWORK_SERVER;
}

bool VyGameRules::IsGameOver() const
{
    return m_state == VyGameState::GAME_WON || m_state == VyGameState::GAME_TIED;
}

// ---- movements ----

void VyGameRules::AbandonMovement()
{
    m_afterMove = VyAfterMove::NOTHING;
    m_movingPiece = INVALID_PIECE;
    m_movingTarget.reset();
    if (!m_moving)
        return;
    m_moving = false;
    m_host.SetBusy(m_moving);
}

void VyGameRules::StartMovement(int piece, VyPoint target, float speed, VyMoveStyle style, VyAfterMove afterMove)
{
    m_afterMove = afterMove;
    m_movingPiece = piece;
    m_movingTarget.reset();
    if (style != VyMoveStyle::STAY_IN_PLACE)
        m_movingTarget = target;
    m_moving = true;
    m_host.SetBusy(m_moving);
    m_host.MovePiece(piece, target, speed, style);
}

void VyGameRules::MoveDone(int piece)
{
    if (!m_moving || piece != m_movingPiece)
        return;
    const VyAfterMove action = m_afterMove;
    AbandonMovement();
    if (action == VyAfterMove::NEXT_TURN)
        NextTurn();
    else if (action == VyAfterMove::UNDO)
        Undo();
}

void VyGameRules::CompleteHalfMoveNow()
{
    if (!m_moving || m_afterMove != VyAfterMove::NEXT_TURN)
        return;
    if (m_movingTarget)
        m_host.PlacePieceAt(m_movingPiece, *m_movingTarget);
    AbandonMovement();
    NextTurn();
}

void VyGameRules::SetOffBoardInput(VyPieceInput input)
{
    for (int i = 0; i < GetNumberOfPieces(); ++i)
        if (IsOffBoard(i))
            m_host.SetPieceInput(i, input);
}

void VyGameRules::DisableOffBoardPieces()
{
    SetOffBoardInput(VyPieceInput::DISABLED);
}

void VyGameRules::OfferOffBoardPieces()
{
    SetOffBoardInput(IsHumanChoosing() ? VyPieceInput::ENABLED : VyPieceInput::DISABLED);
}

void VyGameRules::SetPieceImage(int piece, VyPieceImage image)
{
    Piece(piece).image = image;
    m_host.SetPieceImage(piece, image);
}

// ---- the half-moves ----

void VyGameRules::ChoosePiece(int piece)
{
    if (IsHumanChoosing())
        ApplyChoice(piece);
}

void VyGameRules::PlacePiece(int square)
{
    if (IsHumanPlacing())
        ApplyPlacement(square);
}

bool VyGameRules::ShouldSendToPeer() const
{
    return IsNetworked() && m_host.IsNetworkConnected() && (IsHumanChoosing() || IsHumanPlacing());
}

void VyGameRules::ApplyChoice(int piece)
{
    // A piece on the board cannot be handed over again (a peer could name one).
    if (!IsChoosing() || m_moving || !IsOffBoard(piece))
        return;
    if (ShouldSendToPeer())
        m_host.SendMove(piece, NO_SQUARE);
    // Against the computer the human's choice stays where it is until the computer places it.
    const bool stays = m_opponent == VyOpponent::COMPUTER && IsHumanChoosing();
    m_currentPiece = piece;
    NewPosition();
    DisableOffBoardPieces();
    m_host.FocusGameWindow();
    StartMovement(piece, m_set.chosenPos, m_moveSpeed, stays ? VyMoveStyle::STAY_IN_PLACE : VyMoveStyle::TRAVEL,
                  VyAfterMove::NEXT_TURN);
}

void VyGameRules::ApplyPlacement(int square)
{
    // Placing on an occupied square would leave two pieces claiming it.
    if (!IsPlacing() || !IsValidPiece(m_currentPiece) || !IsEmptySquare(square) || m_moving)
        return;
    if (ShouldSendToPeer())
        m_host.SendMove(m_currentPiece, square);
    const int piece = m_currentPiece;
    m_history.push_back(piece);
    Square(square).piece = piece;
    Piece(piece).location = square;
    m_currentPiece = INVALID_PIECE;
    m_highlightedSquare = NO_SQUARE;
    NewPosition();
    m_host.Restack();
    StartMovement(piece, Square(square).center, m_moveSpeed, VyMoveStyle::TRAVEL, VyAfterMove::NEXT_TURN);
}

void VyGameRules::NextTurn()
{
    m_state = NextState(m_state);
    EndOfMove();
}

void VyGameRules::EndOfMove()
{
    if (!IsChoosing())
    {
        // A piece waits to be placed (or the game is not in play): nothing may be chosen now.
        DisableOffBoardPieces();
        m_host.RefreshHighlight();
    }
    else
        EvaluateChoosingPosition();
    UpdateStatus();
    if (!IsGameOver())
        WakeComputer();
    else
        m_host.AskPlayAgain();
}

void VyGameRules::EvaluateChoosingPosition()
{
    int combination = -1;
    VyString value;
    if (CheckWin(m_set.squares, combination, value))
        ShowWin(combination, value);
    else if (IsBoardFull())
        m_state = VyGameState::GAME_TIED;
    else
        OfferOffBoardPieces();
}

void VyGameRules::ShowWin(int combination, const VyString& value)
{
    m_winningCombination = combination;
    m_winningValue = value;
    // In a choosing state the player who just placed is the one who did not choose before.
    if (m_state != VyGameState::PLAYER1_CHOOSES)
        m_winner = m_player2Name;
    else
        m_winner = m_opponent == VyOpponent::HUMAN ? m_player1Name : VyString("You");
    m_state = VyGameState::GAME_WON;
    for (int i = 0; i < GetNumberOfPieces(); ++i)
        SetPieceImage(i, VyPieceImage::GREYED);
    for (int square : m_set.combinations[static_cast<size_t>(combination)])
    {
        const int piece = Square(square).piece;
        if (IsValidPiece(piece))
            SetPieceImage(piece, VyPieceImage::NORMAL);
    }
}

bool VyGameRules::CheckWin(const std::vector<VySquare>& squares, int& combination, VyString& value) const
{
    int property = -1;
    int valueIndex = -1;
    if (!VyWinningLine::Find(squares, m_set.pieces, m_set.properties.size(), m_set.combinations, combination,
                             property, valueIndex))
        return false;
    value = m_set.properties[static_cast<size_t>(property)].ValueName(valueIndex);
    return true;
}

// ---- choosing the game ----

void VyGameRules::EndGame()
{
    AbandonMovement();
    DropPendingGame();
    m_bAwaitingPeerStart = false;
    m_state = VyGameState::NO_OPPONENT;
    m_highlightedSquare = NO_SQUARE;
    NewPosition();
    DisableOffBoardPieces();
    UpdateStatus();
}

void VyGameRules::SelectOpponent(VyOpponent opponent)
{
    m_opponent = opponent;
    if (opponent == VyOpponent::COMPUTER)
        m_player2Name = COMPUTER_NAME;
    EndGame();
}

void VyGameRules::SetPlayerName(VyPlayer player, const VyString& name)
{
    (player == VyPlayer::PLAYER1 ? m_player1Name : m_player2Name) = name;
    UpdateStatus();
}

void VyGameRules::NewGame()
{
    VyGameState state = VyGameState::PLAYER1_CHOOSES;
    switch (m_firstPlayer)
    {
    case VyFirstPlayer::PLAYER1: break;
    case VyFirstPlayer::PLAYER2: state = VyGameState::PLAYER2_CHOOSES; break;
    case VyFirstPlayer::RANDOM:
        state = m_random.Next() % 2 == 1 ? VyGameState::PLAYER2_CHOOSES : VyGameState::PLAYER1_CHOOSES;
        break;
    default: VY_ASSERT_TEXT(false, "false"); break; // player 1 starts
    }
    m_state = state;
    m_initialState = state;
    m_bAwaitingPeerStart = IsNetworked();
    m_host.StorePlayerName(VyPlayer::PLAYER1, m_player1Name);
    if (m_opponent != VyOpponent::COMPUTER)
        m_host.StorePlayerName(VyPlayer::PLAYER2, m_player2Name);
    ResetBoard();
    // Nothing may be chosen before the position is evaluated.
    DisableOffBoardPieces();
    m_host.FocusGameWindow();
}

void VyGameRules::StartGame()
{
    NewGame();
    EndOfMove();
}

void VyGameRules::ResetBoard()
{
    // A saved game waiting for its set is replaced by whatever reset the board.
    DropPendingGame();
    // A movement still running belongs to the old position: its end must not advance the new one.
    AbandonMovement();
    for (int i = 0; i < GetNumberOfPieces(); ++i)
    {
        Piece(i).location = NO_SQUARE;
        SetPieceImage(i, VyPieceImage::NORMAL);
        m_host.PlacePieceAt(i, Piece(i).StartAnchor());
    }
    for (VySquare& square : m_set.squares)
        square.piece = INVALID_PIECE;
    m_host.Restack();
    m_history.clear();
    m_currentPiece = INVALID_PIECE;
    m_highlightedSquare = NO_SQUARE;
    NewPosition();
}

// ---- undo ----

bool VyGameRules::CanUndo() const
{
    if (m_moving || !IsInPlay() || m_host.IsNetworkConnected())
        return false;
    // The computer chose first and nothing is placed: the walk back would end on its turn.
    if (m_opponent == VyOpponent::COMPUTER && m_state == VyGameState::PLAYER1_PLACES && m_history.empty())
        return false;
    if (m_currentPiece != INVALID_PIECE)
        return true;
    return !m_history.empty();
}

void VyGameRules::Undo()
{
    if (!CanUndo())
        return;
    bool moved = false;
    m_highlightedSquare = NO_SQUARE;
    switch (m_state)
    {
    case VyGameState::PLAYER1_CHOOSES: m_state = VyGameState::PLAYER1_PLACES; moved = TakeBackPlacement(); break;
    case VyGameState::PLAYER2_PLACES: m_state = VyGameState::PLAYER1_CHOOSES; moved = TakeBackChoice(); break;
    case VyGameState::PLAYER2_CHOOSES: m_state = VyGameState::PLAYER2_PLACES; moved = TakeBackPlacement(); break;
    case VyGameState::PLAYER1_PLACES: m_state = VyGameState::PLAYER2_CHOOSES; moved = TakeBackChoice(); break;
    default: return;
    }
    NewPosition();
    if (IsComputersTurn())
    {
        // Against the computer an undo always goes back to a human's turn: the next step follows
        // when this step's movement ends, or at once when nothing had to move.
        if (moved)
            m_afterMove = VyAfterMove::UNDO;
        else
            Undo();
        return;
    }
    UpdateStatus();
    m_host.Restack();
    OfferOffBoardPieces();
}

bool VyGameRules::TakeBackPlacement()
{
    if (m_history.empty())
        return false;
    const int piece = m_history.back();
    m_history.pop_back();
    if (!IsValidPiece(piece))
        return false;
    if (IsValidSquare(Piece(piece).location))
        Square(Piece(piece).location).piece = INVALID_PIECE;
    Piece(piece).location = NO_SQUARE;
    m_currentPiece = piece;
    // The computer's placements go back without animation: its turn is skipped over at once.
    const bool jump = m_opponent == VyOpponent::COMPUTER && !IsHumanPlacing();
    StartMovement(piece, m_set.chosenPos, jump ? -1.0f : m_moveSpeed, VyMoveStyle::TRAVEL, VyAfterMove::NOTHING);
    return true;
}

bool VyGameRules::TakeBackChoice()
{
    VY_ASSERT_TEXT(m_currentPiece != INVALID_PIECE, "m_currentPiece!=INVALID_PIECE");
    if (!IsValidPiece(m_currentPiece))
    {
        m_currentPiece = INVALID_PIECE;
        return false;
    }
    const int piece = m_currentPiece;
    m_currentPiece = INVALID_PIECE;
    Piece(piece).location = NO_SQUARE;
    SetPieceImage(piece, VyPieceImage::NORMAL);
    StartMovement(piece, Piece(piece).StartAnchor(), m_moveSpeed, VyMoveStyle::TRAVEL, VyAfterMove::NOTHING);
    return true;
}

// ---- the square highlighted for placing ----

bool VyGameRules::HighlightSquare(int square)
{
    if (m_moving || !IsHumanPlacing())
        return false;
    const int wanted = IsEmptySquare(square) ? square : NO_SQUARE;
    if (wanted == m_highlightedSquare)
        return false;
    m_highlightedSquare = wanted;
    return true;
}

bool VyGameRules::StepHighlight(VyStep step)
{
    if (m_moving || !IsHumanPlacing())
        return false;
    int square = m_highlightedSquare;
    for (int tries = 0; tries < GetNumberOfSquares(); ++tries)
    {
        square = StepIndex(square, GetNumberOfSquares(), step);
        if (IsEmptySquare(square))
        {
            m_highlightedSquare = square;
            return true;
        }
    }
    return false;
}

bool VyGameRules::PlaceOnHighlight()
{
    if (m_moving || !IsEmptySquare(m_highlightedSquare))
        return false;
    PlacePiece(m_highlightedSquare);
    return m_moving;
}

int VyGameRules::StepChoosablePiece(int from, VyStep step) const
{
    if (!IsHumanChoosing())
        return INVALID_PIECE;
    int piece = from;
    for (int tries = 0; tries < GetNumberOfPieces(); ++tries)
    {
        piece = StepIndex(piece, GetNumberOfPieces(), step);
        if (IsOffBoard(piece))
            return piece;
    }
    return INVALID_PIECE;
}

// ---- the network peer ----

void VyGameRules::ApplyPeerMove(int piece, int square)
{
    if (!IsNetworked())
        return;
    CompleteHalfMoveNow();
    if (square == NO_SQUARE)
    {
        if (m_state == VyGameState::PLAYER2_CHOOSES)
            ApplyChoice(piece);
        return;
    }
    VY_ASSERT_TEXT(piece == m_currentPiece, "pMoveMsg->m_piece==m_currentPiece");
    if (m_state == VyGameState::PLAYER2_PLACES)
        ApplyPlacement(square);
}

void VyGameRules::OfferNewGame()
{
    if (!IsNetworked())
        return;
    AbandonMovement();
    m_state = VyGameState::AWAITING_ACCEPT;
    NewPosition();
    DisableOffBoardPieces();
    UpdateStatus();
}

void VyGameRules::AdoptPeerState(VyGameState peerState)
{
    if (!IsNetworked())
        return;
    // Only a fresh game takes the peer's start: a state in mid-game would not fit the board.
    const bool fresh = m_history.empty() && m_currentPiece == INVALID_PIECE && !m_moving;
    m_bAwaitingPeerStart = false;
    if (m_opponent == VyOpponent::NETWORK_SERVER && fresh)
    {
        m_state = peerState == VyGameState::PLAYER1_CHOOSES ? VyGameState::PLAYER2_CHOOSES
                                                            : VyGameState::PLAYER1_CHOOSES;
        m_initialState = m_state;
        NewPosition();
    }
    EndOfMove();
}

void VyGameRules::ConnectionClosed()
{
    EndGame();
}

void VyGameRules::ShowWaitingForPeer()
{
    m_status = "Waiting for " + m_player2Name + "...";
    m_host.StatusChanged();
}

// ---- the computer ----

void VyGameRules::WakeComputer()
{
    if (!IsComputersTurn())
        return;
    m_thinkStart = VyClock::TickCount();
    m_host.WakeComputer(TakeComputerPosition());
}

void VyGameRules::NewPosition()
{
    ++m_positionGeneration;
    m_host.PositionGenerationChanged(m_positionGeneration);
}

bool VyGameRules::CanHint() const
{
    if (m_moving || IsNetworked() || !IsInPlay())
        return false;
    return IsHumanChoosing() || IsHumanPlacing();
}

VyComputerPosition VyGameRules::TakeComputerPosition() const
{
    VyComputerPosition position;
    position.squares = m_set.squares;
    position.pieces = m_set.pieces;
    position.propertyCount = m_set.properties.size();
    position.combinations = m_set.combinations;
    position.currentPiece = m_currentPiece;
    position.state = m_state;
    position.level = m_level;
    position.generation = m_positionGeneration;
    position.expertMs = m_expertMs;
    position.compact = m_pCompactSet;
    return position;
}

void VyGameRules::ApplyComputerPiece(int piece, int generation)
{
    if (generation != m_positionGeneration || m_state != VyGameState::PLAYER2_CHOOSES || !IsComputersTurn())
    {
        VyTrace::Write("VyGameRules : the computer's piece answers an older position; dropped\n");
        return;
    }
    ApplyChoice(piece);
}

void VyGameRules::ApplyComputerSquare(int square, int generation)
{
    if (generation != m_positionGeneration || m_state != VyGameState::PLAYER2_PLACES || !IsComputersTurn())
    {
        VyTrace::Write("VyGameRules : the computer's square answers an older position; dropped\n");
        return;
    }
    ApplyPlacement(square);
}

bool VyGameRules::HandleMessage(const VyMessage& msg)
{
    switch (msg.id)
    {
    case MSG_MOVE_DONE: MoveDone(msg.param1); return true;
    case MSG_COMPUTER_PIECE: ApplyComputerPiece(msg.param1, msg.param2); return true;
    case MSG_COMPUTER_SQUARE: ApplyComputerSquare(msg.param1, msg.param2); return true;
    case MSG_SET_LOADED: SetLoaded(msg.param1); return true;
    case MSG_SET_LOAD_FAILED: SetLoadFailed(msg.param1); return true;
    default: return false;
    }
}

// ---- the status line ----

VyString VyGameRules::Possessive(const VyString& name)
{
    if (name.empty())
        return name;
    const char last = name.back();
    return name + (last == 's' || last == 'S' ? "'" : "'s");
}

VyString VyGameRules::StatusText() const
{
    const bool computer = m_opponent == VyOpponent::COMPUTER;
    const VyString player1 = m_opponent == VyOpponent::HUMAN ? Possessive(m_player1Name) : VyString("Your");
    switch (m_state)
    {
    case VyGameState::PLAYER1_CHOOSES: return player1 + " turn to chose a piece";
    case VyGameState::PLAYER2_PLACES:
        return computer ? VyString("The computer is placing a piece") : Possessive(m_player2Name) + " turn to place the piece";
    case VyGameState::PLAYER2_CHOOSES:
        return computer ? VyString("The computer is chosing a piece") : Possessive(m_player2Name) + " turn to chose a piece";
    case VyGameState::PLAYER1_PLACES: return player1 + " turn to place the piece";
    case VyGameState::GAME_WON: return WonText();
    case VyGameState::GAME_TIED: return "Game ended in a tie";
    case VyGameState::NO_OPPONENT: return "Please select an opponent from the Game menu.";
    case VyGameState::AWAITING_ACCEPT: return "Waiting for " + m_player2Name + " to accept a new game.";
    }
    VY_ASSERT_TEXT(false, "false");
    return m_status;
}

VyString VyGameRules::WonText() const
{
    const bool valid =
        m_winningCombination >= 0 && static_cast<size_t>(m_winningCombination) < m_set.combinations.size();
    VY_ASSERT_TEXT(valid, "m_winningCombination>=0 && m_winningCombination<m_winningCombinations.size()");
    if (!valid)
        return m_winner.empty() ? VyString("The game was won.") : m_winner + " won.";
    const size_t count = m_set.combinations[static_cast<size_t>(m_winningCombination)].size();
    return m_winner + " won by getting " + std::to_string(count) + " " + m_winningValue + " pieces in a row.";
}

void VyGameRules::UpdateStatus()
{
    m_status = StatusText();
    m_host.StatusChanged();
}

VyString VyGameRules::GetStatusLine(unsigned int now) const
{
    if (!IsComputersTurn())
        return m_status;
    const unsigned int dots = ((now - m_thinkStart) / 333u) % 10u;
    return m_status + VyString(dots, '.');
}

// ---- saved games ----

VySavedGame VyGameRules::SavedPosition() const
{
    VySavedGame saved;
    saved.player1Name = m_player1Name;
    saved.player2Name = m_player2Name;
    // A half-move in flight has already changed the board and the choice; only its turn is due.
    const bool halfMoveDue = m_moving && m_afterMove == VyAfterMove::NEXT_TURN;
    saved.state = VyNumberOf(halfMoveDue ? NextState(m_state) : m_state);
    saved.initialState = VyNumberOf(m_initialState);
    saved.opponent = VyNumberOf(m_opponent);
    saved.history = m_history;
    for (const VyPieceInfo& piece : m_set.pieces)
        saved.locations.push_back(piece.location);
    saved.currentPiece = m_currentPiece;
    saved.level = VyNumberOf(m_level);
    saved.setName = m_set.name;
    return saved;
}

void VyGameRules::SaveGame(VyIO& stream) const
{
    SavedPosition().Write(stream);
}

bool VyGameRules::LoadGame(VyIO& stream)
{
    auto saved = std::make_unique<VySavedGame>();
    switch (saved->Read(stream))
    {
    case VySavedGame::VY_NOT_A_SAVED_GAME:
        m_host.ShowMessageBox("This is not a Tolmar saved game.", "Tolmar");
        return false;
    case VySavedGame::VY_OTHER_VERSION:
        m_host.ShowMessageBox("This might be a Tolmar saved game, but it was saved with a different version of Tolmar",
                              "Tolma");
        return false;
    case VySavedGame::VY_SAVED_GAME_READ: break;
    }
    if (!VySetLoader::IsValidSetName(saved->setName))
    {
        m_host.ShowMessageBox("This saved game names the piece set \"" + saved->setName + "\", which cannot be loaded.",
                              "Load Error");
        return false;
    }
    if (IsSetInUse(saved->setName))
    {
        if (IsSetLoading())
            m_pSetLoader->Cancel();
        m_pPendingGame.reset();
        ApplySavedGame(*saved);
        return true;
    }
    // Another set: the game is applied when it has arrived (SetLoaded).
    m_pPendingGame = std::move(saved);
    LoadSet(m_pPendingGame->setName);
    return true;
}

void VyGameRules::ApplySavedGame(const VySavedGame& saved)
{
    ResetBoard();
    m_bAwaitingPeerStart = false;
    ApplySavedSettings(saved);
    PlaceLoadedPieces(saved.locations);
    RebuildHistory(saved.history);
    ApplySavedChoice(saved.currentPiece);
    NewPosition();
    m_host.Restack();
    if (m_state == VyGameState::GAME_WON)
        ShowLoadedWin();
    EndOfMove();
}

void VyGameRules::ApplySavedSettings(const VySavedGame& saved)
{
    m_player1Name = saved.player1Name;
    m_player2Name = saved.player2Name;
    m_state = VyGameStateFromNumber(saved.state).value_or(VyGameState::NO_OPPONENT);
    // Only the two choosing states begin a game; the initial state decides who placed which piece.
    const bool player2First = saved.initialState == VyNumberOf(VyGameState::PLAYER2_CHOOSES);
    m_initialState = player2First ? VyGameState::PLAYER2_CHOOSES : VyGameState::PLAYER1_CHOOSES;
    m_opponent = VyOpponentFromNumber(saved.opponent).value_or(VyOpponent::HUMAN);
    m_level = VyLevelFromNumber(saved.level).value_or(VyLevel::EASY);
    // Only a network game waits for its peer to accept; any other would wait for nobody.
    if (m_state == VyGameState::AWAITING_ACCEPT && !IsNetworked())
        m_state = VyGameState::NO_OPPONENT;
}

void VyGameRules::PlaceLoadedPieces(const std::vector<int>& locations)
{
    VY_ASSERT_TEXT(locations.size() == m_set.pieces.size(), "pieceLocation.size()==m_pieces.size()");
    const size_t count = std::min(locations.size(), m_set.pieces.size());
    for (size_t i = 0; i < count; ++i)
    {
        const int square = locations[i];
        // A second piece naming an occupied square stays off the board.
        if (!IsEmptySquare(square))
            continue;
        Square(square).piece = static_cast<int>(i);
        m_set.pieces[i].location = square;
        m_host.PlacePieceAt(static_cast<int>(i), Square(square).center);
    }
}

// The saved order where it names placed pieces once each; placed pieces it leaves out follow in
// square order, so that undo can still take them back.
void VyGameRules::RebuildHistory(const std::vector<int>& saved)
{
    m_history.clear();
    std::vector<bool> listed(m_set.pieces.size(), false);
    for (int piece : saved)
    {
        if (!IsValidPiece(piece) || listed[static_cast<size_t>(piece)] || IsOffBoard(piece))
            continue;
        listed[static_cast<size_t>(piece)] = true;
        m_history.push_back(piece);
    }
    for (const VySquare& square : m_set.squares)
        if (square.piece != INVALID_PIECE && !listed[static_cast<size_t>(square.piece)])
        {
            listed[static_cast<size_t>(square.piece)] = true;
            m_history.push_back(square.piece);
        }
}

// Only a placing state has a chosen piece, and it has one: without it nobody could move. A file
// saved during a half-move's movement is completed forward (see the header).
void VyGameRules::ApplySavedChoice(int savedPiece)
{
    const bool usable = IsOffBoard(savedPiece) && !IsBoardFull();
    m_currentPiece = INVALID_PIECE;
    if (IsPlacing() && !usable)
        m_state = ChoosingStateAfterHistory();
    else if (IsChoosing() && usable)
        m_state = NextState(m_state);
    if (!IsPlacing())
        return;
    m_currentPiece = savedPiece;
    m_host.PlacePieceAt(savedPiece, m_set.chosenPos);
}

VyGameState VyGameRules::ChoosingStateAfterHistory() const
{
    // Placements alternate from the game's first one, which the player who did not choose first made.
    return m_history.size() % 2 == 0 ? m_initialState : OtherChooser(m_initialState);
}

// The file keeps neither the winning line nor the winner: both are found again on the board. The
// winner is the player who placed last.
void VyGameRules::ShowLoadedWin()
{
    int combination = -1;
    VyString value;
    if (!CheckWin(m_set.squares, combination, value))
    {
        // Over without a line: shown as the game's other end.
        m_state = VyGameState::GAME_TIED;
        return;
    }
    // ShowWin names the winner from the choosing state that followed the last placement.
    m_state = ChoosingStateAfterHistory();
    ShowWin(combination, value);
}

bool VyGameRules::SaveGameFile(const VyString& path)
{
    VyString reason;
    try
    {
        VyFile::WriteReplacing(path, [this](VyFile& file) { SaveGame(file); });
        return true;
    }
    catch (VyFileException& error)
    {
        reason = error.GetReason();
        error.AddContext("VyGameWnd", "SaveGame");
        VyTrace::Write(error.GetMessage() + "\n" + (reason.empty() ? VyString() : "Reason: " + reason + "\n"));
    }
    catch (VyException& error)
    {
        error.AddContext("VyGameWnd", "SaveGame");
        error.Report();
    }
    m_host.ShowMessageBox("Could not write to " + path + (reason.empty() ? VyString() : ": " + reason), "Save Error");
    return false;
}

bool VyGameRules::LoadGameFile(const VyString& path)
{
    VyFile file(VY_IO_READ);
    if (!file.Open(path, VY_FILE_READ))
    {
        m_host.ShowMessageBox("Could not open " + path, "Load Error");
        return false;
    }
    return LoadGame(file);
}
