#pragma once

#include "vythread/VyRect.h"

// One character of a bitmap font.
//   box:    where the glyph's pixels go, relative to the pen on the baseline (y upwards);
//           for '@' of the plain 13-pixel Arial about 0, 10, 12, -3.
//   sheet:  the same pixels in the glyph sheet, y upwards from the sheet's bottom row.
//   advance: pixels the pen moves after the glyph.
// On file a glyph is 36 bytes: box (4 ints), sheet (4 ints), advance (u32).
struct VyGlyph
{
    VyRect box;
    VyRect sheet;
    unsigned int advance = 0;

    bool operator==(const VyGlyph&) const = default;
};

// One step of drawing a text, worked out by VyFont::Layout so that a render context can draw the text
// without parsing it again.
//   GLYPH          draw the sheet rectangle `source` onto `dest` (window pixels, y upwards)
//   SET_COLOR      draw from now on in `rgb` (0xRRGGBB), opaque
//   RESTORE_COLOR  go back to the colour the render context had before the first step
struct VyGlyphStep
{
    enum Kind { GLYPH, SET_COLOR, RESTORE_COLOR };
    Kind kind = GLYPH;
    int glyph = 0;             // GLYPH: index into the font's glyph table
    VyRect dest;
    VyRect source;
    unsigned int rgb = 0;

    bool operator==(const VyGlyphStep&) const = default;
};
