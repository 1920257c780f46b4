#include "VyExpertSearch.h"

#include <algorithm>

#include "VyBoardSymmetries.h"
#include "VyCanonicalForm.h"
#include "VyPieceSymmetries.h"
#include "VyTranspositionTable.h"
#include "vythread/VyClock.h"

namespace
{
constexpr int WIN = 1000;
constexpr int LOSS = -1000;
constexpr int DRAW = 0;
// From this many empty squares on positions go into the table: by their canonical form from
// CANONICAL_MIN_EMPTY on (below it a position rarely has a symmetric twin in the search, and the
// form costs more than it saves), as they stand below it; fewer are searched faster than looked up.
constexpr int TABLE_MIN_EMPTY = 5;
constexpr int CANONICAL_MIN_EMPTY = 8;
// The points per placement that leaves a safe piece (at most 64 placements: far below a win).
constexpr int MOBILITY_POINTS = 4;
// The heuristic passes before the pass to the end of the game.
constexpr int HEURISTIC_PASSES = 4;
constexpr int ORDER_TABLE_MOVE = 1 << 30;

uint64_t Bit(int index)
{
    return uint64_t{1} << index;
}

VyOutcome OutcomeOf(int value)
{
    return value >= WIN ? VyOutcome::WIN : value <= LOSS ? VyOutcome::LOSS : VyOutcome::DRAW;
}
} // namespace

const char* OutcomeName(VyOutcome outcome)
{
    switch (outcome)
    {
    case VyOutcome::WIN: return "win";
    case VyOutcome::DRAW: return "draw";
    case VyOutcome::LOSS: return "loss";
    case VyOutcome::UNKNOWN: break;
    }
    return "unknown";
}

VyExpertSearch::VyExpertSearch(const VyCompactSet& set, VyRandom& random, int log2TableEntries)
    : m_set(set), m_random(random), m_boardGroup(VyBoardSymmetries::Derive(set)),
      m_pieceGroup(VyPieceSymmetries::Derive(set)),
      m_pForm(std::make_unique<VyCanonicalForm>(set, m_boardGroup, m_pieceGroup)),
      m_pTable(std::make_unique<VyTranspositionTable>(log2TableEntries)),
      m_moveLists(static_cast<size_t>(set.SquareCount()) + 1),
      m_history(static_cast<size_t>(VyCompactSet::VY_MAX_SQUARES * VyCompactSet::VY_MAX_PIECES), 0)
{
}

VyExpertSearch::~VyExpertSearch() = default;

void VyExpertSearch::ClearTable()
{
    m_pTable->Clear();
}

void VyExpertSearch::Start(const VyExpertLimits& limits)
{
    m_pLimits = &limits;
    m_startUs = VyClock::Microseconds();
    m_aborted = false;
    m_result = VyExpertResult();
    const uint64_t probes = m_pTable->Probes();
    const uint64_t hits = m_pTable->Hits();
    m_result.tableProbes = probes; // the counts of this search are the growth from here
    m_result.tableHits = hits;
    for (int& count : m_history)
        count /= 4;
}

bool VyExpertSearch::CheckStop()
{
    if (m_pLimits->stop && m_pLimits->stop())
        m_result.stopped = true;
    const uint64_t elapsedMs = (VyClock::Microseconds() - m_startUs) / 1000;
    if (m_result.stopped || (m_pLimits->budgetMs != 0 && elapsedMs >= m_pLimits->budgetMs))
        m_aborted = true;
    return m_aborted;
}

