#include "artgen/VyArtPieceModel.h"

namespace
{
constexpr double VY_MARGIN = 1.0;        // blank pixels kept around a piece
constexpr double VY_ROUND_RADIUS = 21.0; // radius of the round pieces
constexpr double VY_CORNER = 3.0;        // rounding of a square piece's vertical edges
constexpr double VY_TOP_ROUND = 3.0;
constexpr double VY_MIN_FOOT_ROUND = 2.5;
constexpr int VY_FIT_STEPS = 50; // halvings when fitting the height and the footprint

// Room between the foot's middle and each edge of the picture.
struct Room
{
    double left, right, below, above;
};

Room PictureRoom(const VyArtPieceDef& piece)
{
    VySize size = PiecePictureSize(piece);
    VyPoint anchor = PieceAnchor(piece);
    double cx = anchor.x + 0.5, cy = anchor.y + 0.5;
    return {cx - VY_MARGIN, size.cx - cx - VY_MARGIN, cy - VY_MARGIN, size.cy - cy - VY_MARGIN};
}

// The piece with the given footprint, for fitting a height that both shapes share.
VyArtPieceDef WithShape(VyArtPieceDef piece, bool round)
{
    piece.round = round;
    return piece;
}

// The largest height for which a piece of this shape stays inside its picture.
double MaxHeight(const VyArtPieceDef& piece, const VyArtView& view, VyArtPieceSize size)
{
    Room room = PictureRoom(piece);
    return Bisect(0.0, 400.0, VY_FIT_STEPS, [&](double height) {
        size.height = height;
        return VyArtPieceModel(piece, size).Reach(view.up) <= room.above;
    });
}

// The footprint for a given height (the view is not quite level with the picture, so the height
// moves the sides by a hair).
VyArtPieceSize FootprintSize(const VyArtPieceDef& piece, const VyArtView& view, double height)
{
    Room room = PictureRoom(piece);
    VyArtPieceSize size{};
    size.topRound = VY_TOP_ROUND;
    size.cornerRound = VY_CORNER;
    size.bottomRound = VY_MIN_FOOT_ROUND;
    size.height = height;
    // Widest footprint that fits between the picture's sides.
    double widest = Bisect(5.0, 40.0, VY_FIT_STEPS, [&](double halfWidth) {
        size.halfWidth = halfWidth;
        VyArtPieceModel model(piece, size);
        return model.Reach(view.right) <= room.right && model.Reach(-view.right) <= room.left;
    });
    size.halfWidth = piece.round ? std::min(widest, VY_ROUND_RADIUS) : widest;
    // Round off the foot until it clears the bottom of the picture.
    for (size.bottomRound = VY_MIN_FOOT_ROUND; size.bottomRound < size.halfWidth * 0.5; size.bottomRound += 0.1)
        if (VyArtPieceModel(piece, size).Reach(-view.up) <= room.below)
            break;
    size.dimpleRadius = size.halfWidth * 0.6;
    size.dimpleDepth = size.dimpleRadius * 0.5;
    return size;
}
} // namespace

VyArtPieceModel::VyArtPieceModel(const VyArtPieceDef& piece, const VyArtPieceSize& size)
    : m_piece(piece), m_size(size)
{
}

VyArtPieceSize VyArtPieceModel::FitSize(const VyArtPieceDef& piece, const VyArtView& view)
{
    // Height and footprint depend on each other a little; two rounds settle them.
    double height = 60.0;
    for (int round = 0; round < 2; ++round)
    {
        double common = 1e9;
        for (bool isRound : {true, false})
        {
            VyArtPieceDef other = WithShape(piece, isRound);
            common = std::min(common, MaxHeight(other, view, FootprintSize(other, view, height)));
        }
        height = common;
    }
    VyArtPieceSize size = FootprintSize(piece, view, height);
    size.height = height;
    return size;
}

double VyArtPieceModel::FootprintDistance(double x, double y, double shrink) const
{
    if (m_piece.round)
        return std::hypot(x, y) - (m_size.halfWidth - shrink);
    double corner = std::max(m_size.cornerRound - shrink, 0.0);
    double inner = m_size.halfWidth - shrink - corner;
    double qx = std::fabs(x) - inner, qy = std::fabs(y) - inner;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - corner;
}

double VyArtPieceModel::FootprintReach(double dx, double dy, double shrink) const
{
    double planar = std::hypot(dx, dy);
    if (m_piece.round)
        return (m_size.halfWidth - shrink) * planar;
    double corner = std::max(m_size.cornerRound - shrink, 0.0);
    double inner = m_size.halfWidth - shrink - corner;
    return inner * (std::fabs(dx) + std::fabs(dy)) + corner * planar;
}

double VyArtPieceModel::Distance(const VyArtVec3& p) const
{
    // The footprint extruded to the height, its top and bottom edges rounded (each half of the
    // piece with its own radius).
    double half = 0.5 * m_size.height;
    double round = p.z < half ? m_size.bottomRound : m_size.topRound;
    double wx = FootprintDistance(p.x, p.y, round);
    double wy = std::fabs(p.z - half) - half + round;
    double body = std::min(std::max(wx, wy), 0.0) + std::hypot(std::max(wx, 0.0), std::max(wy, 0.0)) - round;
    if (!m_piece.dimpled)
        return body;
    // The dimple: a sphere cut out of the top, its rim softened.
    double r = m_size.dimpleRadius, d = m_size.dimpleDepth;
    double sphereRadius = (r * r + d * d) / (2.0 * d);
    VyArtVec3 centre{0.0, 0.0, m_size.height - d + sphereRadius};
    double hollow = sphereRadius - Length(p - centre);
    const double k = 1.2;
    double h = Clamp01(0.5 - 0.5 * (hollow - body) / k);
    return Mix(hollow, body, h) + k * h * (1.0 - h);
}

double VyArtPieceModel::DimpleDepthAt(const VyArtVec3& p) const
{
    if (!m_piece.dimpled || std::hypot(p.x, p.y) > m_size.dimpleRadius + 1.0)
        return 0.0;
    return Clamp01((m_size.height - p.z) / m_size.dimpleDepth);
}

double VyArtPieceModel::Reach(const VyArtVec3& direction) const
{
    double reachBottom = FootprintReach(direction.x, direction.y, m_size.bottomRound) +
                         m_size.bottomRound * direction.z + m_size.bottomRound;
    double reachTop = FootprintReach(direction.x, direction.y, m_size.topRound) +
                      (m_size.height - m_size.topRound) * direction.z + m_size.topRound;
    return std::max(reachBottom, reachTop);
}
