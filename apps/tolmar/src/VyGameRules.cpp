#include "VyGameRules.h"

#include <algorithm>

#include "VySavedGame.h"
#include "VySetLoader.h"
#include "VyWinTest.h"
#include "vyio/VyFile.h"
#include "vythread/VyClock.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
const char* const SET_FAILURE_ADVICE =
    "\n\nYour Tolmar settings are being set back to their defaults.  Please restart this application.  If this "
    "does not fix the problem then reinstall Tolmar.\n\nThe program will now exit.";

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}
} // namespace

VyGameRules::VyGameRules(VyGameHost& host, VyRandom& random) : m_host(host), m_random(random)
{
    // The host may still be under construction (the window owns the rules): do not call it yet.
    m_status = StatusText();
}

VyGameRules::~VyGameRules() = default;

void VyGameRules::SetPieceSet(const VyPieceSet& set)
{
    // A movement still running belongs to the old pieces.
    AbandonMovement();
    m_setName = set.name;
    m_board = set.board;
    m_boardSize = set.boardSize;
    m_chosenPos = set.chosenPos;
    m_colorMask = set.colorMask;
    m_properties = set.properties;
    m_pieces = set.pieces;
    m_squares = set.squares;
    m_winningCombinations = set.combinations;
    m_pImages = set.images;
    for (VyPieceInfo& piece : m_pieces)
    {
        piece.location = -1;
        piece.imageIndex = 0;
    }
    for (VySquare& square : m_squares)
        square.piece = -1;
    m_history.clear();
    m_currentPiece = INVALID_PIECE;
    m_highlightedSquare = -1;
    m_winningCombination = -1;
    ++m_positionGeneration;
    m_host.PieceSetChanged();
}

bool VyGameRules::IsValidPiece(int piece) const
{
    return piece >= 0 && piece < GetNumberOfPieces();
}

bool VyGameRules::IsValidSquare(int square) const
{
    return square >= 0 && square < GetNumberOfSquares();
}

// ---- predicates ----

bool VyGameRules::IsChoosing() const
{
    return m_state == PLAYER1_CHOOSES || m_state == PLAYER2_CHOOSES;
}

bool VyGameRules::IsPlacing() const
{
    return m_state == PLAYER1_PLACES || m_state == PLAYER2_PLACES;
}

bool VyGameRules::IsHumanChoosing() const
{
    return m_state == PLAYER1_CHOOSES || (m_state == PLAYER2_CHOOSES && m_opponent == OPPONENT_HUMAN);
}

bool VyGameRules::IsHumanPlacing() const
{
    return m_state == PLAYER1_PLACES || (m_state == PLAYER2_PLACES && m_opponent == OPPONENT_HUMAN);
}

bool VyGameRules::IsComputersTurn() const
{
    return m_opponent == OPPONENT_COMPUTER && (m_state == PLAYER2_PLACES || m_state == PLAYER2_CHOOSES);
}

bool VyGameRules::IsBoardFull() const
{
    // A set with fewer squares than pieces fills up before every piece is placed; without this the
    // game could neither go on nor end.
    const bool allPlaced =
        std::all_of(m_pieces.begin(), m_pieces.end(), [](const VyPieceInfo& piece) { return piece.location != -1; });
    const bool noSquareLeft =
        std::all_of(m_squares.begin(), m_squares.end(), [](const VySquare& square) { return square.piece != -1; });
    return allPlaced || noSquareLeft;
}

bool VyGameRules::IsNetworked() const
{
    return m_opponent == OPPONENT_NETWORK_CLIENT || m_opponent == OPPONENT_NETWORK_SERVER;
}

bool VyGameRules::IsGameOver() const
{
    return m_state == GAME_WON || m_state == GAME_TIED;
}

// ---- movements ----

void VyGameRules::SetBusy(bool busy)
{
    m_moving = busy;
    m_host.SetBusy(busy);
}

void VyGameRules::AbandonMovement()
{
    m_afterMove = AFTER_MOVE_NOTHING;
    m_movingPiece = INVALID_PIECE;
    if (m_moving)
        SetBusy(false);
}

void VyGameRules::StartMovement(int piece, VyPoint target, float speed, bool animate, int afterMove)
{
    m_afterMove = afterMove;
    m_movingPiece = piece;
    SetBusy(true);
    m_host.MovePiece(piece, target, speed, animate);
}

