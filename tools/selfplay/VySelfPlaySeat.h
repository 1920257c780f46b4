#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "VyComputerDecision.h"
#include "VyExpertPlayer.h"
#include "vythread/VyRandom.h"

// One side of a self-play match: the level's decisions with the side's own random generator. An
// Expert side decides through a VyExpertPlayer of its own (kept across the match) under the
// position's expertMs, and keeps what its decisions cost: the time of each, and per game the number
// of empty squares at which its search first solved the game (outcome other than UNKNOWN). Nothing
// here throws but what the decisions throw.
class VySelfPlaySeat
{
public:
    VySelfPlaySeat(VyLevel level, uint32_t seed);

    VyLevel GetLevel() const { return m_level; }
    bool IsExpert() const { return m_level == VyLevel::EXPERT; }
    // The piece to hand over (a choosing state) or the square to place on (a placing state), with
    // the position seen as player 2's (the decisions' own seat); -1 when there is none.
    int Decide(VyComputerPosition position);
    // A game begins: its first solve is looked for anew.
    void StartGame();
    // A game ended: its first solve (or none) is kept.
    void EndGame();

    uint64_t GetDecisions() const { return m_decisions; }
    // Microseconds of the Expert's decisions, all together and the longest one.
    uint64_t GetTotalMicroseconds() const { return m_totalUs; }
    uint64_t GetLongestMicroseconds() const { return m_longestUs; }
    // Per finished game, the empty squares at the first solve; -1 for a game never solved.
    const std::vector<int>& GetFirstSolves() const { return m_firstSolves; }

private:
    int DecideAsExpert(const VyComputerPosition& position);

    VyLevel m_level;
    VyRandom m_random;
    std::unique_ptr<VyExpertPlayer> m_pExpert;
    uint64_t m_decisions = 0;
    uint64_t m_totalUs = 0;
    uint64_t m_longestUs = 0;
    int m_gameSolve = -1;
    std::vector<int> m_firstSolves;
};
