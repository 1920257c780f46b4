#include "VyCompactSet.h"

#include <algorithm>

#include "vythread/VyException.h"

namespace
{
[[noreturn]] void Refuse(const VyString& why)
{
    throw VyException("VyCompactSet", "VyCompactSet", why);
}

uint64_t LowBits(int count)
{
    return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
}
} // namespace

VyCompactSet::VyCompactSet(size_t squareCount, const std::vector<VyPieceInfo>& pieces, size_t propertyCount,
                           const std::vector<std::vector<int>>& combinations)
    : m_squareCount(static_cast<int>(squareCount))
{
    if (squareCount > VY_MAX_SQUARES)
        Refuse(VyString::Format("%d squares; at most %d are supported", m_squareCount, VY_MAX_SQUARES));
    if (pieces.size() > VY_MAX_PIECES)
        Refuse(VyString::Format("%d pieces; at most %d are supported", static_cast<int>(pieces.size()),
                                VY_MAX_PIECES));
    CountValues(pieces, propertyCount);
    MakeCodes(pieces);
    MakeLines(combinations);
}

VyString VyCompactSet::WhyBeyondLimits(const VyPieceSet& set)
{
    if (set.squares.size() > VY_MAX_SQUARES)
        return VyString::Format("The set has %d squares; at most %d are supported",
                                static_cast<int>(set.squares.size()), VY_MAX_SQUARES);
    if (set.pieces.size() > VY_MAX_PIECES)
        return VyString::Format("The set has %d pieces; at most %d are supported",
                                static_cast<int>(set.pieces.size()), VY_MAX_PIECES);
    size_t values = 0;
    for (const VyProperty& property : set.properties)
        values += property.values.size();
    if (values > VY_MAX_VALUES)
        return VyString::Format("The set's properties have %d values in all; at most %d are supported",
                                static_cast<int>(values), VY_MAX_VALUES);
    return VyString();
}

// A property has as many values as its highest index used + 1.
void VyCompactSet::CountValues(const std::vector<VyPieceInfo>& pieces, size_t propertyCount)
{
    m_valueCounts.assign(propertyCount, 0);
    for (const VyPieceInfo& piece : pieces)
        for (size_t p = 0; p < propertyCount && p < piece.values.size(); ++p)
            m_valueCounts[p] = std::max(m_valueCounts[p], piece.values[p] + 1);
    int bits = 0;
    for (int count : m_valueCounts)
    {
        m_firstBits.push_back(bits);
        bits += count;
        if (bits > VY_MAX_VALUES)
            Refuse(VyString::Format("more than %d property values; at most %d are supported", VY_MAX_VALUES,
                                    VY_MAX_VALUES));
    }
}

void VyCompactSet::MakeCodes(const std::vector<VyPieceInfo>& pieces)
{
    for (const VyPieceInfo& piece : pieces)
    {
        uint64_t code = 0;
        for (size_t p = 0; p < m_valueCounts.size() && p < piece.values.size(); ++p)
            if (piece.values[p] >= 0)
                code |= uint64_t{1} << (m_firstBits[p] + piece.values[p]);
        m_codes.push_back(code);
    }
    m_piecesWithValue.assign(VY_MAX_VALUES, 0);
    for (size_t piece = 0; piece < m_codes.size(); ++piece)
        for (uint64_t bits = m_codes[piece]; bits != 0; bits &= bits - 1)
            m_piecesWithValue[static_cast<size_t>(__builtin_ctzll(bits))] |= uint64_t{1} << piece;
}

void VyCompactSet::MakeLines(const std::vector<std::vector<int>>& combinations)
{
    m_linesThrough.assign(static_cast<size_t>(m_squareCount), {});
    for (const std::vector<int>& combination : combinations)
    {
        uint64_t mask = 0;
        bool valid = !combination.empty();
        for (int square : combination)
            if (square < 0 || square >= m_squareCount)
                valid = false;
            else
                mask |= uint64_t{1} << square;
        if (!valid)
            continue;
        const int line = static_cast<int>(m_lines.size());
        m_lines.push_back(mask);
        for (int s = 0; s < m_squareCount; ++s)
            if (mask >> s & 1)
                m_linesThrough[static_cast<size_t>(s)].push_back(line);
    }
}

uint64_t VyCompactSet::AllSquares() const
{
    return LowBits(m_squareCount);
}

uint64_t VyCompactSet::AllPieces() const
{
    return LowBits(PieceCount());
}
