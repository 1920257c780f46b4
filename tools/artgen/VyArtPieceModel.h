#pragma once

#include "artgen/VyArtClassicSet.h"
#include "artgen/VyArtMath.h"

// The axes a piece picture is seen along, in board coordinates (u, v, h; lengths in picture pixels):
// the picture's right and up directions and the direction of view (away from the eye).
struct VyArtView
{
    VyArtVec3 right;
    VyArtVec3 up;
    VyArtVec3 forward;
};

// Sizes of one piece in picture pixels.
struct VyArtPieceSize
{
    double halfWidth;    // radius of a round piece, half the side of a square one
    double height;
    double bottomRound;  // radius of the rounded edge around the foot
    double topRound;     // radius of the rounded edge around the top
    double cornerRound;  // radius of a square piece's vertical edges
    double dimpleRadius; // radius of the dimple's opening
    double dimpleDepth;
};

// The solid shape of a piece as a signed distance (negative inside), in a frame whose origin is the
// middle of the foot, x and y along the board's rows and columns, z up.
class VyArtPieceModel
{
public:
    VyArtPieceModel(const VyArtPieceDef& piece, const VyArtPieceSize& size);

    // Sizes for a piece that fill its picture (one pixel of margin) when seen along view: round and
    // square pieces of one height class get the same height, and the foot's rounding is made just
    // large enough for the foot to clear the bottom of the picture.
    static VyArtPieceSize FitSize(const VyArtPieceDef& piece, const VyArtView& view);

    double Distance(const VyArtVec3& p) const;
    // 0 outside the dimple, rising to 1 at its deepest point (for darkening the cut surface).
    double DimpleDepthAt(const VyArtVec3& p) const;
    // How far the shape reaches along a unit direction from the middle of the foot.
    double Reach(const VyArtVec3& direction) const;

    const VyArtPieceDef& Def() const { return m_piece; }
    const VyArtPieceSize& Size() const { return m_size; }

private:
    double FootprintDistance(double x, double y, double shrink) const;
    double FootprintReach(double dx, double dy, double shrink) const;

    VyArtPieceDef m_piece;
    VyArtPieceSize m_size;
};