void VyGameRules::MoveDone(int piece)
{
    if (!m_moving || piece != m_movingPiece)
        return;
    m_movingPiece = INVALID_PIECE;
    SetBusy(false);
    const int action = m_afterMove;
    m_afterMove = AFTER_MOVE_NOTHING;
    if (action == AFTER_MOVE_NEXT_TURN)
        NextTurn();
    else if (action == AFTER_MOVE_UNDO)
        Undo();
}

void VyGameRules::EnableOffBoardPieces(bool enable)
{
    for (int i = 0; i < GetNumberOfPieces(); ++i)
        if (m_pieces[static_cast<size_t>(i)].location == -1)
            m_host.EnablePiece(i, enable);
}

void VyGameRules::SetPieceImage(int piece, int imageIndex)
{
    m_pieces[static_cast<size_t>(piece)].imageIndex = imageIndex;
    m_host.SetPieceImage(piece, imageIndex);
}

// ---- the half-moves ----

void VyGameRules::ChoosePiece(int piece)
{
    if (!IsChoosing() || !IsValidPiece(piece) || m_moving)
        return;
    // A piece on the board cannot be handed over again (a peer could name one).
    if (m_pieces[static_cast<size_t>(piece)].location != -1)
        return;
    if (IsNetworked() && m_host.IsNetworkConnected() && IsHumanChoosing())
        m_host.SendMove(piece, -1);
    // Against the computer the human's choice stays where it is until the computer places it.
    const bool animate = !(m_opponent == OPPONENT_COMPUTER && IsHumanChoosing());
    m_currentPiece = piece;
    ++m_positionGeneration;
    EnableOffBoardPieces(false);
    m_host.FocusGameWindow();
    StartMovement(piece, m_chosenPos, m_moveSpeed, animate, AFTER_MOVE_NEXT_TURN);
}

void VyGameRules::PlacePiece(int square)
{
    if (!IsPlacing() || !IsValidPiece(m_currentPiece) || !IsValidSquare(square) || m_moving)
        return;
    // Placing on an occupied square would leave two pieces claiming it.
    if (m_squares[static_cast<size_t>(square)].piece != -1)
        return;
    if (IsNetworked() && m_host.IsNetworkConnected() && IsHumanPlacing())
        m_host.SendMove(m_currentPiece, square);
    const int piece = m_currentPiece;
    m_history.push_back(piece);
    m_squares[static_cast<size_t>(square)].piece = piece;
    m_pieces[static_cast<size_t>(piece)].location = square;
    m_currentPiece = INVALID_PIECE;
    m_highlightedSquare = -1;
    ++m_positionGeneration;
    m_host.Restack();
    StartMovement(piece, m_squares[static_cast<size_t>(square)].center, m_moveSpeed, true, AFTER_MOVE_NEXT_TURN);
}

void VyGameRules::NextTurn()
{
    switch (m_state)
    {
    case PLAYER1_CHOOSES: m_state = PLAYER2_PLACES; break;
    case PLAYER2_PLACES: m_state = PLAYER2_CHOOSES; break;
    case PLAYER2_CHOOSES: m_state = PLAYER1_PLACES; break;
    case PLAYER1_PLACES: m_state = PLAYER1_CHOOSES; break;
    default: break;
    }
    EndOfMove();
}

