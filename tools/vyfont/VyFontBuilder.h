#pragma once

#include "vyrender/VyFont.h"
#include "VyFontRaster.h"

// What the generator is asked to make.
struct VyFontBuildOptions
{
    VyString faceFile;            // TrueType file
    VyFontDesc desc;              // face name, size and flags written into the font
    int pixelSize = 13;           // FreeType pixel size (em height)
    int height = 13;              // line height written into the font
    int firstCharacter = 32;
    int glyphCount = 100;         // codes first .. first + count - 1 (Windows-1252)
    int sheetSide = 128;
};

// Renders a face into a complete font: metrics, glyph sheet (alpha only for plain fonts, grey and
// alpha for antialiased ones). The same options always give the same bytes.
class VyFontBuilder
{
public:
    static VyFont Build(const VyFontBuildOptions& options);
};
