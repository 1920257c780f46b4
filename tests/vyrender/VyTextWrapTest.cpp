#include <gtest/gtest.h>

#include <cmath>

#include "vyrender/VyFont.h"
#include "vyrender/VyTextWrap.h"
#include "VyFontTestFont.h"

namespace
{

using Lines = std::vector<VyString>;

TEST(VyTextWrap, BreaksAtSpacesWithinTheWidth)
{
    VyFont font = MakeTestFont();  // letters advance 6, space 3, W 10
    EXPECT_EQ(font.Wrap("aa bb cc", 15), (Lines{"aa", "bb", "cc"}));
    EXPECT_EQ(font.Wrap("aa bb cc", 27), (Lines{"aa bb", "cc"}));
    EXPECT_EQ(font.Wrap("aa bb cc", 26), (Lines{"aa", "bb", "cc"}));
    EXPECT_EQ(font.Wrap("aa bb cc", 1000), (Lines{"aa bb cc"}));
    EXPECT_EQ(font.Wrap("a  b", 1000), (Lines{"a  b"}));
    EXPECT_EQ(font.Wrap("", 100), Lines{});
}

TEST(VyTextWrap, WordWiderThanTheLineStandsAlone)
{
    VyFont font = MakeTestFont();
    EXPECT_EQ(font.Wrap("a WWWWW b", 20), (Lines{"a", "WWWWW", "b"}));
    EXPECT_EQ(font.Wrap("WWWWW a b", 20), (Lines{"WWWWW", "a b"}));
    EXPECT_EQ(font.Wrap("WWWWW", 0), (Lines{"WWWWW"}));
    EXPECT_EQ(font.Wrap("a b", 0), (Lines{"a", "b"}));
}

TEST(VyTextWrap, LineFeedsCutPiecesThatWrapAlone)
{
    VyFont font = MakeTestFont();
    EXPECT_EQ(font.Wrap("ab\ncd ef\r\n\ngh\n", 100), (Lines{"ab", "cd ef", "", "gh"}));
    EXPECT_EQ(font.Wrap("aa bb\ncc", 15), (Lines{"aa", "bb", "cc"}));
    EXPECT_EQ(font.Wrap("\n", 15), (Lines{""}));
}

TEST(VyTextWrap, MarkedUpLinesKeepTheirColour)
{
    VyFont font = MakeTestFont();
    Lines lines = font.Wrap("<>aa <red>bb cc<orig> dd", 15);
    EXPECT_EQ(lines, (Lines{"<>aa", "<><red>bb", "<><red>cc<orig>", "<>dd"}));
    // Tags take no width when lines are measured.
    EXPECT_EQ(font.Wrap("<>aa<blue><green> bb", 27), (Lines{"<>aa<blue><green> bb"}));
    // A colour set before a line feed carries into the next piece; "<<" is one character.
    EXPECT_EQ(font.Wrap("<><green>a\n<<b", 100), (Lines{"<><green>a", "<><green><<b"}));
    EXPECT_EQ(font.GetTextWidth(font.Wrap("<><green>a\n<<b", 100)[1]), 13);
}

TEST(VyTextWrap, FitToAspectRatio)
{
    VyFont font = MakeTestFont();
    EXPECT_EQ(font.FitToAspect("", 2.0), (VySize{0, 0}));
    // Fits on one line: the whole width, one line of height + 2.
    EXPECT_EQ(font.FitToAspect("aa bb", 100.0), (VySize{27, 15}));
    // A very tall shape asked for: one word per line.
    EXPECT_EQ(font.FitToAspect("aa bb cc", 0.01), (VySize{12, 45}));

    VyString text;
    for (int i = 0; i < 60; ++i)
        text += i % 3 ? "word " : "longerword ";
    for (double ratio : {1.0, 2.5, 4.0})
    {
        VySize size = font.FitToAspect(text, ratio);
        ASSERT_GT(size.cy, 0);
        EXPECT_EQ(size.cy % 15, 0);
        EXPECT_NEAR(static_cast<double>(size.cx) / size.cy, ratio, 0.35 * ratio) << ratio;
        // The size is a real wrapping of the text at its own width.
        Lines lines = font.Wrap(text, size.cx);
        EXPECT_EQ(static_cast<int>(lines.size()) * 15, size.cy);
        EXPECT_EQ(VyTextWrap::WidestLine(font, lines), size.cx);
    }
}

} // namespace
