#include "VySolver.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "VyExpertPlayer.h"
#include "vythread/VyException.h"

VySolver::VySolver(const VyPieceSet& set) : m_rules(m_host)
{
    m_host.SetRules(&m_rules);
    m_rules.SetMoveSpeed(-1.0f);
    m_rules.SetPieceSet(set);
}

void VySolver::WaitForSet()
{
    while (m_rules.IsSetLoading())
    {
        m_queue.DispatchMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_queue.DispatchMessages();
}

void VySolver::PrintErrors(std::ostream& err) const
{
    for (const VyString& error : m_host.GetErrors())
        err << error.Trimmed() << "\n";
}

bool VySolver::Load(const VyString& path, std::ostream& err)
{
    try
    {
        if (!m_rules.LoadGameFile(path))
            return PrintErrors(err), false;
    }
    catch (VyException& error)
    {
        err << path << " is not a saved game Tolmar can read: " << error.GetMessage() << "\n";
        return false;
    }
    WaitForSet();
    if (!m_host.GetErrors().empty())
        return PrintErrors(err), false;
    return true;
}

bool VySolver::EndsTheGame(const VyComputerPosition& position, int square) const
{
    std::vector<VySquare> squares = position.squares;
    if (square < 0 || static_cast<size_t>(square) >= squares.size())
        return false;
    squares[static_cast<size_t>(square)].piece = position.currentPiece;
    int combination = -1;
    VyString value;
    const bool bFull = std::none_of(squares.begin(), squares.end(), [](const VySquare& s) { return s.piece < 0; });
    return bFull || m_rules.CheckWin(squares, combination, value);
}

void VySolver::PrintMove(const VyExpertResult& result, const VyComputerPosition& position, std::ostream& out) const
{
    const bool bPlacing = IsPlacingState(position.state);
    if (bPlacing)
        out << "place piece " << position.currentPiece + 1 << " on square " << result.square + 1;
    // A placement that wins or fills the board hands nothing over, whatever piece the search kept.
    if (result.piece >= 0 && !(bPlacing && EndsTheGame(position, result.square)))
        out << (bPlacing ? ", then hand over piece " : "hand over piece ") << result.piece + 1;
    out << "\n";
}

VySolveStatus VySolver::Solve(const VyString& path, unsigned int budgetMs, std::ostream& out, std::ostream& err)
{
    if (!Load(path, err))
        return VySolveStatus::UNREADABLE;
    if (!m_rules.IsInPlay() || m_rules.IsMoving())
    {
        err << path << ": " << (m_rules.IsGameOver() ? "the game is over" : "no game is in play") << "\n";
        return VySolveStatus::NOT_IN_PLAY;
    }
    VyComputerPosition position = m_rules.TakeComputerPosition();
    VyExpertPlayer player;
    VyExpertLimits limits;
    limits.budgetMs = budgetMs;
    const VyExpertResult result = player.Decide(position, limits);
    PrintMove(result, position, out);
    out << "value: " << OutcomeName(result.outcome) << std::endl;
    return VySolveStatus::ANSWERED;
}
