#include "artgen/VyArtNoise.h"

namespace
{
double Fade(double t)
{
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

// One of twelve edge directions of a cube, picked by the hash (the classic gradient set).
double GradientDot3(uint32_t hash, double x, double y, double z)
{
    switch (hash % 12)
    {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
    }
}

double GradientDot2(uint32_t hash, double x, double y)
{
    // Eight directions around the circle, diagonals scaled to unit length.
    constexpr double d = 0.70710678118654752;
    switch (hash % 8)
    {
    case 0: return x;
    case 1: return -x;
    case 2: return y;
    case 3: return -y;
    case 4: return d * (x + y);
    case 5: return d * (x - y);
    case 6: return d * (-x + y);
    default: return d * (-x - y);
    }
}

int Wrap(int value, int period)
{
    if (period <= 0)
        return value;
    int r = value % period;
    return r < 0 ? r + period : r;
}
} // namespace

uint32_t VyArtNoise::Hash(int x, int y, int z, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u;
    auto mix = [&h](uint32_t v) {
        h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        h *= 0xC2B2AE35u;
        h ^= h >> 16;
    };
    mix(static_cast<uint32_t>(x));
    mix(static_cast<uint32_t>(y));
    mix(static_cast<uint32_t>(z));
    return h;
}

double VyArtNoise::HashUnit(int x, int y, int z, uint32_t seed)
{
    return (Hash(x, y, z, seed) >> 8) / 16777216.0;
}

double VyArtNoise::Gradient(const VyArtVec3& p, uint32_t seed)
{
    int ix = static_cast<int>(std::floor(p.x));
    int iy = static_cast<int>(std::floor(p.y));
    int iz = static_cast<int>(std::floor(p.z));
    double fx = p.x - ix, fy = p.y - iy, fz = p.z - iz;
    double u = Fade(fx), v = Fade(fy), w = Fade(fz);
    auto corner = [&](int dx, int dy, int dz) {
        return GradientDot3(Hash(ix + dx, iy + dy, iz + dz, seed), fx - dx, fy - dy, fz - dz);
    };
    double x00 = Mix(corner(0, 0, 0), corner(1, 0, 0), u);
    double x10 = Mix(corner(0, 1, 0), corner(1, 1, 0), u);
    double x01 = Mix(corner(0, 0, 1), corner(1, 0, 1), u);
    double x11 = Mix(corner(0, 1, 1), corner(1, 1, 1), u);
    return Mix(Mix(x00, x10, v), Mix(x01, x11, v), w);
}

double VyArtNoise::Gradient2(double x, double y, int periodX, int periodY, uint32_t seed)
{
    int ix = static_cast<int>(std::floor(x));
    int iy = static_cast<int>(std::floor(y));
    double fx = x - ix, fy = y - iy;
    double u = Fade(fx), v = Fade(fy);
    auto corner = [&](int dx, int dy) {
        return GradientDot2(Hash(Wrap(ix + dx, periodX), Wrap(iy + dy, periodY), 0, seed), fx - dx, fy - dy);
    };
    return Mix(Mix(corner(0, 0), corner(1, 0), u), Mix(corner(0, 1), corner(1, 1), u), v);
}

double VyArtNoise::Fbm(const VyArtVec3& p, int octaves, uint32_t seed)
{
    double sum = 0.0, amplitude = 0.5, frequency = 1.0;
    for (int i = 0; i < octaves; ++i)
    {
        sum += amplitude * Gradient(p * frequency, seed + static_cast<uint32_t>(i) * 131u);
        amplitude *= 0.5;
        frequency *= 2.0;
    }
    return sum;
}

double VyArtNoise::Fbm2(double x, double y, int octaves, int period, uint32_t seed)
{
    double sum = 0.0, amplitude = 0.5, frequency = 1.0;
    int octavePeriod = period;
    for (int i = 0; i < octaves; ++i)
    {
        sum += amplitude * Gradient2(x * frequency, y * frequency, octavePeriod, octavePeriod,
                                     seed + static_cast<uint32_t>(i) * 131u);
        amplitude *= 0.5;
        frequency *= 2.0;
        octavePeriod *= 2;
    }
    return sum;
}

double VyArtNoise::Turbulence2(double x, double y, int octaves, int period, uint32_t seed)
{
    double sum = 0.0, amplitude = 0.5, frequency = 1.0;
    int octavePeriod = period;
    for (int i = 0; i < octaves; ++i)
    {
        sum += amplitude * std::fabs(Gradient2(x * frequency, y * frequency, octavePeriod, octavePeriod,
                                               seed + static_cast<uint32_t>(i) * 131u));
        amplitude *= 0.5;
        frequency *= 2.0;
        octavePeriod *= 2;
    }
    return sum;
}
