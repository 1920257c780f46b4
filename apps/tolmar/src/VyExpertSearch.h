#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "VyCompactPosition.h"
#include "VyCanonicalForm.h"
#include "VyCompactSet.h"
#include "VySymmetryMap.h"
#include "vythread/VyRandom.h"

class VyTranspositionTable;

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
    uint64_t tableHits = 0;                   // ... that found the position
    int depth = 0;                            // placements looked ahead in the last complete pass
};

// The Expert's game search on a compact position: negamax with alpha-beta over the place-then-choose
// moves of the player to act, under iterative deepening (one placement deeper per pass) within the
// limits. A transposition table keyed on the canonical form of the position under the symmetries
// of the set's board and pieces (VyBoardSymmetries, VyPieceSymmetries, VyCanonicalForm) merges
// every position with its symmetric images; the table's moves and a history of moves that cut
// order the search. A pass that reaches the end of every line of play is exact: the answer then
// keeps the game value (it never lets a won position go and never loses one that can be held); so
// is a pass that proves a win or a loss. Before that it takes the best move of the deepest pass,
// whose unfinished lines are valued by the placer's mobility (the placements that leave a safe
// piece to hand over), and says UNKNOWN. Ties at the root are broken by the
// random generator, so that the Expert does not play one game only.
//
// The search works on its own copy of the position and keeps its table from one call to the next
// (entries hold for the set, whatever the game). Not thread-safe: one search per thread. The set
// must outlive the search.
class VyExpertSearch
{
public:
    static constexpr uint64_t VY_CHECK_NODES = 1024;

    // The table holds 2^log2TableEntries entries of 16 bytes.
    explicit VyExpertSearch(const VyCompactSet& set, VyRandom& random, int log2TableEntries = 21);
    ~VyExpertSearch();
    VyExpertSearch(const VyExpertSearch&) = delete;
    VyExpertSearch& operator=(const VyExpertSearch&) = delete;

    // The board with piece in hand: where to place it and which piece to hand over after it (-1 when
    // the placement wins or ends the game). An answer of square -1 means the limits ended the
    // search before its first pass; the caller decides.
    VyExpertResult Place(const VyCompactPosition& board, int piece, const VyExpertLimits& limits);
    // The board with nothing in hand: which off-board piece to hand over (-1 as above).
    VyExpertResult Choose(const VyCompactPosition& board, const VyExpertLimits& limits);

    // The exact value of the board with piece in hand for its placer, by exhaustive search with no
    // table and no limits: the reference the search is checked against. Slow beyond 8 empty squares.
    static VyOutcome PlainValue(const VyCompactPosition& board, int piece);

    // Forgets every searched position.
    void ClearTable();

    const std::vector<VySymmetryMap>& BoardGroup() const { return m_boardGroup; }
    const std::vector<VySymmetryMap>& PieceGroup() const { return m_pieceGroup; }

private:
    struct Move
    {
        uint8_t square;
        uint8_t piece;
        int order;
    };

    // A position's look-up in the table: whether it goes there, its key and the transform to its
    // canonical form, and the table's move for it in the position's own frame (-1 for none).
    struct TableProbe
    {
        bool used = false;
        uint64_t key = 0;
        VyCanonicalForm::Transform transform;
        int square = -1;
        int piece = -1;
    };

    int Solve(VyCompactPosition& board, int hand, int depth, int alpha, int beta);
    int Mobility(const VyCompactPosition& board, int hand);
    // True when the table settles the position (value); otherwise it may narrow the window.
    bool Probe(const VyCompactPosition& board, int hand, int searched, int& alpha, int& beta, TableProbe& probe,
               int& value);
    void Record(const TableProbe& probe, int searched, int alpha, int beta, int value, const Move& best);
    // The moves of board with hand in hand, best first; false when every placement leaves no safe
    // piece to hand over (then the position is lost).
    bool MakeMoves(const VyCompactPosition& board, int hand, std::vector<Move>& moves, int tableSquare, int tablePiece);
    int SearchMoves(VyCompactPosition& board, int hand, std::vector<Move>& moves, int depth, int alpha, int beta,
                    Move& best);
    void Deepen(VyCompactPosition& board, int hand, std::vector<Move>& moves, int empty);
    // The key of a position as it stands, no symmetry applied; it never equals a canonical key of
    // the same number of empty squares because the two are never used at one count.
    uint64_t PlainKey(const VyCompactPosition& board, int hand);
    bool CheckStop();
    void Start(const VyExpertLimits& limits);
    static int PlainSolve(VyCompactPosition& board, int piece);

    const VyCompactSet& m_set;
    VyRandom& m_random;
    std::vector<VySymmetryMap> m_boardGroup;
    std::vector<VySymmetryMap> m_pieceGroup;
    std::unique_ptr<VyCanonicalForm> m_pForm;
    std::unique_ptr<VyTranspositionTable> m_pTable;
    std::vector<std::vector<Move>> m_moveLists;  // one per number of empty squares
    std::vector<int> m_history;                  // per square * 64 + piece: how often it cut
    const VyExpertLimits* m_pLimits = nullptr;
    uint64_t m_startUs = 0;
    bool m_aborted = false;
    VyExpertResult m_result;
};