void VyGameRules::EndOfMove()
{
    if (!IsChoosing())
    {
        // A piece waits to be placed (or the game is not in play): nothing may be chosen now.
        EnableOffBoardPieces(false);
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
    if (CheckWin(m_squares, combination, value))
        ShowWin(combination, value);
    else if (IsBoardFull())
        m_state = GAME_TIED;
    else
        EnableOffBoardPieces(IsHumanChoosing());
}

void VyGameRules::ShowWin(int combination, const VyString& value)
{
    m_winningCombination = combination;
    m_winningValue = value;
    // In a choosing state the player who just placed is the one who did not choose before.
    if (m_state != PLAYER1_CHOOSES)
        m_winner = m_player2Name;
    else
        m_winner = m_opponent == OPPONENT_HUMAN ? m_player1Name : VyString("You");
    m_state = GAME_WON;
    for (int i = 0; i < GetNumberOfPieces(); ++i)
        SetPieceImage(i, 1);
    for (int square : m_winningCombinations[static_cast<size_t>(combination)])
    {
        const int piece = m_squares[static_cast<size_t>(square)].piece;
        if (IsValidPiece(piece))
            SetPieceImage(piece, 0);
    }
}

bool VyGameRules::CheckWin(const std::vector<VySquare>& squares, int& combination, VyString& value) const
{
    int property = -1;
    int valueIndex = -1;
    if (!VyWinTest::Find(squares, m_pieces, m_properties.size(), m_winningCombinations, combination, property,
                         valueIndex))
        return false;
    value = m_properties[static_cast<size_t>(property)].ValueName(valueIndex);
    return true;
}

// ---- new game ----

void VyGameRules::NewGame()
{
    int state = PLAYER1_CHOOSES;
    switch (m_firstPlayer)
    {
    case FIRST_PLAYER1: state = PLAYER1_CHOOSES; break;
    case FIRST_PLAYER2: state = PLAYER2_CHOOSES; break;
    case FIRST_RANDOM: state = (m_random.Next() % 2 == 1) ? PLAYER2_CHOOSES : PLAYER1_CHOOSES; break;
    default: VY_ASSERT_TEXT(false, "false"); break; // player 1 starts
    }
    m_state = state;
    m_initialState = state;
    m_host.StorePlayerName(1, m_player1Name);
    if (m_opponent != OPPONENT_COMPUTER)
        m_host.StorePlayerName(2, m_player2Name);
    ResetBoard();
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
        VyPieceInfo& piece = m_pieces[static_cast<size_t>(i)];
        piece.location = -1;
        SetPieceImage(i, 0);
        m_host.PlacePieceAt(i, piece.StartAnchor());
    }
    for (VySquare& square : m_squares)
        square.piece = -1;
    m_host.Restack();
    m_history.clear();
    m_currentPiece = INVALID_PIECE;
    m_highlightedSquare = -1;
    ++m_positionGeneration;
}

// ---- undo ----

bool VyGameRules::CanUndo() const
{
    if (m_moving || !(IsChoosing() || IsPlacing()))
        return false;
    if (m_host.IsNetworkConnected())
        return false;
    if (m_currentPiece != INVALID_PIECE)
        return true;
    return std::any_of(m_squares.begin(), m_squares.end(), [](const VySquare& square) { return square.piece != -1; });
}

void VyGameRules::Undo()
{
    if (!CanUndo())
        return;
    bool moved = false;
    switch (m_state)
    {
    case PLAYER1_CHOOSES: m_state = PLAYER1_PLACES; moved = TakeBackPlacement(); break;
    case PLAYER2_PLACES: m_state = PLAYER1_CHOOSES; moved = TakeBackChoice(); break;
    case PLAYER2_CHOOSES: m_state = PLAYER2_PLACES; moved = TakeBackPlacement(); break;
    case PLAYER1_PLACES: m_state = PLAYER2_CHOOSES; moved = TakeBackChoice(); break;
    default: return;
    }
    ++m_positionGeneration;
    if (IsComputersTurn())
    {
        // Against the computer an undo always goes back to a human's turn: the next step follows
        // when this step's movement ends, or at once when nothing had to move.
        if (moved)
            m_afterMove = AFTER_MOVE_UNDO;
        else
            Undo();
        return;
    }
    UpdateStatus();
    m_host.Restack();
    EnableOffBoardPieces(IsHumanChoosing());
}

bool VyGameRules::TakeBackPlacement()
{
    if (m_history.empty())
        return false;
    const int piece = m_history.back();
    m_history.pop_back();
    if (!IsValidPiece(piece))
        return false;
    VyPieceInfo& info = m_pieces[static_cast<size_t>(piece)];
    if (IsValidSquare(info.location))
        m_squares[static_cast<size_t>(info.location)].piece = -1;
    info.location = -1;
    m_currentPiece = piece;
    // The computer's placements go back without animation: its turn is skipped over at once.
    const bool jump = m_opponent == OPPONENT_COMPUTER && !IsHumanPlacing();
    StartMovement(piece, m_chosenPos, jump ? -1.0f : m_moveSpeed, true, AFTER_MOVE_NOTHING);
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
    m_pieces[static_cast<size_t>(piece)].location = -1;
    SetPieceImage(piece, 0);
    StartMovement(piece, m_pieces[static_cast<size_t>(piece)].StartAnchor(), m_moveSpeed, true, AFTER_MOVE_NOTHING);
    return true;
}

// ---- the computer ----

