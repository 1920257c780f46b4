#pragma once

#include <initializer_list>

#include "artgen/VyArtCamera.h"
#include "artgen/VyArtImage.h"
#include "artgen/VyArtLight.h"
#include "artgen/VyArtMaterials.h"
#include "artgen/VyArtPieceModel.h"

// A piece of the set, by its index in set order, standing with its foot's middle at foot.
struct VyArtPlacedPiece
{
    int pieceIndex;
    VyArtVec2 foot;
};

// Draws pieces as solid turned wood, seen along the board camera's view at the middle of the board
// (without perspective, so one picture serves every square) and lit by the common light.
class VyArtPieceRenderer
{
public:
    VyArtPieceRenderer(const VyArtCamera& camera, const VyArtLight& light);

    const VyArtView& View() const { return m_view; }

    // The piece's picture at the set's size: the foot's middle on the anchor pixel, coverage and
    // linear colour per pixel, samples x samples rays per pixel.
    VyArtImage Render(const VyArtPieceDef& piece, int samples) const;
    // A model drawn into a canvas of any size: foot is the foot's middle in canvas pixels and scale
    // the canvas pixels per model pixel (for icons and the title picture).
    VyArtImage Render(const VyArtPieceModel& model, VySize canvas, VyArtVec2 foot, double scale, int samples) const;
    // Pieces drawn over image first to last (back to front), each shaped as in its own picture, at
    // scale image pixels per model pixel.
    void DrawPlaced(VyArtImage& image, std::initializer_list<VyArtPlacedPiece> pieces, double scale,
                    int samples) const;

private:
    bool Trace(const VyArtPieceModel& model, const VyArtVec3& origin, double* t) const;
    VyArtVec3 Normal(const VyArtPieceModel& model, const VyArtVec3& p) const;
    double Occlusion(const VyArtPieceModel& model, const VyArtVec3& p, const VyArtVec3& n) const;
    double Shadow(const VyArtPieceModel& model, const VyArtVec3& p) const;
    VyArtVec3 Albedo(const VyArtPieceDef& piece, const VyArtVec3& p) const;
    VyArtVec3 ShadePoint(const VyArtPieceModel& model, const VyArtVec3& p) const;

    const VyArtLight& m_light;
    VyArtView m_view;
    VyArtWoodStyle m_darkWood;
    VyArtWoodStyle m_whiteWood;
};
