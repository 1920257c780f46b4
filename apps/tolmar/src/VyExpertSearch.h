#pragma once

#include <cstdint>
#include <functional>

#include "VyCompactPosition.h"
#include "VyCompactSet.h"

// What a position is worth to the player to act under perfect play by both sides.
enum class VyOutcome
{
    UNKNOWN, // not solved within the budget
    WIN,
    DRAW,
    LOSS,
};

// "win", "draw", "loss" or "unknown".
const char* OutcomeName(VyOutcome outcome);

// How long a search may run: a budget in milliseconds from its start (0 = none), and a check asked
// every VyExpertSearch::VY_CHECK_NODES nodes; when it answers true the search ends at once.
struct VyExpertLimits
{
    unsigned int budgetMs = 2000;
    std::function<bool()> stop;
};

// A search's answer and what it cost.
struct VyExpertResult
{
    int square = -1;                          // where to place the piece in hand (Place), else -1
    int piece = -1;                           // the piece to hand over; -1 when none is left to hand
    VyOutcome outcome = VyOutcome::UNKNOWN;   // for the player to act; exact unless UNKNOWN
    bool stopped = false;                     // the stop check ended the search
    uint64_t nodes = 0;                       // positions searched
    uint64_t tableProbes = 0;                 // transposition-table look-ups
    uint64_t tableHits = 0;                   // ... that settled or narrowed the position
    int depth = 0;                            // placements looked ahead in the last complete pass
};

// The Expert's exact game search on a compact position: negamax with alpha-beta over the
// place-then-choose moves of the player to act. Where the rest of the game is solved within the
// limits the answer keeps the game value: it never lets a won position go and never loses a
// position that can be held. Otherwise it answers by the heuristic choice of the Advanced level
// and says UNKNOWN. It works on its own copy of the position. The set must outlive the search.
class VyExpertSearch
{
public:
    static constexpr uint64_t VY_CHECK_NODES = 1024;

    explicit VyExpertSearch(const VyCompactSet& set);

    // The board with piece in hand: where to place it and which piece to hand over after it.
    VyExpertResult Place(const VyCompactPosition& board, int piece, const VyExpertLimits& limits);
    // The board with nothing in hand: which off-board piece to hand over.
    VyExpertResult Choose(const VyCompactPosition& board, const VyExpertLimits& limits);

private:
    // The value of the board with piece in hand for its placer: 1 win, 0 draw, -1 loss.
    int Solve(VyCompactPosition& board, int piece, int alpha, int beta);
    bool CheckStop();
    void Start(const VyExpertLimits& limits);
    static VyOutcome OutcomeOf(int value);

    const VyCompactSet& m_set;
    const VyExpertLimits* m_pLimits = nullptr;
    uint64_t m_startUs = 0;
    bool m_aborted = false;
    VyExpertResult m_result;
};