bool VyExpertSearch::MakeMoves(const VyCompactPosition& board, int hand, std::vector<Move>& moves, int tableSquare,
                               int tablePiece)
{
    moves.clear();
    VyCompactPosition::SquareMasks safeAfter;
    board.SafePiecesAfter(hand, safeAfter);
    for (uint64_t squares = board.EmptySquares(); squares != 0; squares &= squares - 1)
    {
        const int square = VyLowestBit(squares);
        const uint64_t safePieces = safeAfter[static_cast<size_t>(square)];
        // Forcing placements first: the fewer safe pieces they leave, the sooner a line is decided.
        const int forcing = (64 - VyBitCount(safePieces)) * 4096;
        for (uint64_t safe = safePieces; safe != 0; safe &= safe - 1)
        {
            const int piece = VyLowestBit(safe);
            const bool fromTable = square == tableSquare && piece == tablePiece;
            const int order = fromTable ? ORDER_TABLE_MOVE : forcing + std::min(m_history[static_cast<size_t>(square * 64 + piece)], 4095);
            moves.push_back({static_cast<uint8_t>(square), static_cast<uint8_t>(piece), order});
        }
    }
    // Ties in the order they were made (square, then piece), without the buffer of a stable sort.
    std::sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) {
        return a.order != b.order ? a.order > b.order : a.square != b.square ? a.square < b.square : a.piece < b.piece;
    });
    return !moves.empty();
}

int VyExpertSearch::SearchMoves(VyCompactPosition& board, int hand, std::vector<Move>& moves, int depth, int alpha,
                                int beta, Move& best)
{
    int bestValue = LOSS;
    best = moves.front();
    for (const Move& move : moves)
    {
        board.Place(hand, move.square);
        const int value = -Solve(board, move.piece, depth - 1, -beta, -std::max(alpha, bestValue));
        board.Remove(move.square);
        if (m_aborted)
            return DRAW;
        if (value > bestValue)
        {
            bestValue = value;
            best = move;
        }
        if (bestValue >= beta)
        {
            m_history[static_cast<size_t>(move.square * 64 + move.piece)] += depth * depth;
            break;
        }
    }
    return bestValue;
}

uint64_t VyExpertSearch::PlainKey(const VyCompactPosition& board, int hand)
{
    uint64_t key = 0x5851F42D4C957F2Dull + static_cast<uint64_t>(hand);
    for (uint64_t rest = ~board.EmptySquares() & m_set.AllSquares(); rest != 0; rest &= rest - 1)
    {
        const int square = VyLowestBit(rest);
        key += static_cast<uint64_t>(square * 64 + board.PieceOn(square) + 1) * 0x9E3779B97F4A7C15ull;
        key = (key ^ (key >> 30)) * 0xBF58476D1CE4E5B9ull;
        key = (key ^ (key >> 27)) * 0x94D049BB133111EBull;
        key ^= key >> 31;
    }
    return key;
}

bool VyExpertSearch::Probe(const VyCompactPosition& board, int hand, int searched, int& alpha, int& beta,
                           TableProbe& probe, int& value)
{
    const int empty = VyBitCount(board.EmptySquares());
    probe.used = empty >= TABLE_MIN_EMPTY;
    if (!probe.used)
        return false;
    probe.key = empty >= CANONICAL_MIN_EMPTY ? m_pForm->Key(board, hand, probe.transform) : PlainKey(board, hand);
    const VyTranspositionTable::Entry* pEntry = m_pTable->Find(probe.key);
    if (pEntry == nullptr)
        return false;
    if (pEntry->square != 0xFF)
    {
        probe.square = m_pForm->BoardMap(probe.transform.board).inverse[pEntry->square];
        probe.piece = m_pForm->PieceMap(probe.transform.pieces).inverse[pEntry->piece];
    }
    if (pEntry->depth < searched)
        return false;
    value = pEntry->value;
    if (pEntry->bound == VyTranspositionTable::Bound::EXACT)
        return true;
    if (pEntry->bound == VyTranspositionTable::Bound::LOWER)
        alpha = std::max(alpha, value);
    else
        beta = std::min(beta, value);
    return alpha >= beta;
}

