#include "VyBoardSymmetries.h"

#include <algorithm>

#include "VyCompactPosition.h"

VyBoardSymmetries::VyBoardSymmetries(const VyCompactSet& set, size_t limit) : m_set(set), m_limit(limit)
{
    const size_t n = static_cast<size_t>(set.SquareCount());
    m_shared.assign(n, std::vector<int>(n, 0));
    for (int line = 0; line < set.LineCount(); ++line)
    {
        const uint64_t mask = set.LineMask(line);
        m_lineMasks.push_back(mask);
        for (size_t a = 0; a < n; ++a)
            for (size_t b = 0; b < n; ++b)
                if ((mask >> a & 1) && (mask >> b & 1))
                    ++m_shared[a][b];
    }
    std::sort(m_lineMasks.begin(), m_lineMasks.end());
}

std::vector<VySymmetryMap> VyBoardSymmetries::Derive(const VyCompactSet& set, size_t limit)
{
    VyBoardSymmetries search(set, std::max<size_t>(limit, 1));
    search.m_found.push_back(VySymmetryMap::Identity(set.SquareCount()));
    search.Assign(0);
    return std::move(search.m_found);
}

// The pair counts (a square with itself: the lines through it) of square and the squares before it.
bool VyBoardSymmetries::Fits(int square, int image) const
{
    const auto s = static_cast<size_t>(square);
    for (size_t before = 0; before <= s; ++before)
    {
        const size_t imageBefore = before == s ? static_cast<size_t>(image) : m_map.image[before];
        if (m_shared[s][before] != m_shared[static_cast<size_t>(image)][imageBefore])
            return false;
    }
    return true;
}

// Every line whose last square is square maps onto a line.
bool VyBoardSymmetries::LinesKept(int square) const
{
    for (int line : m_set.LinesThrough(square))
    {
        const uint64_t mask = m_set.LineMask(line);
        if (63 - __builtin_clzll(mask) != square)
            continue;
        uint64_t image = 0;
        for (uint64_t rest = mask; rest != 0; rest &= rest - 1)
            image |= uint64_t{1} << m_map.image[static_cast<size_t>(VyLowestBit(rest))];
        if (!std::binary_search(m_lineMasks.begin(), m_lineMasks.end(), image))
            return false;
    }
    return true;
}

void VyBoardSymmetries::Assign(int square)
{
    const int n = m_set.SquareCount();
    if (square == n)
    {
        VySymmetryMap found = m_map;
        found.Invert(n);
        if (found.image != m_found.front().image)
            m_found.push_back(found);
        return;
    }
    for (int image = 0; image < n && m_found.size() < m_limit; ++image)
    {
        if ((m_used >> image & 1) || !Fits(square, image))
            continue;
        m_map.image[static_cast<size_t>(square)] = static_cast<uint8_t>(image);
        m_used |= uint64_t{1} << image;
        if (LinesKept(square))
            Assign(square + 1);
        m_used &= ~(uint64_t{1} << image);
    }
}
