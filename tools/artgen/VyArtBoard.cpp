#include "artgen/VyArtBoard.h"

#include <limits>

#include "artgen/VyArtNoise.h"

namespace
{
constexpr double VY_GRID = 4.0; // squares per side
constexpr int VY_FIT_STEPS = 40; // halvings when fitting the rim and the thickness
} // namespace

VyArtBoard::VyArtBoard(const VyArtCamera& camera, const VyArtLight& light, VyArtBoardMarks marks)
    : m_camera(camera), m_light(light), m_marks(marks)
{
    m_backdrop = SrgbColor(72, 90, 102);
    m_brass = SrgbColor(178, 142, 82);
    // Walnut: dark brown with darker rings.
    m_wood = {SrgbColor(92, 62, 44), SrgbColor(50, 32, 22), 12.0, 0.08, 0.35, 90.0, 11u};
    // Green marble with pale veins.
    m_stone = {SrgbColor(98, 128, 108), SrgbColor(70, 100, 84), SrgbColor(196, 210, 196), 0.65, 0.3, 0.6, 2.2, 23u};
    FitSlabToRectangle();

    // Directions spread over the key light's disc on a golden-angle spiral: the board's shadow on the
    // backdrop gets a soft edge.
    VyArtVec3 l = m_light.Direction();
    VyArtVec3 a = Normalized(Cross(l, std::fabs(l.z) < 0.9 ? VyArtVec3{0, 0, 1} : VyArtVec3{1, 0, 0}));
    VyArtVec3 b = Cross(l, a);
    constexpr int count = 16;
    for (int k = 0; k < count; ++k)
    {
        double r = std::sqrt((k + 0.5) / count) * 0.1;
        double angle = k * 2.39996322972865332;
        m_lightSamples.push_back(Normalized(l + a * (r * std::cos(angle)) + b * (r * std::sin(angle))));
    }
}

void VyArtBoard::FitSlabToRectangle()
{
    // The left corner of the board comes within a few pixels of the picture's left edge, and the
    // near corner's foot within a few pixels of its bottom: the rim and the thickness are as large
    // as those allow, up to a pleasing size.
    m_margin = Bisect(0.0, 0.1, VY_FIT_STEPS,
                      [this](double m) { return m_camera.ProjectWarped({-m, -m, 0.0}).x >= 1.5; });
    m_thickness = Bisect(0.05, 0.32, VY_FIT_STEPS, [this](double t) {
        return m_camera.ProjectWarped({-m_margin, VY_GRID + m_margin, -t}).y >= 3.0;
    });
}

bool VyArtBoard::IntersectSlab(const VyArtVec3& origin, const VyArtVec3& dir, Hit* hit) const
{
    const double low[3] = {-m_margin, -m_margin, -m_thickness};
    const double high[3] = {VY_GRID + m_margin, VY_GRID + m_margin, 0.0};
    const double o[3] = {origin.x, origin.y, origin.z};
    const double d[3] = {dir.x, dir.y, dir.z};
    double tNear = -std::numeric_limits<double>::infinity();
    double tFar = std::numeric_limits<double>::infinity();
    int axis = -1;
    double sign = 0.0;
    for (int k = 0; k < 3; ++k)
    {
        if (std::fabs(d[k]) < 1e-12)
        {
            if (o[k] < low[k] || o[k] > high[k])
                return false;
            continue;
        }
        double t1 = (low[k] - o[k]) / d[k];
        double t2 = (high[k] - o[k]) / d[k];
        double entry = std::min(t1, t2), exit = std::max(t1, t2);
        if (entry > tNear)
        {
            tNear = entry;
            axis = k;
            sign = d[k] > 0.0 ? -1.0 : 1.0;
        }
        tFar = std::min(tFar, exit);
    }
    if (axis < 0 || tFar < tNear || tFar < 0.0)
        return false;
    hit->point = origin + dir * tNear;
    hit->normal = {axis == 0 ? sign : 0.0, axis == 1 ? sign : 0.0, axis == 2 ? sign : 0.0};
    hit->part = axis == 2 && sign > 0.0 ? VyArtBoardPart::Border : VyArtBoardPart::Side;
    return true;
}

