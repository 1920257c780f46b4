#include "artgen/VyArtIcons.h"

#include "artgen/VyArtLight.h"
#include "artgen/VyArtMaterials.h"
#include "artgen/VyArtPixelCanvas.h"

namespace
{
// Signed distance to a rounded square centred in a size x size picture (negative inside).
double RoundedSquareDistance(double x, double y, double size, double radius)
{
    double half = size * 0.5;
    double qx = std::fabs(x - half) - (half - radius), qy = std::fabs(y - half) - (half - radius);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

// The icon's ground: green marble inside a bevelled walnut rim, drawn at any size from its design at
// VY_ICON_SIZE pixels (every length below is in those pixels).
VyArtImage IconGround(int size)
{
    constexpr int samples = 4;
    constexpr double design = VyArtIcons::VY_ICON_SIZE;
    const double toDesign = design / size;
    const double rim = 5.0;
    VyArtStoneStyle stone{SrgbColor(90, 118, 100), SrgbColor(66, 94, 78), SrgbColor(190, 206, 192),
                          0.8, 0.3, 0.7, 2.0, 23u};
    VyArtWoodStyle wood{SrgbColor(104, 68, 46), SrgbColor(56, 36, 24), 3.0, 0.1, 0.3, 40.0, 11u};
    return VyArtImage::Supersampled(size, size, samples, [&](VyArtVec2 p) -> std::optional<VyArtVec3> {
        double px = p.x * toDesign, py = p.y * toDesign;
        double d = RoundedSquareDistance(px, py, design, 9.0);
        if (d >= -0.5)
            return std::nullopt;
        if (d < -rim)
        {
            // Marble, a little darker under the rim.
            double shade = Mix(0.7, 1.0, SmoothStep(-rim, -rim - 3.0, d));
            return StoneAlbedo(px / 14.0, py / 14.0, stone) * (1.1 * shade);
        }
        // Rim: rounded outwards, so its normal tilts away from the middle.
        double e = 0.5;
        double gx = RoundedSquareDistance(px + e, py, design, 9.0) - RoundedSquareDistance(px - e, py, design, 9.0);
        double gy = RoundedSquareDistance(px, py + e, design, 9.0) - RoundedSquareDistance(px, py - e, design, 9.0);
        double t = Clamp01((d + rim) / rim); // 0 inner edge, 1 outer edge
        double tilt = (t - 0.35) * 1.6;
        VyArtVec3 normal = Normalized({gx * tilt, gy * tilt, 1.0});
        VyArtVec3 albedo = WoodAlbedo({px / 20.0, 3.0, py / 20.0}, wood);
        return albedo * (0.45 + 0.9 * std::max(0.0, Dot(normal, VY_ART_FACE_LIGHT)));
    });
}
} // namespace

VyArtImage VyArtIcons::DesktopIcon(const VyArtPieceRenderer& pieces, int size)
{
    VyArtImage image = IconGround(size);
    // A tall dark round dimpled piece behind a short white square one.
    const double k = static_cast<double>(size) / VY_ICON_SIZE;
    pieces.DrawPlaced(image, {{0, {25.0 * k, 21.0 * k}}, {12, {41.0 * k, 13.0 * k}}}, 0.42 * k, 4);
    return image;
}

VyArtPicture VyArtIcons::WindowIcon(const VyArtPieceRenderer& pieces)
{
    return DesktopIcon(pieces, VY_ICON_SIZE).ToKeyedPicture(VY_ART_MASK);
}

VyArtPicture VyArtIcons::ClosedFolder()
{
    enum { none, outline, front, back, shine };
    VyArtPixelCanvas canvas(VY_LIST_ICON_SIZE, VY_LIST_ICON_SIZE);
    canvas.FillRect(1, 2, 7, 4, back);   // tab
    canvas.FillRect(1, 3, 15, 14, back); // back panel
    canvas.FillRect(1, 5, 15, 14, front);
    canvas.FillRect(2, 5, 14, 6, shine);
    canvas.OutlineAll(outline);
    // The front panel's top edge.
    for (int x = 1; x < 15; ++x)
        canvas.Put(x, 4, outline);
    return canvas.ToPicture({VY_ART_MASK, {118, 82, 22}, {244, 204, 96}, {218, 168, 58}, {252, 232, 164}});
}

VyArtPicture VyArtIcons::File()
{
    VyArtPixelCanvas canvas(VY_LIST_ICON_SIZE, VY_LIST_ICON_SIZE);
    // Ink letters: outline, paper, the folded corner, text.
    canvas.DrawRows({"................",
                     "..#######.......",
                     "..#wwwww##......",
                     "..#wwwww#f#.....",
                     "..#wtttw#ff#....",
                     "..#wwwww#fff#...",
                     "..#wwwww#####...",
                     "..#wwwwwwwww#...",
                     "..#wtttttttw#...",
                     "..#wwwwwwwww#...",
                     "..#wtttttttw#...",
                     "..#wwwwwwwww#...",
                     "..#wtttttttw#...",
                     "..#wwwwwwwww#...",
                     "..#wttttwwww#...",
                     "..###########..."},
                    ".#wft");
    return canvas.ToPicture({VY_ART_MASK, {88, 88, 88}, {252, 252, 248}, {214, 214, 208}, {150, 150, 150}});
}

VyArtPicture VyArtMarble::Draw(int size)
{
    // Eight noise cells across the tile; every noise repeats with the tile.
    constexpr int cells = 8;
    VyArtStoneStyle stone{SrgbColor(222, 218, 208), SrgbColor(200, 196, 188), SrgbColor(150, 146, 142),
                          0.55, 0.25, 0.0, 1.6, 41u};
    VyArtImage image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            double px = (x + 0.5) * cells / size, py = (y + 0.5) * cells / size;
            image.Set(x, y, StoneAlbedo(px, py, stone, cells));
        }
    return image.ToPicture();
}
