#include "VySelfPlaySeat.h"

#include <algorithm>

#include "vythread/VyClock.h"

namespace
{
int EmptySquares(const VyComputerPosition& position)
{
    return static_cast<int>(std::count_if(position.squares.begin(), position.squares.end(),
                                          [](const VySquare& square) { return square.piece < 0; }));
}
} // namespace

VySelfPlaySeat::VySelfPlaySeat(VyLevel level, uint32_t seed) : m_level(level), m_random(seed)
{
    if (IsExpert())
        m_pExpert = std::make_unique<VyExpertPlayer>(m_random);
}

int VySelfPlaySeat::Decide(VyComputerPosition position)
{
    position.level = m_level;
    if (IsExpert())
        return DecideAsExpert(position);
    if (IsPlacingState(position.state))
        return VyComputerDecision::ComputerChooseSquare(position, m_random);
    return VyComputerDecision::ComputerChoosePiece(position, m_random);
}

int VySelfPlaySeat::DecideAsExpert(const VyComputerPosition& position)
{
    VyExpertLimits limits;
    limits.budgetMs = position.expertMs;
    const uint64_t start = VyClock::Microseconds();
    const VyExpertResult result = m_pExpert->Decide(position, limits);
    const uint64_t spent = VyClock::Microseconds() - start;
    ++m_decisions;
    m_totalUs += spent;
    m_longestUs = std::max(m_longestUs, spent);
    if (result.outcome != VyOutcome::UNKNOWN && m_gameSolve == -1)
        m_gameSolve = EmptySquares(position);
    return IsPlacingState(position.state) ? result.square : result.piece;
}

void VySelfPlaySeat::StartGame()
{
    m_gameSolve = -1;
}

void VySelfPlaySeat::EndGame()
{
    if (IsExpert())
        m_firstSolves.push_back(m_gameSolve);
    m_gameSolve = -1;
}