VyArtBoard::TopSample VyArtBoard::SampleTop(double u, double v) const
{
    // Signed distance to the edge of the square the point lies in (negative outside the grid) and the
    // direction that points into that square.
    double inside;
    VyArtVec2 inward{0.0, 0.0};
    if (u >= 0.0 && u <= VY_GRID && v >= 0.0 && v <= VY_GRID)
    {
        double col = std::min(std::floor(u), VY_GRID - 1.0), row = std::min(std::floor(v), VY_GRID - 1.0);
        const double distances[4] = {u - col, col + 1.0 - u, v - row, row + 1.0 - v};
        const VyArtVec2 directions[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        int nearest = 0;
        for (int k = 1; k < 4; ++k)
            if (distances[k] < distances[nearest])
                nearest = k;
        inside = distances[nearest];
        inward = directions[nearest];
    }
    else
    {
        double du = std::max({-u, u - VY_GRID, 0.0}), dv = std::max({-v, v - VY_GRID, 0.0});
        inside = -std::hypot(du, dv);
    }

    TopSample s{0.0, {0.0, 0.0, 1.0}, VyArtBoardPart::Border, 1.0};
    double t = (inside - m_ridge) / m_wall;
    if (t >= 1.0)
    {
        s.height = -m_depth;
        s.part = VyArtBoardPart::Tile;
        s.occlusion = 1.0 - 0.45 * (1.0 - SmoothStep(0.0, 0.07, inside - m_ridge - m_wall));
        return s;
    }
    if (t > 0.0)
    {
        double slope = m_depth * 6.0 * t * (1.0 - t) / m_wall;
        s.height = -m_depth * t * t * (3.0 - 2.0 * t);
        s.normal = Normalized({slope * inward.x, slope * inward.y, 1.0});
        s.part = VyArtBoardPart::Wall;
        s.occlusion = Mix(1.0, 0.6, t * t);
        return s;
    }
    // The border: flat, except for the rounded edge around the slab.
    const double edges[4] = {u + m_margin, VY_GRID + m_margin - u, v + m_margin, VY_GRID + m_margin - v};
    const VyArtVec2 outward[4] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    int nearest = 0;
    for (int k = 1; k < 4; ++k)
        if (edges[k] < edges[nearest])
            nearest = k;
    if (edges[nearest] < m_round)
    {
        double x = Clamp01((m_round - edges[nearest]) / m_round);
        double z = std::sqrt(std::max(0.0, 1.0 - x * x));
        s.height = -m_round * (1.0 - z);
        s.normal = Normalized({outward[nearest].x * x, outward[nearest].y * x, z});
    }
    else if (const std::optional<VyArtVec2> stud = StudOffset(u, v))
    {
        // A low dome: its rim catches the light on one side and falls into shade on the other.
        constexpr double tilt = 0.45;
        s.normal = Normalized({stud->x / m_stud * tilt, stud->y / m_stud * tilt, 1.0});
    }
    return s;
}

std::optional<VyArtVec2> VyArtBoard::StudOffset(double u, double v) const
{
    if (m_marks != VyArtBoardMarks::BlockCentres)
        return std::nullopt;
    const double cu = std::clamp(std::round(u), 1.0, VY_GRID - 1.0);
    const double cv = std::clamp(std::round(v), 1.0, VY_GRID - 1.0);
    const VyArtVec2 offset{u - cu, v - cv};
    if (std::hypot(offset.x, offset.y) >= m_stud)
        return std::nullopt;
    return offset;
}

double VyArtBoard::TopShadow(const VyArtVec3& point) const
{
    if (point.z > -1e-9)
        return 1.0;
    const VyArtVec3& l = m_light.Direction();
    double visibility = 1.0;
    for (int k = 1; k <= 12; ++k)
    {
        double s = k * 0.008;
        VyArtVec3 q = point + l * s;
        if (q.z >= 0.0)
            break;
        double surface = SampleTop(q.x, q.y).height;
        visibility = std::min(visibility, Clamp01(0.5 + (q.z - surface) / (0.002 + 0.06 * s)));
    }
    return visibility;
}

VyArtVec3 VyArtBoard::WoodSpace(const VyArtVec3& point) const
{
    // The border is joined from strips: the grain runs along the strip a point belongs to, that is
    // along the nearest grid line or outer edge.
    double u = point.x, v = point.y;
    auto lineDistance = [](double c) {
        double nearest = std::clamp(std::round(c), 0.0, VY_GRID);
        return std::fabs(c - nearest);
    };
    bool alongU = lineDistance(v) < lineDistance(u);
    if (u < 0.0 || u > VY_GRID || v < 0.0 || v > VY_GRID)
        alongU = std::max({-u, u - VY_GRID, 0.0}) <= std::max({-v, v - VY_GRID, 0.0});
    if (alongU)
        return {v * 1.3 - 2.1, point.z + 2.4, u};
    return {u * 1.3 - 1.4, point.z + 2.4, v + 7.0};
}

VyArtVec3 VyArtBoard::TileAlbedo(double u, double v) const
{
    int col = std::clamp(static_cast<int>(std::floor(u)), 0, 3);
    int row = std::clamp(static_cast<int>(std::floor(v)), 0, 3);
    // Each tile is cut from a different part of the slab of stone.
    double ox = 40.0 * VyArtNoise::HashUnit(col, row, 1, 5u);
    double oy = 40.0 * VyArtNoise::HashUnit(col, row, 2, 5u);
    VyArtStoneStyle style = m_stone;
    style.veinAngle += 0.9 * (VyArtNoise::HashUnit(col, row, 3, 5u) - 0.5);
    return StoneAlbedo((u + ox) * 3.0, (v + oy) * 3.0, style);
}

VyArtVec3 VyArtBoard::ShadeTop(const Hit& hit, const VyArtVec3& toViewer) const
{
    TopSample s = SampleTop(hit.point.x, hit.point.y);
    VyArtVec3 surface{hit.point.x, hit.point.y, s.height};
    double visibility = TopShadow(surface);
    if (s.part == VyArtBoardPart::Tile)
    {
        VyArtFinish polish{0.35, 90.0, 0.8};
        return m_light.Illuminate(TileAlbedo(hit.point.x, hit.point.y), s.normal, toViewer, polish, visibility,
                                  s.occlusion);
    }
    if (StudOffset(hit.point.x, hit.point.y))
    {
        VyArtFinish brass{0.7, 60.0, 0.6};
        return m_light.Illuminate(m_brass, s.normal, toViewer, brass, visibility, s.occlusion);
    }
    VyArtFinish varnish{0.22, 45.0, 0.5};
    VyArtVec3 albedo = WoodAlbedo(WoodSpace({hit.point.x, hit.point.y, s.height}), m_wood);
    return m_light.Illuminate(albedo, s.normal, toViewer, varnish, visibility, s.occlusion);
}

VyArtVec3 VyArtBoard::ShadeSide(const Hit& hit, const VyArtVec3& toViewer) const
{
    VyArtVec3 woodSpace = WoodSpace(hit.point);
    double occlusion = Mix(0.55, 1.0, SmoothStep(-m_thickness, -m_thickness + 0.1, hit.point.z));
    VyArtFinish varnish{0.18, 40.0, 0.4};
    return m_light.Illuminate(WoodAlbedo(woodSpace, m_wood) * 0.92, hit.normal, toViewer, varnish, 1.0, occlusion);
}

VyArtVec3 VyArtBoard::ShadeBackdrop(const VyArtVec3& point) const
{
    double du = std::max({-m_margin - point.x, point.x - VY_GRID - m_margin, 0.0});
    double dv = std::max({-m_margin - point.y, point.y - VY_GRID - m_margin, 0.0});
    double distance = std::hypot(du, dv);
    double contact = 1.0 - SmoothStep(0.0, 0.2, distance);
    double lit = 1.0;
    if (distance < 0.45)
    {
        int blocked = 0;
        Hit ignored;
        for (const VyArtVec3& dir : m_lightSamples)
            if (IntersectSlab(point + dir * 1e-6, dir, &ignored))
                ++blocked;
        lit = 1.0 - static_cast<double>(blocked) / m_lightSamples.size();
    }
    return m_backdrop * ((1.0 - 0.5 * (1.0 - lit)) * (1.0 - 0.45 * contact * contact));
}

VyArtVec3 VyArtBoard::Shade(VyArtVec2 screen) const
{
    VyArtVec3 origin = m_camera.Position();
    VyArtVec3 dir = m_camera.RayDirection(screen);
    VyArtVec3 toViewer = -dir;
    Hit hit;
    if (IntersectSlab(origin, dir, &hit))
        return hit.part == VyArtBoardPart::Side ? ShadeSide(hit, toViewer) : ShadeTop(hit, toViewer);
    double t = (-m_thickness - origin.z) / dir.z;
    return ShadeBackdrop(origin + dir * t);
}

VyArtBoardPart VyArtBoard::PartAt(VyArtVec2 screen) const
{
    Hit hit;
    if (!IntersectSlab(m_camera.Position(), m_camera.RayDirection(screen), &hit))
        return VyArtBoardPart::Backdrop;
    if (hit.part == VyArtBoardPart::Side)
        return VyArtBoardPart::Side;
    return SampleTop(hit.point.x, hit.point.y).part;
}

VyArtImage VyArtBoard::Render(int width, int height, int samples) const
{
    double sx = static_cast<double>(VY_ART_BOARD_SIZE.cx) / width;
    double sy = static_cast<double>(VY_ART_BOARD_SIZE.cy) / height;
    return VyArtImage::Supersampled(width, height, samples, [&](VyArtVec2 p) -> std::optional<VyArtVec3> {
        return Shade({p.x * sx, p.y * sy});
    });
}