void VyGameRules::WakeComputer()
{
    if (!IsComputersTurn())
        return;
    m_thinkStart = VyClock::TickCount();
    m_host.WakeComputer(TakeComputerPosition());
}

VyComputerPosition VyGameRules::TakeComputerPosition() const
{
    VyComputerPosition position;
    position.squares = m_squares;
    position.pieces = m_pieces;
    position.propertyCount = m_properties.size();
    position.combinations = m_winningCombinations;
    position.currentPiece = m_currentPiece;
    position.state = m_state;
    position.level = m_level;
    position.generation = m_positionGeneration;
    return position;
}

void VyGameRules::ApplyComputerPiece(int piece, int generation)
{
    if (generation != m_positionGeneration || m_state != PLAYER2_CHOOSES || !IsComputersTurn())
    {
        VyTrace::Write("VyGameRules : the computer's piece answers an older position; dropped\n");
        return;
    }
    ChoosePiece(piece);
}

void VyGameRules::ApplyComputerSquare(int square, int generation)
{
    if (generation != m_positionGeneration || m_state != PLAYER2_PLACES || !IsComputersTurn())
    {
        VyTrace::Write("VyGameRules : the computer's square answers an older position; dropped\n");
        return;
    }
    PlacePiece(square);
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
    const bool computer = m_opponent == OPPONENT_COMPUTER;
    const VyString player1 = m_opponent == OPPONENT_HUMAN ? Possessive(m_player1Name) : VyString("Your");
    switch (m_state)
    {
    case PLAYER1_CHOOSES: return player1 + " turn to chose a piece";
    case PLAYER2_PLACES:
        return computer ? VyString("The computer is placing a piece") : Possessive(m_player2Name) + " turn to place the piece";
    case PLAYER2_CHOOSES:
        return computer ? VyString("The computer is chosing a piece") : Possessive(m_player2Name) + " turn to chose a piece";
    case PLAYER1_PLACES: return player1 + " turn to place the piece";
    case GAME_WON:
    {
        const bool valid =
            m_winningCombination >= 0 && static_cast<size_t>(m_winningCombination) < m_winningCombinations.size();
        VY_ASSERT_TEXT(valid, "m_winningCombination>=0 && m_winningCombination<m_winningCombinations.size()");
        if (!valid)
            return m_winner.empty() ? VyString("The game was won.") : m_winner + " won.";
        const size_t count = m_winningCombinations[static_cast<size_t>(m_winningCombination)].size();
        return m_winner + " won by getting " + std::to_string(count) + " " + m_winningValue + " pieces in a row.";
    }
    case GAME_TIED: return "Game ended in a tie";
    case NO_OPPONENT: return "Please select an opponent from the Game menu.";
    case AWAITING_ACCEPT: return "Waiting for " + m_player2Name + " to accept a new game.";
    default: VY_ASSERT_TEXT(false, "false"); return m_status;
    }
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

// ---- the piece set ----

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
    return name == m_setName && !m_pieces.empty();
}

bool VyGameRules::LoadSet(const VyString& name)
{
    if (!VySetLoader::IsValidSetName(name))
    {
        FailSetLoad(VyException("VyGameWnd", "LoadSet", "\"" + name + "\" is not the name of a piece set").GetMessage());
        return true;
    }
    LoadSetFile(VySetLoader::PathOfSet(name));
    return true;
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
    const bool inPlay = IsChoosing() || IsPlacing();
    std::unique_ptr<VySavedGame> pending = std::move(m_pPendingGame);
    SetPieceSet(set);
    if (pending)
        ApplySavedGame(*pending);
    else if (inPlay)
    {
        m_state = NO_OPPONENT;
        UpdateStatus();
    }
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
    if (!m_pieces.empty())
    {
        // The set in use is untouched: the game goes on with it.
        m_host.ShowMessageBox(text, "Load Error");
        return;
    }
    m_host.DeleteGameSettings();
    m_host.ShowFatalError(text + SET_FAILURE_ADVICE);
}

// ---- saved games ----

