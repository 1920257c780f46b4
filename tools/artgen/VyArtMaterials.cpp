#include "artgen/VyArtMaterials.h"

#include "artgen/VyArtNoise.h"

VyArtVec3 WoodAlbedo(const VyArtVec3& p, const VyArtWoodStyle& style)
{
    // Bend the rings with slow noise; the lengthwise axis is stretched so bends run along the grain.
    VyArtVec3 slow{p.x * 1.5, p.y * 1.5, p.z * 0.25};
    double bend = VyArtNoise::Fbm(slow, 3, style.seed);
    double radius = std::sqrt(p.x * p.x + p.y * p.y) + style.distortion * bend;
    double ring = Fract(radius * style.ringsPerUnit);
    // Late wood: a sharp rise at the end of each year, fading into the next early wood.
    double late = SmoothStep(0.55, 0.92, ring) * (1.0 - SmoothStep(0.92, 1.0, ring)) + (1.0 - SmoothStep(0.0, 0.08, ring)) * 0.6;
    VyArtVec3 color = Mix(style.early, style.late, Clamp01(late));
    // Fine grain: thin streaks along the log axis, and larger blotches of figure.
    VyArtVec3 fine{p.x * style.streakScale, p.y * style.streakScale, p.z * style.streakScale * 0.04};
    double streak = VyArtNoise::Fbm(fine, 3, style.seed + 7u);
    double figure = VyArtNoise::Fbm(VyArtVec3{p.x * 3.0, p.y * 3.0, p.z * 0.8}, 2, style.seed + 13u);
    double shade = 1.0 + style.streaks * streak * 1.6 + 0.12 * figure;
    return color * std::max(0.2, shade);
}

VyArtVec3 StoneAlbedo(double x, double y, const VyArtStoneStyle& style, int period)
{
    // Every noise below runs at the cell scale or half of it, so an even period of whole cells carries
    // over to the whole pattern.
    int half = period / 2;
    double cloud = VyArtNoise::Fbm2(x * 0.5, y * 0.5, 5, half, style.seed + 3u);
    VyArtVec3 color = Mix(style.base, style.cloud, Clamp01(0.5 + 1.6 * cloud));

    // Major veins: bands across one direction, pushed about by turbulence so that they wander and
    // kink. With a period the band count along the diagonal is whole, so the bands wrap.
    double across;
    if (period > 0)
        across = (x + y) / period * std::max(1.0, std::round(style.veinsPerCell * period));
    else
        across = (x * std::cos(style.veinAngle) + y * std::sin(style.veinAngle)) * style.veinsPerCell;
    double turbulence = VyArtNoise::Turbulence2(x * 0.5, y * 0.5, 6, half, style.seed + 4u);
    double phase = across + style.turbulence * turbulence;
    double band = std::fabs(std::sin(VY_ART_PI * phase));
    double width = 0.05 + 0.12 * Clamp01(0.5 + 1.5 * VyArtNoise::Fbm2(x * 0.5, y * 0.5, 2, half, style.seed + 6u));
    double vein = 1.0 - SmoothStep(0.0, width, band);
    // A halo around the vein where the colour washes out.
    double halo = 1.0 - SmoothStep(0.0, width * 4.0, band);

    // Fine hairline veins along the zero lines of a second noise; value over gradient is the distance
    // to the line, so a hairline keeps its width where the noise is flat.
    const double h = 0.01;
    double n = VyArtNoise::Fbm2(x, y, 4, period, style.seed + 5u);
    double nx = VyArtNoise::Fbm2(x + h, y, 4, period, style.seed + 5u);
    double ny = VyArtNoise::Fbm2(x, y + h, 4, period, style.seed + 5u);
    double distance = std::fabs(n) / std::max(std::hypot(nx - n, ny - n) / h, 0.05);
    double fine = (1.0 - SmoothStep(0.0, 0.012, distance)) *
                  SmoothStep(-0.1, 0.3, VyArtNoise::Fbm2(x * 0.5 + 3.1, y * 0.5, 3, half, style.seed + 7u));

    color = Mix(color, style.vein, Clamp01(0.18 * halo));
    return Mix(color, style.vein, Clamp01(style.veinStrength * vein + 0.3 * fine));
}
