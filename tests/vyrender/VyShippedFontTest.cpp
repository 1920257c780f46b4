#include <gtest/gtest.h>

#include "VyRenderTestSupport.h"
#include "vythread/VyException.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyStandardFonts.h"

#ifdef VYW_TEST_ARCHIVE

namespace
{

bool Overlap(const VyRect& a, const VyRect& b)
{
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

TEST(VyShippedFonts, TheFourStandardFontsLoadFromTheArchive)
{
    VyTestArchiveSource source;
    ASSERT_TRUE(source.HasArchive()) << VYW_TEST_ARCHIVE;
    for (int id = 0; id < VY_STANDARD_FONT_COUNT; ++id)
    {
        SCOPED_TRACE(id);
        const VyStandardFont* standard = VyStandardFonts::Find(id);
        VyFont font;
        font.CreateFont(id, standard->desc, VyFontAntialiasing::SUPPORTED);
        EXPECT_EQ(font.GetGlyphCount(), 100);
        EXPECT_EQ(font.GetFirstCharacter(), 32);
        EXPECT_EQ(font.GetHeight(), 13);
        const VyRGBFormat* sheet = font.GetSheet().Image();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->Width(), 128);
        EXPECT_EQ(sheet->Height(), 128);
        EXPECT_EQ(sheet->FormatId(), standard->desc.antialiased ? VY_FORMAT_GREY_ALPHA16 : VY_FORMAT_ALPHA8);

        const std::vector<VyGlyph>& glyphs = font.GetGlyphs();
        for (size_t i = 0; i < glyphs.size(); ++i)
        {
            const VyGlyph& glyph = glyphs[i];
            // Every glyph stays inside a 13-pixel line: 10 rows above the baseline, 3 below.
            EXPECT_GE(glyph.box.bottom, -3) << i;
            EXPECT_LE(glyph.box.top, 10 + standard->desc.bold) << i;
            EXPECT_EQ(glyph.box.Width(), glyph.sheet.Width()) << i;
            EXPECT_EQ(glyph.box.Height(), glyph.sheet.Height()) << i;
            EXPECT_GT(glyph.advance, 0u) << i;
            for (size_t j = 0; j < i; ++j)
                EXPECT_FALSE(Overlap(glyph.sheet, glyphs[j].sheet)) << i << " " << j;
        }
        // The space and the unused code 129 have no pixels; visible glyphs have white pixels.
        EXPECT_TRUE(font.GetGlyph(' ').sheet.IsEmpty());
        EXPECT_TRUE(font.GetGlyph(static_cast<char>(129)).sheet.IsEmpty());
        EXPECT_EQ(font.GetGlyph(static_cast<char>(129)).advance, font.GetGlyph(' ').advance);
        EXPECT_FALSE(font.GetGlyph(static_cast<char>(128)).sheet.IsEmpty());  // the euro sign
        const VyRect& at = font.GetGlyph('@').sheet;
        unsigned int strongest = 0;
        for (int y = at.bottom; y < at.top; ++y)
            for (int x = at.left; x < at.right; ++x)
            {
                uint32_t pixel = sheet->GetPixel(x, y);
                strongest = std::max(strongest, pixel >> 24);
                if (standard->desc.antialiased)
                {
                    EXPECT_EQ(pixel & 0xFFFFFF, 0xFFFFFFu);
                }
            }
        if (standard->desc.antialiased)
            EXPECT_GE(strongest, 192u);
        else
            EXPECT_EQ(strongest, 255u);
    }
}

TEST(VyShippedFonts, PlainAtSignAndWidths)
{
    VyTestArchiveSource source;
    VyFont font;
    font.CreateFont(VY_FONT_CONTROL, VyStandardFonts::Find(VY_FONT_CONTROL)->desc, VyFontAntialiasing::SUPPORTED);
    // Rendered from Liberation Sans at 13 pixels: '@' covers 1, 9, 12, -2, within a pixel of the
    // 0, 10, 12, -3 of the face it stands in for.
    const VyGlyph& at = font.GetGlyph('@');
    EXPECT_EQ(at.box, (VyRect{1, 9, 12, -2}));
    EXPECT_EQ(at.advance, 13u);
    EXPECT_EQ(font.GetAscent(), 10);
    EXPECT_EQ(font.GetTextWidth("<>Tolmar"), font.GetTextWidth("Tolmar"));
    EXPECT_GT(font.GetTextWidth("WWW"), font.GetTextWidth("iii"));
}

} // namespace

#endif