void VyExpertSearch::Record(const TableProbe& probe, int searched, int alpha, int beta, int value, const Move& best)
{
    VyTranspositionTable::Entry entry;
    entry.key = probe.key;
    entry.value = static_cast<int16_t>(value);
    entry.depth = static_cast<uint8_t>(searched);
    entry.bound = value <= alpha  ? VyTranspositionTable::Bound::UPPER
                  : value >= beta ? VyTranspositionTable::Bound::LOWER
                                  : VyTranspositionTable::Bound::EXACT;
    entry.square = m_pForm->BoardMap(probe.transform.board).image[best.square];
    entry.piece = m_pForm->PieceMap(probe.transform.pieces).image[best.piece];
    m_pTable->Store(entry);
}

// The placer's placements that leave a safe piece to hand over, a few points each: the fewer a
// player has, the nearer it is to handing over a win. None is a loss, and exact.
int VyExpertSearch::Mobility(const VyCompactPosition& board, int hand)
{
    int placements = 0;
    VyCompactPosition::SquareMasks safeAfter;
    board.SafePiecesAfter(hand, safeAfter);
    for (uint64_t squares = board.EmptySquares(); squares != 0; squares &= squares - 1)
        placements += safeAfter[static_cast<size_t>(VyLowestBit(squares))] != 0;
    return placements == 0 ? LOSS : MOBILITY_POINTS * placements;
}

// Depth counts the placements still to search; at 0 an unfinished line is valued by Mobility. A value
// found to the end of the game is stored as searched to its end, and serves every depth.
int VyExpertSearch::Solve(VyCompactPosition& board, int hand, int depth, int alpha, int beta)
{
    if (++m_result.nodes % VY_CHECK_NODES == 0)
        CheckStop();
    if (m_aborted)
        return DRAW;
    if ((m_set.Code(hand) & board.Threats()) != 0)
        return WIN;
    const int empty = VyBitCount(board.EmptySquares());
    if (empty == 1 || (board.OffBoardPieces() & ~Bit(hand)) == 0)
        return DRAW;
    if (depth == 0)
        return Mobility(board, hand);
    const int searched = std::min(depth, empty);
    const int alphaIn = alpha;
    TableProbe probe;
    int value = DRAW;
    if (Probe(board, hand, searched, alpha, beta, probe, value))
        return value;
    std::vector<Move>& moves = m_moveLists[static_cast<size_t>(empty)];
    if (!MakeMoves(board, hand, moves, probe.square, probe.piece))
        return LOSS;
    Move best{};
    value = SearchMoves(board, hand, moves, depth, alpha, beta, best);
    if (probe.used && !m_aborted)
        Record(probe, searched, alphaIn, beta, value, best);
    return value;
}

// Passes of 1 to HEURISTIC_PASSES placements, then one to the end of the game, until a pass is
// exact, a win or loss is proven, or the limits end it. (Passes of every depth between would cost
// nearly as much as the last: the tree narrows towards the end.) The root moves are shuffled once,
// then ordered as inside the search, so that ties fall at random; the best of each pass goes first
// in the next.
void VyExpertSearch::Deepen(VyCompactPosition& board, int hand, std::vector<Move>& moves, int empty)
{
    for (size_t i = moves.size(); i > 1; --i)
        std::swap(moves[i - 1], moves[static_cast<size_t>(m_random.Below(static_cast<int>(i)))]);
    std::stable_sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) { return a.order > b.order; });
    for (int depth = 1; depth <= empty; depth = depth < HEURISTIC_PASSES ? depth + 1 : empty)
    {
        Move best{};
        const int value = SearchMoves(board, hand, moves, depth, LOSS - 1, WIN + 1, best);
        if (m_aborted)
            return;
        m_result.square = best.square;
        m_result.piece = best.piece;
        m_result.depth = depth;
        if (value >= WIN || value <= LOSS || depth == empty)
        {
            m_result.outcome = OutcomeOf(value);
            return;
        }
        std::stable_partition(moves.begin(), moves.end(), [&](const Move& move) {
            return move.square == best.square && move.piece == best.piece;
        });
    }
}

