#include "VySelfPlayMatch.h"

#include <cmath>

#include "vythread/VyException.h"

namespace
{
// Half-moves of one game are at most two per piece; anything beyond means the game is stuck.
constexpr int MAX_ROUNDS_PER_GAME = 1000;
} // namespace

VySelfPlayMatch::VySelfPlayMatch(const VyPieceSet& set, VyLevel firstLevel, VyLevel secondLevel, uint32_t seed,
                                 std::ostream* pLog)
    : m_first(firstLevel, seed * 2654435761u + 1u),
      m_second(secondLevel, seed * 2654435761u + 2u),
      m_rulesRandom(seed),
      m_rules(*this, m_rulesRandom),
      m_pLog(pLog)
{
    m_rules.SetPieceSet(set);
    m_rules.SelectOpponent(VyOpponent::COMPUTER);
    m_rules.SetLevel(secondLevel);
    m_rules.SetMoveSpeed(-1.0f);
    m_rules.SetPlayerName(VyPlayer::PLAYER1, VyString("first (") + LevelName(firstLevel) + ")");
    m_rules.SetPlayerName(VyPlayer::PLAYER2, VyString("second (") + LevelName(secondLevel) + ")");
}

VySelfPlayMatch::Score VySelfPlayMatch::Play(int games)
{
    Score score;
    for (int index = 0; index < games; ++index)
    {
        switch (PlayGame(index))
        {
        case OUTCOME_FIRST_WINS: ++score.firstWins; break;
        case OUTCOME_SECOND_WINS: ++score.secondWins; break;
        case OUTCOME_TIE: ++score.ties; break;
        }
    }
    return score;
}

VySelfPlayMatch::Outcome VySelfPlayMatch::PlayGame(int index)
{
    m_rules.SetFirstPlayer(index % 2 == 0 ? VyFirstPlayer::PLAYER1 : VyFirstPlayer::PLAYER2);
    if (m_pLog)
        *m_pLog << "Game " << index + 1 << ": "
                << (index % 2 == 0 ? m_rules.GetPlayer1Name() : m_rules.GetPlayer2Name()) << " chooses first\n";
    m_bComputerFailed = false;
    m_first.StartGame();
    m_second.StartGame();
    m_rules.StartGame();
    for (int round = 0; !m_rules.IsGameOver(); ++round)
    {
        m_queue.DispatchMessages();
        if (m_rules.IsGameOver())
            break;
        if (round > MAX_ROUNDS_PER_GAME || m_bComputerFailed || m_rules.IsMoving())
            throw VyException(
                "VySelfPlayMatch", "PlayGame",
                VyString::Format("game %d stopped in state %d", index + 1, VyNumberOf(m_rules.GetState())));
        if (m_rules.IsHumanChoosing() || m_rules.IsHumanPlacing())
            ActForFirstSide();
    }
    m_first.EndGame();
    m_second.EndGame();
    LogBoard();
    return Result();
}

void VySelfPlayMatch::ActForFirstSide()
{
    const int choice = m_first.Decide(m_rules.TakeComputerPosition());
    if (m_rules.IsHumanChoosing())
        m_rules.ChoosePiece(choice);
    else
        m_rules.PlacePiece(choice);
}

void VySelfPlayMatch::WakeComputer(const VyComputerPosition& position)
{
    VyMessage answer;
    if (!VyComputerDecision::MakeAnswer(position, m_second.Decide(position), this, answer) || !m_rules.IsComputersTurn())
        m_bComputerFailed = true;
    else
        Post(answer);
}

void VySelfPlayMatch::HandleMessage(const VyMessage& msg)
{
    m_rules.HandleMessage(msg);
}

