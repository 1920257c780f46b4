#pragma once

#include "artgen/VyArtImage.h"
#include "artgen/VyArtPieceRenderer.h"

// The About box's title picture: "Tolmar" in brass stroke lettering beside a small group of pieces,
// on white (which the About box leaves transparent, so the edge against it is hard and no pixel
// inside is pure white).
class VyArtTitle
{
public:
    static constexpr int VY_WIDTH = 280;
    static constexpr int VY_HEIGHT = 120;

    static VyArtPicture Draw(const VyArtPieceRenderer& pieces);

private:
    static VyArtImage Lettering(int width, int height);
    static VyArtImage PieceGroup(const VyArtPieceRenderer& pieces, int width, int height);
};
