#include <gtest/gtest.h>

#include "vyrender/VyFontParser.h"
#include "vyrender/VyStandardFonts.h"

namespace
{

TEST(VyFontParser, StandardNamesAndGenericForm)
{
    EXPECT_EQ(VyFontParser::Parse("MENU").standard, VY_FONT_MENU);
    EXPECT_TRUE(VyFontParser::Parse("MENU").desc.bold);
    EXPECT_EQ(VyFontParser::Parse("WINDOWTEXT").standard, VY_FONT_WINDOWTEXT);
    EXPECT_EQ(VyFontParser::Parse("CONTROL").standard, VY_FONT_CONTROL);
    EXPECT_EQ(VyFontParser::Parse("CONTROL").desc.FileName(), "Arial100.vyf");
    EXPECT_EQ(VyFontParser::Parse("control").standard, -1);  // the caller upper-cases

    VyFontChoice generic = VyFontParser::Parse("TIMES,120,TRUE,F,1,0");
    EXPECT_EQ(generic.standard, -1);
    EXPECT_EQ(generic.desc.face, "TIMES");
    EXPECT_EQ(generic.desc.size, 120);
    EXPECT_TRUE(generic.desc.bold);
    EXPECT_FALSE(generic.desc.italic);
    EXPECT_TRUE(generic.desc.underline);
    EXPECT_FALSE(generic.desc.antialiased);

    // Missing parts take the defaults; "NO" is a true value; blanks before numbers are skipped.
    VyFontDesc defaults;
    EXPECT_EQ(VyFontParser::Parse("").desc, defaults);
    EXPECT_EQ(VyFontParser::Parse("ARIAL, 90").desc.size, 90);
    VyFontChoice partial = VyFontParser::Parse(",,NO,,FALSE,");
    EXPECT_EQ(partial.desc.face, "Arial");
    EXPECT_EQ(partial.desc.size, 100);
    EXPECT_TRUE(partial.desc.bold);
    EXPECT_FALSE(partial.desc.italic);
    EXPECT_FALSE(partial.desc.underline);
    EXPECT_FALSE(partial.desc.antialiased);
}

} // namespace
