#include "artgen/VyArtTitle.h"

#include "artgen/VyArtLettering.h"
#include "artgen/VyArtLight.h"

namespace
{
constexpr int VY_SAMPLES = 4;
constexpr double VY_EM = 37.0; // pixels per em (the x-height)
constexpr double VY_BASELINE = 33.0;

// Brass face with a bevelled rim and a thin dark outline, lit from the upper left. inside is the
// depth below the letter's edge in pixels; fromStroke points from the stroke's centre line outwards.
VyArtVec3 ShadeLetter(double inside, VyArtVec2 fromStroke, double heightInPicture)
{
    const double bevel = 2.2;
    VyArtVec3 normal{0.0, 0.0, 1.0};
    double length = std::hypot(fromStroke.x, fromStroke.y);
    if (inside < bevel && length > 1e-9)
    {
        double slope = 1.4 * (1.0 - SmoothStep(0.0, bevel, inside)) + 0.2;
        normal = Normalized({fromStroke.x / length * slope, fromStroke.y / length * slope, 1.0});
    }
    // Brass darkens from the top of the letters down, like a lit, polished plate.
    VyArtVec3 albedo = Mix(SrgbColor(140, 86, 26), SrgbColor(238, 194, 96), Clamp01(heightInPicture));
    double diffuse = std::max(0.0, Dot(normal, VY_ART_FACE_LIGHT));
    VyArtVec3 halfway = Normalized(VY_ART_FACE_LIGHT + VyArtVec3{0.0, 0.0, 1.0});
    double highlight = std::pow(std::max(0.0, Dot(normal, halfway)), 24.0);
    VyArtVec3 color = albedo * (0.35 + 0.8 * diffuse) + VyArtVec3{1.0, 0.92, 0.75} * (0.35 * highlight);
    double outline = 1.0 - SmoothStep(0.6, 1.4, inside);
    return Mix(color, SrgbColor(58, 32, 12), outline);
}
} // namespace

VyArtImage VyArtTitle::Lettering(int width, int height)
{
    VyArtLettering text = VyArtLettering::Layout("Tolmar", {7.0, VY_BASELINE}, VY_EM, 0.115, 0.035);
    double top = VY_BASELINE + 1.5 * VY_EM, bottom = VY_BASELINE;
    return VyArtImage::Supersampled(width, height, VY_SAMPLES, [&](VyArtVec2 p) -> std::optional<VyArtVec3> {
        VyArtVec2 nearest;
        double d = text.Distance(p, &nearest);
        if (d >= 0.0)
            return std::nullopt;
        return ShadeLetter(-d, {p.x - nearest.x, p.y - nearest.y}, (p.y - bottom) / (top - bottom));
    });
}

VyArtImage VyArtTitle::PieceGroup(const VyArtPieceRenderer& pieces, int width, int height)
{
    // Three pieces, back to front: tall dark round, tall white square, short white round dimpled.
    VyArtImage image(width, height, {}, 0.0);
    pieces.DrawPlaced(image, {{0, {238.0, 40.0}}, {11, {262.0, 34.0}}, {4, {248.0, 20.0}}}, 0.56, VY_SAMPLES);
    return image;
}

VyArtPicture VyArtTitle::Draw(const VyArtPieceRenderer& pieces)
{
    VyArtImage image = PieceGroup(pieces, VY_WIDTH, VY_HEIGHT);
    image.DrawOver(Lettering(VY_WIDTH, VY_HEIGHT), 0, 0);
    return image.ToKeyedPicture(VY_ART_WHITE);
}
