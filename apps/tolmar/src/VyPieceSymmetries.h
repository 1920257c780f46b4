#pragma once

#include <map>
#include <vector>

#include "VyCompactSet.h"
#include "VySymmetryMap.h"

// The symmetries of a set's pieces: the maps of property values that carry the set's pieces onto
// its pieces. A map permutes the properties that have the same number of values and may flip each
// two-valued property (swap its two values); two pieces share a value after it exactly where they
// shared one before, so it carries a position to one of the same value. Each map is kept as the
// permutation of the pieces it induces. Derived from the pieces' codes; a map that would send a
// piece to a code no piece has is no symmetry. Pieces with equal codes get the identity only.
//
// The identity comes first; beyond the limit the first `limit` found are kept (see
// VyBoardSymmetries).
class VyPieceSymmetries
{
public:
    static constexpr size_t VY_DEFAULT_LIMIT = 4096;

    static std::vector<VySymmetryMap> Derive(const VyCompactSet& set, size_t limit = VY_DEFAULT_LIMIT);

private:
    VyPieceSymmetries(const VyCompactSet& set, size_t limit);
    void AssignProperty(int property);
    void AssignFlips(int property);
    void TryMap();
    uint64_t MapCode(uint64_t code) const;

    const VyCompactSet& m_set;
    size_t m_limit;
    std::map<uint64_t, int> m_pieceOfCode;
    std::vector<int> m_target;  // property p's values go to property m_target[p]
    std::vector<bool> m_flip;   // ... with its two values swapped
    std::vector<bool> m_taken;
    std::vector<VySymmetryMap> m_found;
};
