#pragma once

#include <vector>

#include "VyCompactSet.h"
#include "VySymmetryMap.h"

// The symmetries of a set's board: the permutations of its squares that map the set's winning lines
// onto its winning lines. Any of them carries a position to one of the same value. They are derived
// from the lines by a search over square assignments that keeps, for every pair of squares, the
// number of lines through both; nothing about the board's shape is assumed.
//
// The identity comes first. A board whose lines allow more than the limit (a set with few lines
// allows nearly every permutation) keeps the first `limit` found: a part of the group, which still
// only ever pairs positions of equal value.
class VyBoardSymmetries
{
public:
    static constexpr size_t VY_DEFAULT_LIMIT = 4096;

    static std::vector<VySymmetryMap> Derive(const VyCompactSet& set, size_t limit = VY_DEFAULT_LIMIT);

private:
    VyBoardSymmetries(const VyCompactSet& set, size_t limit);
    void Assign(int square);
    bool Fits(int square, int image) const;
    bool LinesKept(int square) const;

    const VyCompactSet& m_set;
    size_t m_limit;
    std::vector<std::vector<int>> m_shared; // lines through both squares
    std::vector<uint64_t> m_lineMasks;      // sorted, for look-up
    VySymmetryMap m_map;
    uint64_t m_used = 0;
    std::vector<VySymmetryMap> m_found;
};
