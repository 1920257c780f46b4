#pragma once

#include "artgen/VyArtPicture.h"
#include "artgen/VyArtPieceRenderer.h"

// The window icon and the list icons of the file dialog. All leave the mask colour where they are
// transparent.
class VyArtIcons
{
public:
    static constexpr int VY_ICON_SIZE = 64;
    static constexpr int VY_LIST_ICON_SIZE = 16;

    // The sides of the desktop's icons (the icon theme's usual sizes).
    static constexpr int VY_DESKTOP_ICON_SIZES[] = {16, 24, 32, 48, 64, 128, 256};

    // A small tile of the board with a dark and a white piece on it, in a rounded walnut frame, at
    // size x size pixels with its coverage (for the desktop's PNG icons).
    static VyArtImage DesktopIcon(const VyArtPieceRenderer& pieces, int size);
    // The same at VY_ICON_SIZE, keyed: the window's icon.
    static VyArtPicture WindowIcon(const VyArtPieceRenderer& pieces);
    // A closed manila folder with its tab.
    static VyArtPicture ClosedFolder();
    // A page with a folded corner and lines of text.
    static VyArtPicture File();
};

// A tileable marble texture for a colour scheme's window background: light, quiet stone so that text
// stays readable over it, repeating seamlessly in both directions.
class VyArtMarble
{
public:
    static constexpr int VY_SIZE = 128;
    static VyArtPicture Draw(int size = VY_SIZE);
};
