#include "artgen/VyArtPieceRenderer.h"

#include "artgen/VyArtNoise.h"

namespace
{
constexpr double VY_FAR = 600.0; // distance the rays start in front of the piece
constexpr double VY_HIT = 0.005;
} // namespace

VyArtPieceRenderer::VyArtPieceRenderer(const VyArtCamera& camera, const VyArtLight& light) : m_light(light)
{
    VyArtVec3 forward = Normalized(VyArtVec3{2.0, 2.0, 0.0} - camera.Position());
    const VyArtMat3& r = camera.Rotation();
    VyArtVec3 cameraRight{r.m[0][0], r.m[0][1], r.m[0][2]};
    VyArtVec3 cameraUp{r.m[1][0], r.m[1][1], r.m[1][2]};
    VyArtVec3 right = Normalized(cameraRight - forward * Dot(cameraRight, forward));
    VyArtVec3 up = Normalized(cameraUp - forward * Dot(cameraUp, forward) - right * Dot(cameraUp, right));
    m_view = {right, up, forward};

    // Dark: nearly black wenge with brown rings. White: pale maple with faint rings.
    m_darkWood = {SrgbColor(70, 46, 32), SrgbColor(34, 22, 15), 11.0, 0.12, 0.3, 70.0, 101u};
    m_whiteWood = {SrgbColor(242, 228, 198), SrgbColor(228, 206, 166), 7.0, 0.15, 0.12, 70.0, 202u};
}

bool VyArtPieceRenderer::Trace(const VyArtPieceModel& model, const VyArtVec3& origin, double* t) const
{
    const VyArtPieceSize& s = model.Size();
    VyArtVec3 centre{0.0, 0.0, 0.5 * s.height};
    double radius = std::sqrt(2.0 * s.halfWidth * s.halfWidth + 0.25 * s.height * s.height) + 2.0;
    // Start where the ray enters the bounding sphere.
    VyArtVec3 oc = origin - centre;
    double b = Dot(oc, m_view.forward);
    double c = Dot(oc, oc) - radius * radius;
    double disc = b * b - c;
    if (disc < 0.0)
        return false;
    double distance = -b - std::sqrt(disc);
    double end = -b + std::sqrt(disc);
    for (int i = 0; i < 256 && distance < end; ++i)
    {
        double d = model.Distance(origin + m_view.forward * distance);
        if (d < VY_HIT)
        {
            *t = distance;
            return true;
        }
        distance += d * 0.9;
    }
    return false;
}

VyArtVec3 VyArtPieceRenderer::Normal(const VyArtPieceModel& model, const VyArtVec3& p) const
{
    const double e = 0.05;
    return Normalized({model.Distance(p + VyArtVec3{e, 0, 0}) - model.Distance(p - VyArtVec3{e, 0, 0}),
                       model.Distance(p + VyArtVec3{0, e, 0}) - model.Distance(p - VyArtVec3{0, e, 0}),
                       model.Distance(p + VyArtVec3{0, 0, e}) - model.Distance(p - VyArtVec3{0, 0, e})});
}

double VyArtPieceRenderer::Occlusion(const VyArtPieceModel& model, const VyArtVec3& p, const VyArtVec3& n) const
{
    double occlusion = 0.0, weight = 1.0;
    for (int i = 1; i <= 5; ++i)
    {
        double step = 1.5 * i;
        occlusion += weight * std::max(0.0, step - model.Distance(p + n * step)) / step;
        weight *= 0.6;
    }
    // Sky is also hidden near the foot by the board the piece stands on.
    double ground = Mix(0.55, 1.0, SmoothStep(0.0, 14.0, p.z));
    return Clamp01(1.0 - 0.55 * occlusion) * ground;
}

double VyArtPieceRenderer::Shadow(const VyArtPieceModel& model, const VyArtVec3& p) const
{
    const VyArtVec3& l = m_light.Direction();
    double visibility = 1.0, t = 0.3;
    for (int i = 0; i < 64 && t < 150.0; ++i)
    {
        double d = model.Distance(p + l * t);
        if (d < 0.001)
            return 0.0;
        visibility = std::min(visibility, 6.0 * d / t);
        t += std::clamp(d, 0.2, 6.0);
    }
    return Clamp01(visibility);
}

VyArtVec3 VyArtPieceRenderer::Albedo(const VyArtPieceDef& piece, const VyArtVec3& p) const
{
    // Each piece is turned from its own blank: the log's axis stands beside the piece, so the rings
    // show as arcs on the top and as stripes up the sides.
    int n = piece.fileNumber;
    double ax = 40.0 + 30.0 * VyArtNoise::HashUnit(n, 0, 0, 9u);
    double ay = -30.0 + 60.0 * VyArtNoise::HashUnit(n, 1, 0, 9u);
    VyArtVec3 woodSpace{(p.x + ax) / 40.0, (p.y + ay) / 40.0, p.z / 40.0 + n * 3.7};
    VyArtWoodStyle style = piece.dark ? m_darkWood : m_whiteWood;
    style.seed += static_cast<uint32_t>(n);
    return WoodAlbedo(woodSpace, style);
}

VyArtVec3 VyArtPieceRenderer::ShadePoint(const VyArtPieceModel& model, const VyArtVec3& p) const
{
    VyArtVec3 n = Normal(model, p);
    VyArtVec3 lifted = p + n * 0.05;
    double visibility = Shadow(model, lifted);
    double occlusion = Occlusion(model, lifted, n);
    VyArtFinish finish = model.Def().dark ? VyArtFinish{0.4, 55.0, 0.5} : VyArtFinish{0.22, 40.0, 0.35};
    // The cut inside a dimple shows end grain, which reads darker than the polished top.
    double cut = model.DimpleDepthAt(p);
    VyArtVec3 albedo = Albedo(model.Def(), p) * (1.0 - 0.25 * SmoothStep(0.0, 0.4, cut));
    return m_light.Illuminate(albedo, n, -m_view.forward, finish, visibility, occlusion);
}

VyArtImage VyArtPieceRenderer::Render(const VyArtPieceModel& model, VySize canvas, VyArtVec2 foot, double scale,
                                      int samples) const
{
    return VyArtImage::Supersampled(canvas.cx, canvas.cy, samples, [&](VyArtVec2 p) -> std::optional<VyArtVec3> {
        double px = (p.x - foot.x) / scale;
        double py = (p.y - foot.y) / scale;
        VyArtVec3 origin = m_view.right * px + m_view.up * py - m_view.forward * VY_FAR;
        double t;
        if (!Trace(model, origin, &t))
            return std::nullopt;
        return ShadePoint(model, origin + m_view.forward * t);
    });
}

void VyArtPieceRenderer::DrawPlaced(VyArtImage& image, std::initializer_list<VyArtPlacedPiece> pieces, double scale,
                                    int samples) const
{
    for (const VyArtPlacedPiece& placed : pieces)
    {
        const VyArtPieceDef& def = ClassicPieces()[placed.pieceIndex];
        VyArtPieceModel model(def, VyArtPieceModel::FitSize(def, m_view));
        image.DrawOver(Render(model, {image.Width(), image.Height()}, placed.foot, scale, samples), 0, 0);
    }
}

VyArtImage VyArtPieceRenderer::Render(const VyArtPieceDef& piece, int samples) const
{
    VyArtPieceModel model(piece, VyArtPieceModel::FitSize(piece, m_view));
    VyPoint anchor = PieceAnchor(piece);
    return Render(model, PiecePictureSize(piece), {anchor.x + 0.5, anchor.y + 0.5}, 1.0, samples);
}
