#include <gtest/gtest.h>

#include "VyFontTestFont.h"
#include "VyRenderTestSupport.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyException.h"
#include "vyrender/VyFont.h"

static auto* const g_environment = testing::AddGlobalTestEnvironment(new VyTempWorkingDir);

namespace
{

VyString FontBytes(const VyFont& font)
{
    VyMemFile file(VY_IO_WRITE);
    font.Write(file);
    return VyString(file.GetView());
}

VyFont ReadFont(const VyString& bytes)
{
    VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
    VyFont font;
    font.Read(file);
    return font;
}

TEST(VyFontFile, WritesAndReadsBack)
{
    VyFont font = MakeTestFont();
    VyString bytes = FontBytes(font);
    ASSERT_GE(bytes.size(), 4u + 6 + 4 + 3 + 12 + 100 * 36);
    EXPECT_EQ(bytes.substr(0, 10), VyString("\x01\0\0\0\x05" "Arial", 10));
    VyFont copy = ReadFont(bytes);
    EXPECT_EQ(copy.GetDesc(), font.GetDesc());
    EXPECT_EQ(copy.GetFirstCharacter(), 32);
    EXPECT_EQ(copy.GetHeight(), 13);
    EXPECT_EQ(copy.GetGlyphs(), font.GetGlyphs());
    const VyRGBFormat* sheet = copy.GetSheet().Image();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->FormatId(), VY_FORMAT_ALPHA8);
    EXPECT_EQ(sheet->Width(), 128);
    EXPECT_EQ(sheet->Height(), 128);
    EXPECT_EQ(sheet->GetPixel(8, 127) >> 24, 255u);  // glyph 1 ('!') at the top, second column
    EXPECT_EQ(sheet->GetPixel(14, 127) >> 24, 0u);
    EXPECT_EQ(FontBytes(copy), bytes);
}

TEST(VyFontFile, DamagedFilesThrowAndLeaveTheFontAlone)
{
    VyString bytes = FontBytes(MakeTestFont());
    VyFont font = MakeTestFont();
    // Every truncation of the header and glyph table.
    for (size_t length = 0; length < 4 + 6 + 4 + 3 + 12 + 100 * 36; length += 7)
    {
        VyMemFile file(bytes.data(), static_cast<int>(length));
        EXPECT_THROW(font.Read(file), VyException) << length;
    }
    EXPECT_EQ(font.GetGlyphCount(), 100);

    auto patched = [&](size_t offset, unsigned int value) {
        VyString copy = bytes;
        for (int i = 0; i < 4; ++i)
            copy[offset + i] = static_cast<char>(value >> (8 * i));
        return copy;
    };
    const size_t countOffset = 4 + 6 + 4 + 3 + 8;
    for (unsigned int count : {0xFFFFFFFFu, 0x80000000u, 257u, 101u})
        EXPECT_THROW(ReadFont(patched(countOffset, count)), VyException) << count;
    EXPECT_THROW(ReadFont(patched(countOffset - 4, 0x7FFFFFFF)), VyException);  // height
    EXPECT_THROW(ReadFont(patched(countOffset - 8, 256)), VyException);        // first character
    EXPECT_THROW(ReadFont(patched(4 + 6 + 4 + 3 + 12, 0x7FFFFFFF)), VyException);  // glyph 0 box
    EXPECT_THROW(ReadFont(patched(4 + 6 + 4 + 3 + 12 + 32, 1u << 31)), VyException);  // glyph 0 advance
    // A face length beyond the file.
    VyString face = bytes;
    face[4] = '\xFF';
    EXPECT_THROW(ReadFont(face), VyException);

    // Sheet rectangles outside the sheet are clamped into it.
    VyFont wild = MakeTestFont();
    std::vector<VyGlyph> glyphs = wild.GetGlyphs();
    glyphs[1].sheet = {-50, 100000, 200000, -3};
    wild.SetMetrics(wild.GetDesc(), 32, 13, glyphs);
    VyFont clamped = ReadFont(FontBytes(wild));
    EXPECT_EQ(clamped.GetGlyphs()[1].sheet, (VyRect{0, 128, 128, 0}));

    // The sheet: cut short, too large, or missing.
    const size_t sheetOffset = 4 + 6 + 4 + 3 + 12 + 100 * 36;
    EXPECT_THROW(ReadFont(bytes.substr(0, bytes.size() - 1)), VyException);
    EXPECT_THROW(ReadFont(bytes.substr(0, sheetOffset + 8)), VyException);
    EXPECT_THROW(ReadFont(patched(sheetOffset + 4, 0x40000000)), VyException);
    EXPECT_THROW(ReadFont(patched(sheetOffset + 8, 0xFFFFFFFF)), VyException);
    EXPECT_THROW(ReadFont(patched(sheetOffset, 77)), VyException);  // no such pixel format
    VyString big = patched(sheetOffset + 4, 8192);
    big = VyString(big.substr(0, sheetOffset + 8)) + VyString("\x01\0\0\0\0\0\0\0", 8) + VyString(8192, '\0');
    EXPECT_THROW(ReadFont(big), VyException);  // 8192 x 1: held by the file, but no font sheet is that wide
}

TEST(VyFontFile, CreateFontNamesTheFileFromItsFlags)
{
    VyTestMemorySource source;
    VyFont plain = MakeTestFont();
    source.m_files["fonts\\arial100b.vyf"] = FontBytes(plain);

    VyFontDesc desc;
    desc.bold = true;
    desc.antialiased = true;
    VyFont font;
    font.CreateFont(0, desc, VyFontAntialiasing::UNSUPPORTED);
    ASSERT_EQ(source.m_requests, std::vector<VyString>{"Fonts\\Arial100b.vyf"});
    EXPECT_EQ(font.GetId(), 0);
    EXPECT_TRUE(font.IsBold());
    EXPECT_FALSE(font.IsAntialiased());
    EXPECT_EQ(font.GetGlyphCount(), 100);

    // With antialiasing the flag stays and selects the other file, which is missing here.
    VyFont missing;
    try
    {
        missing.CreateFont(0, desc, VyFontAntialiasing::SUPPORTED);
        FAIL() << "no exception";
    }
    catch (const VyFileException& e)
    {
        EXPECT_EQ(e.GetMessage(), "*VyMessageTarget::CreateFont : Can not create font\n"
                                  "*VyPlatform::GetResourceFile : Could not locate resource file -> File: "
                                  "Fonts\\Arial100ba.vyf");
    }
    EXPECT_EQ(missing.GetGlyphCount(), 0);

    // The directory comes from vyw.cfg; the underline flag selects no other file.
    VyConfigFile config("vyw.cfg");
    EXPECT_EQ(config.GetString("Directories", "Fonts", "?"), "Fonts");
    config.SetString("Directories", "Fonts", "Other\\");
    source.m_files["other\\arial100.vyf"] = FontBytes(plain);
    VyFontDesc underline;
    underline.underline = true;
    font.CreateFont(3, underline, VyFontAntialiasing::SUPPORTED);
    EXPECT_EQ(source.m_requests.back(), "Other\\Arial100.vyf");
    EXPECT_TRUE(font.IsUnderline());
    EXPECT_FALSE(font.IsBold());
    config.SetString("Directories", "Fonts", "Fonts");
}

} // namespace
