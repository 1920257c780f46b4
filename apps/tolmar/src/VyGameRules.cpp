#include "VyGameRules.h"

#include <algorithm>

#include "VyWinTest.h"
#include "vythread/VyClock.h"
#include "vythread/VyTrace.h"

VyGameRules::VyGameRules(VyGameHost& host, VyRandom& random) : m_host(host), m_random(random)
{
    // The host may still be under construction (the window owns the rules): do not call it yet.
    m_status = StatusText();
}

void VyGameRules::SetPieceSet(const VyPieceSet& set)
{
    m_setName = set.name;
    m_board = set.board;
    m_boardSize = set.boardSize;
    m_chosenPos = set.chosenPos;
    m_colorMask = set.colorMask;
    m_properties = set.properties;
    m_pieces = set.pieces;
    m_squares = set.squares;
    m_winningCombinations = set.combinations;
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
    // A movement still running belongs to the old position: its end must not advance the new one.
    m_afterMove = AFTER_MOVE_NOTHING;
    m_movingPiece = INVALID_PIECE;
    if (m_moving)
        SetBusy(false);
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
