#pragma once

#include <array>
#include <vector>

#include "artgen/VyArtClassicSet.h"
#include "artgen/VyArtPicture.h"

// A moment of a game to show in the preview.
struct VyArtPreviewScene
{
    std::vector<std::pair<int, int>> placed; // (piece index from 0, square index from 0)
    int chosenPiece = -1;                    // piece waiting at the chosen position, -1 none
    int highlightedSquare = -1;              // square outlined for placing, -1 none
};

// Composes the game window the way the game draws it: the window in the board's backdrop colour, the
// board picture stretched over the board rectangle, the highlight outline, then the pieces in their
// stacking order (pieces on squares by square, then the rest by piece), each with its mask colour
// left out.
class VyArtPreview
{
public:
    // pieces[n - 1] is the picture of pieceN.bmp.
    static VyArtPicture Compose(const VyArtPicture& board, const std::array<VyArtPicture, VY_ART_PIECES>& pieces,
                                const VyArtPreviewScene& scene);
    // The scene the preview shows by default: a game in its middle, one piece waiting, one square lit.
    static VyArtPreviewScene DefaultScene();
    // Draws a square's highlight outline as the game does: Left, Bottom, Right, Top as a closed
    // polygon, three times (as loaded, widened by a pixel, narrowed by a pixel).
    static void DrawHighlight(VyArtPicture& window, const VyArtSquareDef& square);
    // A straight line stepped along its longer axis with truncated coordinates.
    static void DrawLine(VyArtPicture& picture, VyPoint from, VyPoint to, VyArtRgb color);
};
