#include "VyGlyphPacker.h"

#include <algorithm>
#include <numeric>

#include "vythread/VyException.h"

namespace
{

bool RowEmpty(const VyRasterGlyph& glyph, int y)
{
    for (int x = 0; x < glyph.width; ++x)
        if (glyph.coverage[static_cast<size_t>(y) * glyph.width + x] != 0)
            return false;
    return true;
}

bool ColumnEmpty(const VyRasterGlyph& glyph, int x)
{
    for (int y = 0; y < glyph.height; ++y)
        if (glyph.coverage[static_cast<size_t>(y) * glyph.width + x] != 0)
            return false;
    return true;
}

} // namespace

void VyTrimGlyph(VyRasterGlyph& glyph)
{
    int top = 0, bottom = glyph.height, left = 0, right = glyph.width;
    while (top < bottom && RowEmpty(glyph, top))
        ++top;
    while (bottom > top && RowEmpty(glyph, bottom - 1))
        --bottom;
    while (left < right && ColumnEmpty(glyph, left))
        ++left;
    while (right > left && ColumnEmpty(glyph, right - 1))
        --right;
    if (top == bottom || left == right)
    {
        glyph.width = glyph.height = 0;
        glyph.coverage.clear();
        glyph.box = {};
        return;
    }
    std::vector<unsigned char> trimmed;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            trimmed.push_back(glyph.coverage[static_cast<size_t>(y) * glyph.width + x]);
    glyph.box = {glyph.box.left + left, glyph.box.top - top, glyph.box.left + right, glyph.box.top - bottom};
    glyph.width = right - left;
    glyph.height = bottom - top;
    glyph.coverage = std::move(trimmed);
}

std::vector<VyRect> VyGlyphPacker::Pack(const std::vector<VyRasterGlyph>& glyphs)
{
    m_coverage.assign(static_cast<size_t>(m_side) * m_side, 0);
    std::vector<size_t> order(glyphs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return glyphs[a].height > glyphs[b].height; });

    std::vector<VyRect> sheets(glyphs.size());
    int x = 0, shelfTop = 0, shelfHeight = 0;   // shelfTop counts rows down from the sheet's top
    for (size_t index : order)
    {
        const VyRasterGlyph& glyph = glyphs[index];
        if (glyph.width == 0 || glyph.height == 0)
            continue;
        if (x + glyph.width > m_side)
        {
            x = 0;
            shelfTop += shelfHeight + 1;
            shelfHeight = 0;
        }
        if (glyph.width > m_side || shelfTop + glyph.height > m_side)
            throw VyException("VyGlyphPacker", "Pack",
                              VyString::Format("The glyphs do not fit a %d x %d sheet", m_side, m_side));
        VyRect sheet{x, m_side - shelfTop, x + glyph.width, m_side - shelfTop - glyph.height};
        Copy(glyph, sheet);
        sheets[index] = sheet;
        x += glyph.width + 1;
        shelfHeight = std::max(shelfHeight, glyph.height);
    }
    return sheets;
}

void VyGlyphPacker::Copy(const VyRasterGlyph& glyph, const VyRect& sheet)
{
    for (int row = 0; row < glyph.height; ++row)
    {
        int sheetRow = sheet.top - 1 - row;
        for (int column = 0; column < glyph.width; ++column)
            m_coverage[static_cast<size_t>(sheetRow) * m_side + sheet.left + column] =
                glyph.coverage[static_cast<size_t>(row) * glyph.width + column];
    }
}
