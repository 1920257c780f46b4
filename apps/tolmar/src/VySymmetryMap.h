#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "VyCompactSet.h"

// One symmetry of a set: a permutation of its squares or of its pieces, as the image of every index
// (entries beyond the set's count are unused), with its inverse.
struct VySymmetryMap
{
    std::array<uint8_t, VyCompactSet::VY_MAX_SQUARES> image{};
    std::array<uint8_t, VyCompactSet::VY_MAX_SQUARES> inverse{};

    // The identity on count indices.
    static VySymmetryMap Identity(int count);
    // Fills inverse from image for count indices.
    void Invert(int count);
};
