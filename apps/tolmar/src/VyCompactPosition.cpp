#include "VyCompactPosition.h"

#include "VyComputerDecision.h"

VyCompactPosition::VyCompactPosition(const VyCompactSet& set) : m_pSet(&set)
{
    Reset();
}

VyCompactPosition::VyCompactPosition(const VyCompactSet& set, const VyComputerPosition& position) : m_pSet(&set)
{
    Reset();
    const int squares = std::min(set.SquareCount(), static_cast<int>(position.squares.size()));
    for (int s = 0; s < squares; ++s)
    {
        const int piece = position.squares[static_cast<size_t>(s)].piece;
        if (piece >= 0 && piece < set.PieceCount() && IsOffBoard(piece))
            Place(piece, s);
    }
}

void VyCompactPosition::Reset()
{
    m_board.fill(-1);
    m_empty = m_pSet->AllSquares();
    m_offBoard = m_pSet->AllPieces();
    m_placed.clear();
    m_saved.clear();
    m_lineAnd.assign(static_cast<size_t>(m_pSet->LineCount()), ~uint64_t{0});
    m_lineEmpty.resize(m_lineAnd.size());
    for (int line = 0; line < m_pSet->LineCount(); ++line)
        m_lineEmpty[static_cast<size_t>(line)] = static_cast<uint8_t>(VyBitCount(m_pSet->LineMask(line)));
}

void VyCompactPosition::Place(int piece, int square)
{
    m_board[static_cast<size_t>(square)] = static_cast<int8_t>(piece);
    m_empty &= ~(uint64_t{1} << square);
    m_offBoard &= ~(uint64_t{1} << piece);
    const uint64_t code = m_pSet->Code(piece);
    m_placed.push_back(static_cast<int8_t>(square));
    for (int line : m_pSet->LinesThrough(square))
    {
        m_saved.push_back(m_lineAnd[static_cast<size_t>(line)]);
        m_lineAnd[static_cast<size_t>(line)] &= code;
        --m_lineEmpty[static_cast<size_t>(line)];
    }
}

void VyCompactPosition::Remove(int square)
{
    const int piece = m_board[static_cast<size_t>(square)];
    m_board[static_cast<size_t>(square)] = -1;
    m_empty |= uint64_t{1} << square;
    m_offBoard |= uint64_t{1} << piece;
    const std::vector<int>& lines = m_pSet->LinesThrough(square);
    for (int line : lines)
        ++m_lineEmpty[static_cast<size_t>(line)];
    if (m_placed.empty() || m_placed.back() != square)
    {
        // Out of order: the saved values no longer hold for what stays.
        m_placed.clear();
        m_saved.clear();
        return RecomputeLines(square);
    }
    m_placed.pop_back();
    for (size_t i = lines.size(); i-- > 0;)
    {
        m_lineAnd[static_cast<size_t>(lines[i])] = m_saved.back();
        m_saved.pop_back();
    }
}

void VyCompactPosition::RecomputeLines(int square)
{
    for (int line : m_pSet->LinesThrough(square))
    {
        uint64_t codes = ~uint64_t{0};
        for (uint64_t rest = m_pSet->LineMask(line) & ~m_empty; rest != 0; rest &= rest - 1)
            codes &= m_pSet->Code(m_board[static_cast<size_t>(VyLowestBit(rest))]);
        m_lineAnd[static_cast<size_t>(line)] = codes;
    }
}

bool VyCompactPosition::HasWin() const
{
    for (size_t line = 0; line < m_lineAnd.size(); ++line)
        if (m_lineEmpty[line] == 0 && m_lineAnd[line] != 0)
            return true;
    return false;
}

bool VyCompactPosition::WinsAt(int piece, int square) const
{
    return (m_pSet->Code(piece) & WinningValuesAt(square)) != 0;
}

uint64_t VyCompactPosition::WinningValuesAt(int square) const
{
    uint64_t values = 0;
    for (int line : m_pSet->LinesThrough(square))
        if (m_lineEmpty[static_cast<size_t>(line)] == 1)
            values |= m_lineAnd[static_cast<size_t>(line)];
    return values;
}

uint64_t VyCompactPosition::Threats() const
{
    uint64_t threats = 0;
    for (size_t line = 0; line < m_lineAnd.size(); ++line)
        if (m_lineEmpty[line] == 1)
            threats |= m_lineAnd[line];
    return threats;
}

int VyCompactPosition::WinningSquare(int piece) const
{
    for (uint64_t empty = m_empty; empty != 0; empty &= empty - 1)
        if (WinsAt(piece, VyLowestBit(empty)))
            return VyLowestBit(empty);
    return -1;
}

uint64_t VyCompactPosition::SafePieces() const
{
    return m_offBoard & ~m_pSet->PiecesWithAny(Threats());
}

// A placement on s leaves as threats the lines that lack one square other than s, and the lines
// that lacked s and one more with the piece's code added. One pass over the lines gathers both per
// empty square; a pass up and one down then OR the first kind over the other squares.
void VyCompactPosition::SafePiecesAfter(int piece, SquareMasks& safe) const
{
    const uint64_t code = m_pSet->Code(piece);
    SquareMasks lacking;  // per empty square, the ANDs of the lines that lack only it
    SquareMasks pairing;  // ... of the lines that lack it and one more, with the code
    for (uint64_t e = m_empty; e != 0; e &= e - 1)
        lacking[static_cast<size_t>(VyLowestBit(e))] = pairing[static_cast<size_t>(VyLowestBit(e))] = 0;
    for (size_t line = 0; line < m_lineAnd.size(); ++line)
    {
        const uint64_t open = m_pSet->LineMask(static_cast<int>(line)) & m_empty;
        if (m_lineEmpty[line] == 1)
            lacking[static_cast<size_t>(VyLowestBit(open))] |= m_lineAnd[line];
        else if (m_lineEmpty[line] == 2)
            for (uint64_t two = open; two != 0; two &= two - 1)
                pairing[static_cast<size_t>(VyLowestBit(two))] |= m_lineAnd[line] & code;
    }
    uint64_t below = 0;
    for (uint64_t e = m_empty; e != 0; e &= e - 1)
    {
        const size_t s = static_cast<size_t>(VyLowestBit(e));
        safe[s] = below;
        below |= lacking[s];
    }
    const uint64_t offAfter = m_offBoard & ~(uint64_t{1} << piece);
    uint64_t above = 0;
    for (uint64_t e = m_empty; e != 0; e &= ~(uint64_t{1} << VyHighestBit(e)))
    {
        const size_t s = static_cast<size_t>(VyHighestBit(e));
        safe[s] = offAfter & ~m_pSet->PiecesWithAny(safe[s] | above | pairing[s]);
        above |= lacking[s];
    }
}
