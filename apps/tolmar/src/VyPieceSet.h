#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "VyGameTypes.h"
#include "vybitmap/rgb.h"
#include "vythread/VyPoint.h"
#include "vythread/VySize.h"
#include "vythread/VyString.h"

// One property of the pieces (for example "Color") and its values.
struct VyProperty
{
    VyString name;                  // the property's key in the set file
    std::map<VyString, int> values; // value name -> value index (its position in the set file's list)

    // The name of the value with the given index; empty when there is none.
    VyString ValueName(int index) const;
};

// One piece of a set: what the set file says about it, and where it is now.
struct VyPieceInfo
{
    std::vector<int> values; // one value index per property, in property order
    int location = -1;       // index of the square it stands on, -1 while off the board
    VyPoint start;           // lower-left corner of its picture while off the board
    VyPoint center;          // its anchor, as an offset from the picture's lower-left corner
    VyString bitmap;         // picture file, relative to the set directory
    VyPieceImage image = VyPieceImage::NORMAL;

    // Where the anchor stands while the piece is at its start position.
    VyPoint StartAnchor() const { return {start.x + center.x, start.y + center.y}; }
};

// One square of the board: its outline on the board picture and the piece on it.
struct VySquare
{
    VyPoint center; // where the anchor of a piece on this square goes
    VyPoint left;
    VyPoint top;
    VyPoint right;
    VyPoint bottom;
    uint32_t selectColor = 0xFFFF00; // outline colour when highlighted, 0xRRGGBB
    int piece = -1;                  // index of the piece on it, -1 when empty
};

// The two pictures of one piece.
struct VyPieceImages
{
    rgb normal; // image 0: the bitmap as loaded; the set's ColorMask is its transparent colour
    rgb greyed; // image 1: RGBA, mask pixels fully transparent, the rest greyed; no transparent colour
};

// The pictures of a loaded set. Made by the set loader, then shared read-only: copies of a set (and
// the rules' copy of the position the computer decides on) never copy the pixels.
struct VySetImages
{
    rgb board;
    uint32_t background = 0xFF000000; // ARGB of the board's pixel (0, 0), made opaque
    std::vector<VyPieceImages> pieces; // index = piece number - 1
};

// Everything a piece set defines, as the set loader fills it. Properties and combinations are in
// the key order of their sections (byte order of the key names, not the order in the file).
struct VyPieceSet
{
    VyString name;                              // the set's name, e.g. "classic"
    VyString board;                             // board bitmap file, relative to the set directory
    VySize boardSize;                           // board rectangle, lower-left corner at (0, 0)
    VyPoint chosenPos;                          // where the anchor of the chosen piece waits
    uint32_t colorMask = 0x0000FF;              // transparent colour of the piece bitmaps, 0xRRGGBB
    std::vector<VyProperty> properties;
    std::vector<VyPieceInfo> pieces;            // index = piece number - 1
    std::vector<VySquare> squares;              // index = square number - 1
    std::vector<std::vector<int>> combinations; // winning lines as square indices (number - 1)
    std::shared_ptr<const VySetImages> images;  // null for a set made without pictures

    // The shipped set "classic", loaded through the resource look-up on the calling thread
    // (VySetLoader::Load); throws its VyException when the set cannot be loaded. For callers that
    // need the set at once and have no game window to load it in the background.
    static VyPieceSet Classic();
};
