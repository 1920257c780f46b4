#pragma once

#include <vector>

#include "artgen/VyArtBoard.h"
#include "artgen/VyArtClassicSet.h"
#include "artgen/VyArtCursors.h"
#include "artgen/VyArtPicture.h"
#include "vythread/VyString.h"

// Checks of the finished pictures against what the game relies on. Each returns the problems it
// found as readable lines (empty when all is well); the counts say how much was looked at.
class VyArtChecks
{
public:
    struct Result
    {
        std::vector<VyString> problems;
        int checked = 0; // pixels or samples looked at
    };

    // A colour a key-coloured fringe could be mistaken for: within this distance of pure blue.
    static bool IsNearBlue(VyArtRgb color);

    // The piece picture has the set's size; everything not the piece is exactly the mask colour and
    // nothing of the piece comes near it; the piece keeps a pixel of margin all round (it was not
    // cut off); the foot is solid at the anchor and the anchor sits in the middle of the foot.
    static Result CheckPiece(const VyArtPieceDef& piece, const VyArtPicture& picture);

    // The highlight outline of every square, drawn as the game draws it, lies entirely on the board's
    // border between the tiles (by the scene's parts), and every square's Center on its tile.
    static Result CheckOutlinesOnBorder(const VyArtBoard& board);
    // The same seen in the stretched board picture the player sees: under each outline pixel the
    // board shows wood (red above green), at each Center stone (green above red).
    static Result CheckOutlinesInPicture(const VyArtPicture& stretchedBoard);
    // The board picture's top row and right column, where the window's background fill joins it,
    // are exactly the colour of pixel (0, 0).
    static Result CheckBackdropEdges(const VyArtPicture& board);

    // No pin holes: every region of the key colour that does not reach the picture's edge is larger
    // than a few pixels (a single key pixel inside a drawing, say a highlight that came out pure
    // white in the title, would show through as a hole).
    static Result CheckNoPinholes(const VyString& name, const VyArtPicture& picture, VyArtRgb key);

    // 24 x 24, only the mask, black, white and grey, and the hot spot on the drawing.
    static Result CheckCursor(const VyArtCursor& cursor);
    // The texture joins itself: colour steps across the wrap are no larger than inside the tile.
    static Result CheckTileable(const VyArtPicture& texture);
};
