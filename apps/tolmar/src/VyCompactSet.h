#pragma once

#include <cstdint>
#include <vector>

#include "VyPieceSet.h"
#include "vythread/VyString.h"

// The piece set as the computer sees it. Each piece is a bit code of its property values: every
// value of every property has a bit of its own (the values of property 0 first, in value order),
// and a piece sets the bit of each value it has. Each winning line is a mask of its squares. A full
// line wins when the codes of its pieces share a bit: AND over the line != 0.
//
// Limits: at most VY_MAX_SQUARES squares, VY_MAX_PIECES pieces and VY_MAX_VALUES property values in
// all (summed over the properties). The set loader refuses a set beyond them (WhyBeyondLimits), so
// a game never reaches the computer with one; building one from such data throws VyException.
//
// Set data that cannot win is left out, as the plain win test treats it: a line without squares
// or naming a missing square never wins, and a piece has no bit for a property it has no value for.
class VyCompactSet
{
public:
    static constexpr int VY_MAX_SQUARES = 64;
    static constexpr int VY_MAX_PIECES = 64;
    static constexpr int VY_MAX_VALUES = 64;

    // The pieces' values (one index per property, -1 or missing for none), the number of squares
    // and the lines as square indices. Throws VyException beyond the limits.
    VyCompactSet(size_t squareCount, const std::vector<VyPieceInfo>& pieces, size_t propertyCount,
                 const std::vector<std::vector<int>>& combinations);

    // Why a loaded set does not fit ("...; at most 64 are supported"); empty when it fits.
    static VyString WhyBeyondLimits(const VyPieceSet& set);

    int SquareCount() const { return m_squareCount; }
    int PieceCount() const { return static_cast<int>(m_codes.size()); }
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    uint64_t Code(int piece) const { return m_codes[static_cast<size_t>(piece)]; }
    // The pieces whose codes share a bit with values.
    uint64_t PiecesWithAny(uint64_t values) const
    {
        uint64_t pieces = 0;
        for (; values != 0; values &= values - 1)
            pieces |= m_piecesWithValue[static_cast<size_t>(__builtin_ctzll(values))];
        return pieces;
    }
    uint64_t LineMask(int line) const { return m_lines[static_cast<size_t>(line)]; }
    // The lines through a square, in line order.
    const std::vector<int>& LinesThrough(int square) const { return m_linesThrough[static_cast<size_t>(square)]; }
    // The bits of property p's values: bits FirstBit(p) .. FirstBit(p) + ValueCount(p) - 1.
    int PropertyCount() const { return static_cast<int>(m_valueCounts.size()); }
    int ValueCount(int property) const { return m_valueCounts[static_cast<size_t>(property)]; }
    int FirstBit(int property) const { return m_firstBits[static_cast<size_t>(property)]; }
    // Every square's bit: the mask of a board with no piece on it.
    uint64_t AllSquares() const;
    // Every piece's bit.
    uint64_t AllPieces() const;

private:
    void CountValues(const std::vector<VyPieceInfo>& pieces, size_t propertyCount);
    void MakeCodes(const std::vector<VyPieceInfo>& pieces);
    void MakeLines(const std::vector<std::vector<int>>& combinations);

    int m_squareCount;
    std::vector<int> m_valueCounts;
    std::vector<int> m_firstBits;
    std::vector<uint64_t> m_codes;
    std::vector<uint64_t> m_piecesWithValue; // per value bit, the pieces that have it
    std::vector<uint64_t> m_lines;
    std::vector<std::vector<int>> m_linesThrough;
};
