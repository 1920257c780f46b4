#pragma once

#include <array>

#include "artgen/VyArtPicture.h"
#include "vythread/VyPoint.h"
#include "vythread/VyString.h"

// The six mouse cursors: 24 x 24 pixels, white shapes with a black outline on the mask colour.
// The framework draws cursors 1 to 4 centred on the mouse (hot spot at pixel 12, 12 from the top
// left) and cursors 0 and 5 with the hot spot at the top-left corner.
struct VyArtCursor
{
    VyString fileName;    // in the cursor directory
    VyPoint hotSpot;      // pixel the mouse points at, from the top-left corner, y down
    VyArtPicture picture;
};

constexpr int VY_ART_CURSOR_SIZE = 24;

class VyArtCursors
{
public:
    // In the framework's order: default, ibeam, northsouth, eastwest, wait, hand.
    static std::array<VyArtCursor, 6> DrawAll();

    static VyArtPicture Arrow();
    static VyArtPicture IBeam();
    static VyArtPicture NorthSouth();
    static VyArtPicture EastWest();
    static VyArtPicture Wait();
    static VyArtPicture Hand();
};
