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
    for (int line : m_pSet->LinesThrough(square))
    {
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
    for (int line : m_pSet->LinesThrough(square))
    {
        uint64_t codes = ~uint64_t{0};
        for (uint64_t rest = m_pSet->LineMask(line) & ~m_empty; rest != 0; rest &= rest - 1)
            codes &= m_pSet->Code(m_board[static_cast<size_t>(VyLowestBit(rest))]);
        m_lineAnd[static_cast<size_t>(line)] = codes;
        ++m_lineEmpty[static_cast<size_t>(line)];
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
    const uint64_t threats = Threats();
    uint64_t safe = 0;
    for (uint64_t off = m_offBoard; off != 0; off &= off - 1)
        if ((m_pSet->Code(VyLowestBit(off)) & threats) == 0)
            safe |= uint64_t{1} << VyLowestBit(off);
    return safe;
}
