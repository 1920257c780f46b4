#include <gtest/gtest.h>

#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"
#include "vythread/VyTraceCapture.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyMarkup.h"
#include "vyrender/VyStandardFonts.h"
#include "VyFontTestFont.h"

namespace
{

TEST(VyFontGlyphs, CodesOutsideTheTableUseGlyphZero)
{
    VyFont font = MakeTestFont();
    EXPECT_EQ(font.GetGlyphIndex(static_cast<char>(200)), 0);
    EXPECT_EQ(font.GetGlyphIndex(static_cast<char>(132)), 0);
    EXPECT_EQ(font.GetGlyphIndex(static_cast<char>(31)), 0);
    EXPECT_EQ(font.GetGlyphIndex('\0'), 0);
    EXPECT_EQ(font.GetGlyphIndex(static_cast<char>(131)), 99);
    EXPECT_EQ(font.GetGlyphIndex('A'), 'A' - 32);
    EXPECT_EQ(font.GetTextWidth("\xC8"), 3);  // code 200 measures as the space

    VyFont empty;
    EXPECT_EQ(empty.GetTextWidth("abc"), 0);
    EXPECT_TRUE(empty.Layout("abc", {0, 0}).empty());
    EXPECT_EQ(empty.GetAscent(), 0);
}

TEST(VyFontMarkup, MarkedUpTextMeasuresItsTextCharactersOnly)
{
    VyFont font = MakeTestFont();
    EXPECT_EQ(font.GetTextWidth("<>AB"), font.GetTextWidth("AB"));
    EXPECT_EQ(font.GetTextWidth("<><<"), font.GetTextWidth("<"));
    EXPECT_EQ(font.GetTextWidth("<>a<red>b<nonsense>c<orig>"), 18);
    EXPECT_EQ(font.GetTextWidth("<red>"), 7 + 6 + 6 + 6 + 6);  // plain: tags are text
    EXPECT_EQ(font.GetTextWidth("<>"), 0);
    // The first n text characters, tags not counted.
    EXPECT_EQ(font.GetTextWidth("<>A<red>B W", 2), 12);
    EXPECT_EQ(font.GetTextWidth("<>A<red>B W", 3), 15);
    EXPECT_EQ(font.GetTextWidth("A W", -1), 19);
    EXPECT_EQ(font.GetTextWidth("A W", 0), 0);
    EXPECT_EQ(font.GetTextWidth("A W", 10), 19);

    EXPECT_EQ(VyMarkup::Strip("<>x<red>y<<z"), "xy<z");
    EXPECT_EQ(VyMarkup::Strip("<>ab<red"), "ab");  // a tag without its '>' runs to the end
    EXPECT_EQ(VyMarkup::Strip("<>a>b"), "a>b");
    EXPECT_EQ(VyMarkup::Strip("x<>y"), "x<>y");
    EXPECT_EQ(VyMarkup::Strip("<"), "<");

    // Without its tags a text keeps its characters and stays marked up; a plain text is left alone.
    EXPECT_EQ(VyMarkup::WithoutTags("<>x<red>y<<z<orig>"), "<>xy<<z");
    EXPECT_EQ(VyMarkup::WithoutTags("<><<>a"), "<><<>a");
    EXPECT_EQ(VyMarkup::WithoutTags("<>ab<red"), "<>ab");
    EXPECT_EQ(VyMarkup::WithoutTags("x<red>y"), "x<red>y");
    EXPECT_EQ(font.GetTextWidth(VyMarkup::WithoutTags("<>A<red>B W")), font.GetTextWidth("<>A<red>B W"));
}

TEST(VyFontLayout, ColourTagsBecomeStepsBetweenTheGlyphs)
{
    VyFont font = MakeTestFont();
    std::vector<VyGlyphStep> steps = font.Layout("<>x<red>y<orig>z", {10, 20});
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0].kind, VyGlyphStep::GLYPH);
    EXPECT_EQ(steps[0].glyph, 'x' - 32);
    EXPECT_EQ(steps[0].dest, (VyRect{10, 30, 15, 20}));
    EXPECT_EQ(steps[0].source, font.GetGlyph('x').sheet);
    EXPECT_EQ(steps[1].kind, VyGlyphStep::SET_COLOR);
    EXPECT_EQ(steps[1].rgb, 0xFF0000u);
    EXPECT_EQ(steps[2].kind, VyGlyphStep::GLYPH);
    EXPECT_EQ(steps[2].dest.left, 16);
    EXPECT_EQ(steps[3].kind, VyGlyphStep::RESTORE_COLOR);
    EXPECT_EQ(steps[4].kind, VyGlyphStep::GLYPH);
    EXPECT_EQ(steps[4].dest.left, 22);

    // Every colour tag, an ignored tag, an unterminated one; a colour left in force is restored.
    std::vector<VyGlyphStep> colours = font.Layout(
        "<><green><yellow><blue><white><black><Red><bold>a<red", {0, 0});
    std::vector<unsigned int> rgbs;
    for (const VyGlyphStep& step : colours)
        if (step.kind == VyGlyphStep::SET_COLOR)
            rgbs.push_back(step.rgb);
    EXPECT_EQ(rgbs, (std::vector<unsigned int>{0x00FF00, 0xFFFF00, 0x0000FF, 0xFFFFFF, 0x000000}));
    EXPECT_EQ(colours.back().kind, VyGlyphStep::RESTORE_COLOR);
    EXPECT_EQ(colours[colours.size() - 2].kind, VyGlyphStep::GLYPH);

    // Plain text: tags are characters; the space draws nothing but moves the pen.
    std::vector<VyGlyphStep> plain = font.Layout("<red> a", {0, 0});
    ASSERT_EQ(plain.size(), 6u);
    for (const VyGlyphStep& step : plain)
        EXPECT_EQ(step.kind, VyGlyphStep::GLYPH);
    EXPECT_EQ(plain.back().dest.left, 7 + 6 * 4 + 3);
}

TEST(VyFontDesc, FileNamesAndStandardFonts)
{
    VyFontDesc desc;
    EXPECT_EQ(desc.FileName(), "Arial100.vyf");
    desc.bold = desc.italic = desc.antialiased = desc.underline = true;
    EXPECT_EQ(desc.FileName(), "Arial100bia.vyf");
    desc.italic = false;
    EXPECT_EQ(desc.FileName(), "Arial100ba.vyf");

    EXPECT_EQ(VyStandardFonts::Find(0)->desc.FileName(), "Arial100ba.vyf");
    EXPECT_EQ(VyStandardFonts::Find(3)->desc.FileName(), "Arial100.vyf");
    EXPECT_TRUE(VyStandardFonts::Find(3)->desc.underline);

    VyTraceCapture trace;
    EXPECT_EQ(VyStandardFonts::Find(4), nullptr);
    EXPECT_EQ(VyStandardFonts::Find(-1), nullptr);
    EXPECT_NE(trace.Text().find("Assertion Failed:false"), VyString::npos);
}

} // namespace
