#pragma once

#include <vector>

#include "vyrender/VyGlyph.h"
#include "VyFontRaster.h"

// Packs rendered glyphs into one square coverage sheet, row 0 the bottom row (as images and textures
// keep their rows). Shelf packing: glyphs sorted by height (tallest first, then by code, so the result
// is the same on every run) fill rows from the top of the sheet down, one pixel apart.
class VyGlyphPacker
{
public:
    explicit VyGlyphPacker(int side) : m_side(side) {}

    // Places every glyph; returns the sheet rectangle of each (y upwards from the bottom row, empty for
    // glyphs without pixels), in the order of glyphs. Throws VyException when they do not fit.
    std::vector<VyRect> Pack(const std::vector<VyRasterGlyph>& glyphs);

    // Coverage of the sheet, side x side bytes, row 0 the bottom row.
    const std::vector<unsigned char>& GetCoverage() const { return m_coverage; }

private:
    void Copy(const VyRasterGlyph& glyph, const VyRect& sheet);

    int m_side;
    std::vector<unsigned char> m_coverage;
};

// Cuts rows and columns without coverage off the edges of a glyph, moving its box with them.
void VyTrimGlyph(VyRasterGlyph& glyph);
