#include "VyExpertSearch.h"

#include "vythread/VyClock.h"

namespace
{
constexpr int WIN = 1;
constexpr int LOSS = -1;
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

VyExpertSearch::VyExpertSearch(const VyCompactSet& set) : m_set(set)
{
}

void VyExpertSearch::Start(const VyExpertLimits& limits)
{
    m_pLimits = &limits;
    m_startUs = VyClock::Microseconds();
    m_aborted = false;
    m_result = VyExpertResult();
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

VyOutcome VyExpertSearch::OutcomeOf(int value)
{
    return value == WIN ? VyOutcome::WIN : value == LOSS ? VyOutcome::LOSS : VyOutcome::DRAW;
}

int VyExpertSearch::Solve(VyCompactPosition& board, int piece, int alpha, int beta)
{
    if (++m_result.nodes % VY_CHECK_NODES == 0 && CheckStop())
        return 0;
    if (m_aborted)
        return 0;
    if ((m_set.Code(piece) & board.Threats()) != 0)
        return WIN;
    const uint64_t empty = board.EmptySquares();
    if (VyBitCount(empty) == 1 || (board.OffBoardPieces() & ~(uint64_t{1} << piece)) == 0)
        return 0;
    int best = LOSS;
    for (uint64_t squares = empty; squares != 0 && best < beta; squares &= squares - 1)
    {
        const int square = VyLowestBit(squares);
        board.Place(piece, square);
        for (uint64_t safe = board.SafePieces(); safe != 0 && best < beta; safe &= safe - 1)
            best = std::max(best, -Solve(board, VyLowestBit(safe), -beta, -std::max(alpha, best)));
        board.Remove(square);
    }
    return best;
}

VyExpertResult VyExpertSearch::Place(const VyCompactPosition& start, int piece, const VyExpertLimits& limits)
{
    Start(limits);
    VyCompactPosition board = start;
    int best = LOSS - 1;
    for (uint64_t squares = board.EmptySquares(); squares != 0 && best < WIN && !m_aborted; squares &= squares - 1)
    {
        const int square = VyLowestBit(squares);
        if (board.WinsAt(piece, square))
            return m_result.square = square, m_result.outcome = VyOutcome::WIN, m_result;
        board.Place(piece, square);
        const uint64_t safe = board.SafePieces();
        if (board.OffBoardPieces() == 0 || VyBitCount(board.EmptySquares()) == 0)
        {
            if (best < 0)
                best = 0, m_result.square = square, m_result.piece = -1;
        }
        else if (safe == 0 && best < LOSS)
            best = LOSS, m_result.square = square, m_result.piece = VyLowestBit(board.OffBoardPieces());
        for (uint64_t rest = safe; rest != 0 && best < WIN && !m_aborted; rest &= rest - 1)
        {
            const int value = -Solve(board, VyLowestBit(rest), -WIN, -std::max(best, LOSS));
            if (!m_aborted && value > best)
                best = value, m_result.square = square, m_result.piece = VyLowestBit(rest);
        }
        board.Remove(square);
    }
    m_result.outcome = m_aborted ? VyOutcome::UNKNOWN : OutcomeOf(best);
    return m_result;
}

VyExpertResult VyExpertSearch::Choose(const VyCompactPosition& start, const VyExpertLimits& limits)
{
    Start(limits);
    VyCompactPosition board = start;
    const uint64_t safe = board.SafePieces();
    int best = LOSS - 1;
    if (safe == 0 && board.OffBoardPieces() != 0)
        best = LOSS, m_result.piece = VyLowestBit(board.OffBoardPieces());
    for (uint64_t rest = safe; rest != 0 && best < WIN && !m_aborted; rest &= rest - 1)
    {
        const int value = -Solve(board, VyLowestBit(rest), -WIN, -std::max(best, LOSS));
        if (!m_aborted && value > best)
            best = value, m_result.piece = VyLowestBit(rest);
    }
    m_result.outcome = m_aborted || best < LOSS ? VyOutcome::UNKNOWN : OutcomeOf(best);
    return m_result;
}
