#pragma once

#include <cstdint>

#include "artgen/VyArtMath.h"

// Solid wood: growth rings around the z axis of p (the log's axis), so the grain runs along z.
struct VyArtWoodStyle
{
    VyArtVec3 early;        // light wood between the rings
    VyArtVec3 late;         // dark ring bands
    double ringsPerUnit;    // ring density across the log
    double distortion;      // how far noise bends the rings
    double streaks;         // strength of the fine lengthwise grain
    double streakScale;     // fine grain frequency across the log
    uint32_t seed;
};

// Polished stone: a cloudy base crossed by wandering veins and fine hairlines.
struct VyArtStoneStyle
{
    VyArtVec3 base;
    VyArtVec3 cloud;        // second tone of the cloudy base
    VyArtVec3 vein;         // colour of the veins
    double veinStrength;    // 0..1
    double veinsPerCell;    // major vein bands per noise cell
    double veinAngle;       // direction across the bands, radians (ignored when the pattern repeats)
    double turbulence;      // how far the veins wander, in bands
    uint32_t seed;
};

// Wood colour at a point of the wood's own space.
VyArtVec3 WoodAlbedo(const VyArtVec3& p, const VyArtWoodStyle& style);

// Stone colour at (x, y) in noise cells. With an even period > 0 the pattern repeats every period
// cells in both directions.
VyArtVec3 StoneAlbedo(double x, double y, const VyArtStoneStyle& style, int period = 0);