VyExpertResult VyExpertSearch::Place(const VyCompactPosition& start, int piece, const VyExpertLimits& limits)
{
    Start(limits);
    VyCompactPosition board = start;
    const int winning = board.WinningSquare(piece);
    const int empty = VyBitCount(board.EmptySquares());
    if (winning != -1 || empty == 1 || (board.OffBoardPieces() & ~Bit(piece)) == 0)
    {
        // A win at once, or a last placement that ends the game even.
        m_result.square = winning != -1 ? winning : VyLowestBit(board.EmptySquares());
        m_result.outcome = winning != -1 ? VyOutcome::WIN : VyOutcome::DRAW;
        return m_result;
    }
    std::vector<Move> moves;
    if (!MakeMoves(board, piece, moves, -1, -1))
    {
        // Every placement leaves the opponent a win: any will do.
        m_result.square = VyLowestBit(board.EmptySquares());
        m_result.piece = VyLowestBit(board.OffBoardPieces() & ~Bit(piece));
        m_result.outcome = VyOutcome::LOSS;
        return m_result;
    }
    Deepen(board, piece, moves, empty);
    m_result.tableProbes = m_pTable->Probes() - m_result.tableProbes;
    m_result.tableHits = m_pTable->Hits() - m_result.tableHits;
    return m_result;
}

VyExpertResult VyExpertSearch::Choose(const VyCompactPosition& start, const VyExpertLimits& limits)
{
    Start(limits);
    VyCompactPosition board = start;
    const uint64_t safe = board.SafePieces();
    if (safe == 0)
    {
        // Every piece wins for the opponent at once.
        m_result.piece = VyLowestBit(board.OffBoardPieces());
        m_result.outcome = VyOutcome::LOSS;
        return m_result;
    }
    // Handing over is the root's only move: a pass is the opponent's search of each safe piece.
    std::vector<int> pieces;
    for (uint64_t rest = safe; rest != 0; rest &= rest - 1)
        pieces.push_back(VyLowestBit(rest));
    for (size_t i = pieces.size(); i > 1; --i)
        std::swap(pieces[i - 1], pieces[static_cast<size_t>(m_random.Below(static_cast<int>(i)))]);
    const int empty = VyBitCount(board.EmptySquares());
    for (int depth = 1; depth <= empty; depth = depth < HEURISTIC_PASSES ? depth + 1 : empty)
    {
        int best = LOSS - 1;
        size_t bestIndex = 0;
        for (size_t i = 0; i < pieces.size() && best < WIN && !m_aborted; ++i)
        {
            const int value = -Solve(board, pieces[i], depth, LOSS, -std::max(best, LOSS));
            if (!m_aborted && value > best)
            {
                best = value;
                bestIndex = i;
            }
        }
        if (m_aborted)
            break;
        m_result.piece = pieces[bestIndex];
        m_result.depth = depth;
        std::swap(pieces[0], pieces[bestIndex]);
        if (best >= WIN || best <= LOSS || depth == empty)
        {
            m_result.outcome = OutcomeOf(best);
            break;
        }
    }
    m_result.tableProbes = m_pTable->Probes() - m_result.tableProbes;
    m_result.tableHits = m_pTable->Hits() - m_result.tableHits;
    return m_result;
}

int VyExpertSearch::PlainSolve(VyCompactPosition& board, int piece)
{
    if ((board.Set().Code(piece) & board.Threats()) != 0)
        return WIN;
    if (VyBitCount(board.EmptySquares()) == 1 || (board.OffBoardPieces() & ~Bit(piece)) == 0)
        return DRAW;
    int best = LOSS;
    for (uint64_t squares = board.EmptySquares(); squares != 0 && best < WIN; squares &= squares - 1)
    {
        const int square = VyLowestBit(squares);
        board.Place(piece, square);
        for (uint64_t rest = board.OffBoardPieces(); rest != 0 && best < WIN; rest &= rest - 1)
            best = std::max(best, -PlainSolve(board, VyLowestBit(rest)));
        board.Remove(square);
    }
    return best;
}

VyOutcome VyExpertSearch::PlainValue(const VyCompactPosition& start, int piece)
{
    VyCompactPosition board = start;
    return OutcomeOf(PlainSolve(board, piece));
}
