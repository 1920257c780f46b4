#pragma once

#include <ostream>
#include <vector>

#include "vyrender/VyFont.h"

// A small font with known metrics: codes 32..131, every glyph 5 pixels wide and advancing 6, except
// the space (no pixels, advance 3), '<' (advance 7) and 'W' (advance 10). Height 13.
inline VyFont MakeTestFont()
{
    std::vector<VyGlyph> glyphs(100);
    for (int i = 0; i < 100; ++i)
    {
        VyGlyph& glyph = glyphs[i];
        int code = 32 + i;
        glyph.advance = code == ' ' ? 3 : code == '<' ? 7 : code == 'W' ? 10 : 6;
        if (code != ' ')
        {
            glyph.box = {0, 10, 5, 0};
            int column = i % 16, row = i / 16;
            glyph.sheet = {column * 8, 128 - row * 16, column * 8 + 5, 128 - row * 16 - 10};
        }
    }
    VyFont font;
    VyFontDesc desc;
    font.SetMetrics(desc, 32, 13, glyphs);
    rgb sheet(VyRGBFormat::Create(128, 128, VY_FORMAT_ALPHA8, VY_ALIGN_BYTE, 0x00FFFFFF));
    for (const VyGlyph& glyph : glyphs)
        sheet.Image()->Fill(glyph.sheet, 0xFFFFFFFF);
    font.SetSheet(std::move(sheet));
    return font;
}

inline void PrintTo(const VyGlyph& glyph, std::ostream* out)
{
    auto rect = [&](const VyRect& r) { *out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}"; };
    rect(glyph.box);
    rect(glyph.sheet);
    *out << "+" << glyph.advance;
}