void VyGameRules::SaveGame(VyIO& stream) const
{
    VySavedGame saved;
    saved.player1Name = m_player1Name;
    saved.player2Name = m_player2Name;
    saved.state = m_state;
    saved.initialState = m_initialState;
    saved.opponent = m_opponent;
    saved.history = m_history;
    for (const VyPieceInfo& piece : m_pieces)
        saved.locations.push_back(piece.location);
    saved.currentPiece = m_currentPiece;
    saved.level = m_level;
    saved.setName = m_setName;
    saved.Write(stream);
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
    m_player1Name = saved.player1Name;
    m_player2Name = saved.player2Name;
    m_state = InRange(saved.state, PLAYER1_CHOOSES, AWAITING_ACCEPT) ? saved.state : NO_OPPONENT;
    m_initialState = saved.initialState;
    m_opponent = InRange(saved.opponent, OPPONENT_HUMAN, OPPONENT_COMPUTER) ? saved.opponent : OPPONENT_HUMAN;
    m_level = InRange(saved.level, LEVEL_BEGINNER, LEVEL_ADVANCED) ? saved.level : LEVEL_EASY;
    PlaceLoadedPieces(saved.locations);
    RebuildHistory(saved.history);

    // Only a placing state has a chosen piece, and it has one: without it nobody could move.
    const int current = saved.currentPiece;
    m_currentPiece = IsValidPiece(current) && m_pieces[static_cast<size_t>(current)].location == -1 ? current
                                                                                                     : INVALID_PIECE;
    if (!IsPlacing())
        m_currentPiece = INVALID_PIECE;
    else if (m_currentPiece == INVALID_PIECE)
        m_state = m_state == PLAYER2_PLACES ? PLAYER1_CHOOSES : PLAYER2_CHOOSES;
    if (m_currentPiece != INVALID_PIECE)
        m_host.PlacePieceAt(m_currentPiece, m_chosenPos);

    ++m_positionGeneration;
    m_host.Restack();
    if (m_state == GAME_WON)
        ShowLoadedWin();
    EndOfMove();
}

void VyGameRules::PlaceLoadedPieces(const std::vector<int>& locations)
{
    VY_ASSERT_TEXT(locations.size() == m_pieces.size(), "pieceLocation.size()==m_pieces.size()");
    const size_t count = std::min(locations.size(), m_pieces.size());
    for (size_t i = 0; i < count; ++i)
    {
        const int square = locations[i];
        // A second piece naming an occupied square stays off the board.
        if (!IsValidSquare(square) || m_squares[static_cast<size_t>(square)].piece != -1)
            continue;
        m_squares[static_cast<size_t>(square)].piece = static_cast<int>(i);
        m_pieces[i].location = square;
        m_host.PlacePieceAt(static_cast<int>(i), m_squares[static_cast<size_t>(square)].center);
    }
}

// The saved order where it names placed pieces once each; placed pieces it leaves out follow in
// square order, so that undo can still take them back.
void VyGameRules::RebuildHistory(const std::vector<int>& saved)
{
    m_history.clear();
    std::vector<bool> listed(m_pieces.size(), false);
    for (int piece : saved)
    {
        if (!IsValidPiece(piece) || listed[static_cast<size_t>(piece)] || m_pieces[static_cast<size_t>(piece)].location == -1)
            continue;
        listed[static_cast<size_t>(piece)] = true;
        m_history.push_back(piece);
    }
    for (const VySquare& square : m_squares)
        if (square.piece != -1 && !listed[static_cast<size_t>(square.piece)])
        {
            listed[static_cast<size_t>(square.piece)] = true;
            m_history.push_back(square.piece);
        }
}

// The file keeps neither the winning line nor the winner: both are found again on the board. The
// winner is the player who placed last; placements alternate from the game's first half-move.
void VyGameRules::ShowLoadedWin()
{
    int combination = -1;
    VyString value;
    if (!CheckWin(m_squares, combination, value))
    {
        // Over without a line: shown as the game's other end.
        m_state = GAME_TIED;
        return;
    }
    const bool player2PlacedFirst = m_initialState != PLAYER2_CHOOSES;
    const bool player2PlacedLast = (m_history.size() % 2 == 1) == player2PlacedFirst;
    // ShowWin names the winner from the choosing state that followed the last placement.
    m_state = player2PlacedLast ? PLAYER2_CHOOSES : PLAYER1_CHOOSES;
    ShowWin(combination, value);
}

bool VyGameRules::SaveGameFile(const VyString& path)
{
    try
    {
        VyFile::WriteReplacing(path, [this](VyFile& file) { SaveGame(file); });
        return true;
    }
    catch (VyException& error)
    {
        error.AddContext("VyGameWnd", "SaveGame");
        error.Report();
    }
    m_host.ShowMessageBox("Could not write to " + path, "Save Error");
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
