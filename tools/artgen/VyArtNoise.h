#pragma once

#include <cstdint>

#include "artgen/VyArtMath.h"

// Deterministic procedural noise: integer hashing only, so the same inputs give the same values on
// every run. Each function takes a seed so that different textures use independent patterns.
class VyArtNoise
{
public:
    static uint32_t Hash(int x, int y, int z, uint32_t seed);
    // The hash as a number in [0, 1).
    static double HashUnit(int x, int y, int z, uint32_t seed);

    // Gradient noise with unit lattice spacing, roughly -1..1, zero on lattice points.
    static double Gradient(const VyArtVec3& p, uint32_t seed);
    // Two-dimensional gradient noise that repeats every periodX cells in x and periodY cells in y
    // (a period of 0 does not repeat).
    static double Gradient2(double x, double y, int periodX, int periodY, uint32_t seed);

    // Fractal sum of octaves of Gradient: each octave has twice the frequency and half the amplitude.
    static double Fbm(const VyArtVec3& p, int octaves, uint32_t seed);
    // Fractal sum of Gradient2 that still repeats every period cells of the first octave.
    static double Fbm2(double x, double y, int octaves, int period, uint32_t seed);
    // Like Fbm2 with the absolute value of each octave: billowy, for marble veins.
    static double Turbulence2(double x, double y, int octaves, int period, uint32_t seed);
};