void VySelfPlayMatch::MovePiece(int piece, VyPoint, float, VyMoveStyle)
{
    if (m_pLog)
    {
        const VyString side = SideName(m_rules.GetState());
        if (m_rules.IsChoosing())
            *m_pLog << "  " << side << " hands over " << PieceText(piece) << "\n";
        else if (m_rules.IsPlacing())
            *m_pLog << "  " << side << " places it on square "
                    << m_rules.GetPieces()[static_cast<size_t>(piece)].location + 1 << "\n";
    }
    Post({this, MSG_MOVE_DONE, piece, 0});
}

VySelfPlayMatch::Outcome VySelfPlayMatch::Result() const
{
    if (m_rules.GetState() != VyGameState::GAME_WON)
        return OUTCOME_TIE;
    // Player 1 is the first side, and the rules name player 1 "You" against the computer.
    return m_rules.GetWinner() == m_rules.GetPlayer2Name() ? OUTCOME_SECOND_WINS : OUTCOME_FIRST_WINS;
}

VyString VySelfPlayMatch::SideName(VyGameState state) const
{
    const bool player1 = state == VyGameState::PLAYER1_CHOOSES || state == VyGameState::PLAYER1_PLACES;
    return player1 ? m_rules.GetPlayer1Name() : m_rules.GetPlayer2Name();
}

VyString VySelfPlayMatch::PieceText(int piece) const
{
    VyString text = VyString::Format("piece %d (", piece + 1);
    const VyPieceInfo& info = m_rules.GetPieces()[static_cast<size_t>(piece)];
    for (size_t p = 0; p < m_rules.GetProperties().size() && p < info.values.size(); ++p)
        text += (p ? " " : "") + m_rules.GetProperties()[p].ValueName(info.values[p]);
    return text + ")";
}

// The initials of the piece's values, e.g. "DTRF" for Dark Tall Round Flat.
VyString VySelfPlayMatch::PieceCode(int piece) const
{
    VyString code;
    const VyPieceInfo& info = m_rules.GetPieces()[static_cast<size_t>(piece)];
    for (size_t p = 0; p < m_rules.GetProperties().size() && p < info.values.size(); ++p)
    {
        const VyString name = m_rules.GetProperties()[p].ValueName(info.values[p]);
        code += name.empty() ? '?' : name[0];
    }
    return code;
}

void VySelfPlayMatch::LogBoard() const
{
    if (!m_pLog)
        return;
    std::ostream& out = *m_pLog;
    if (m_rules.GetState() == VyGameState::GAME_WON)
    {
        const std::vector<int>& line =
            m_rules.GetWinningCombinations()[static_cast<size_t>(m_rules.GetWinningCombination())];
        const bool firstWins = Result() == OUTCOME_FIRST_WINS;
        out << "  " << (firstWins ? m_rules.GetPlayer1Name() : m_rules.GetPlayer2Name()) << " wins with " << line.size()
            << " " << m_rules.GetWinningValue() << " pieces on squares";
        for (size_t i = 0; i < line.size(); ++i)
            out << (i ? ", " : " ") << line[i] + 1;
        out << "\n";
    }
    else
        out << "  The game ends in a tie\n";
    // Rows of the board, square 1 at the top left; a winning square is marked with '*'.
    const int count = m_rules.GetNumberOfSquares();
    const int columns = std::max(1, static_cast<int>(std::lround(std::sqrt(static_cast<double>(count)))));
    std::vector<bool> winning(static_cast<size_t>(count), false);
    if (m_rules.GetState() == VyGameState::GAME_WON)
        for (int square : m_rules.GetWinningCombinations()[static_cast<size_t>(m_rules.GetWinningCombination())])
            if (square >= 0 && square < count)
                winning[static_cast<size_t>(square)] = true;
    for (int square = 0; square < count; ++square)
    {
        const int piece = m_rules.GetSquares()[static_cast<size_t>(square)].piece;
        out << (square % columns == 0 ? "    " : " ") << (piece == -1 ? VyString("....") : PieceCode(piece))
            << (winning[static_cast<size_t>(square)] ? '*' : ' ');
        if (square % columns == columns - 1 || square == count - 1)
            out << "\n";
    }
}
