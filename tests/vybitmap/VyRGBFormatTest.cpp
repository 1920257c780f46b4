#include <gtest/gtest.h>

#include <cstring>

#include "VyBitmapTestSupport.h"
#include "vybitmap/VyRGBFormat.h"
#include "vythread/VyException.h"

TEST(VyRGBFormat, PixelAccessPerFormat)
{
    auto rgb565 = VyRGBFormat::Create(2, 2, VY_FORMAT_RGB565);
    rgb565->Buffer()[0] = rgb565->Buffer()[1] = 0xFF;
    EXPECT_EQ(rgb565->GetPixel(0, 0), VyMakeColour(248, 252, 248, 255));

    // Colours written and read back keep each channel's top bits.
    struct Case
    {
        int id;
        uint32_t written, read;
    };
    const Case cases[] = {
        {VY_FORMAT_MONO, 0xFFC0C0C0, 0xFFFFFFFF},   {VY_FORMAT_MONO, 0xFF404040, 0xFF000000},
        {VY_FORMAT_RGB555, 0x12345678, 0xFF305078}, {VY_FORMAT_RGB565, 0x12345678, 0xFF305478},
        {VY_FORMAT_RGB24, 0x12345678, 0xFF345678},  {VY_FORMAT_RGB32, 0x12345678, 0xFF345678},
        {VY_FORMAT_RGBA32, 0x12345678, 0x12345678}, {VY_FORMAT_GREY8, 0xFF406080, 0xFF5A5A5A},
        {VY_FORMAT_GREY_ALPHA16, 0x7FFFFFFF, 0x7FFFFFFF}, {VY_FORMAT_ALPHA8, 0x40102030, 0x40FFFFFF},
    };
    for (const Case& c : cases)
    {
        auto image = VyRGBFormat::Create(9, 3, c.id, VY_ALIGN_32);
        image->SetPixel(8, 2, c.written);
        EXPECT_EQ(image->GetPixel(8, 2), c.read) << "format " << c.id;
        EXPECT_EQ(image->GetPixel(7, 2), image->GetPixel(0, 0)) << "neighbours untouched, format " << c.id;
    }
    // Byte layouts: id 7 stores red, green, blue, alpha; id 2 the leftmost pixel in the top bit.
    auto rgba = VyRGBFormat::Create(1, 1, VY_FORMAT_RGBA32);
    rgba->SetPixel(0, 0, 0x44112233);
    EXPECT_EQ(std::memcmp(rgba->Buffer(), "\x11\x22\x33\x44", 4), 0);
    auto mono = VyRGBFormat::Create(10, 1, VY_FORMAT_MONO);
    mono->SetPixel(9, 0, 0xFFFFFFFF);
    EXPECT_EQ(mono->Buffer()[1], 0x40);
}

TEST(VyRGBFormat, AccessOutsideTheImageIsReportedAndIgnored)
{
    VyTraceCapture trace;
    auto image = VyRGBFormat::Create(4, 4, VY_FORMAT_RGB24, VY_ALIGN_BYTE, 0xFF0000FF);
    image->SetPixel(4, 0, 0xFFFFFFFF);
    image->SetPixel(-1, 2, 0xFFFFFFFF);
    EXPECT_EQ(image->GetPixel(0, 4), 0u);
    EXPECT_EQ(trace.Count("Assertion Failed:x>=0 && x<m_width && y>=0 && y<m_height\n"), 3);
    EXPECT_EQ(VyPixels(*image), std::vector<uint32_t>(16, 0xFF0000FF));
}

TEST(VyRGBFormat, CreateAndAttach)
{
    auto red = VyRGBFormat::Create(3, 2, VY_FORMAT_RGBA32, VY_ALIGN_BYTE, 0x80FF0000);
    EXPECT_EQ(VyPixels(*red), std::vector<uint32_t>(6, 0x80FF0000));
    EXPECT_FALSE(VyRGBFormat::Create(0, 5, VY_FORMAT_RGBA32)->HasPixels());
    for (auto [width, height] : {std::pair{-1, 4}, std::pair{16385, 1}, std::pair{1, 16385}})
        try
        {
            VyRGBFormat::Create(width, height, VY_FORMAT_RGBA32);
            ADD_FAILURE() << width << "x" << height;
        }
        catch (const VyException& error)
        {
            EXPECT_EQ(error.GetMessage(), "*VyRGBFormat::Create : Unable to allocate buffer");
        }

    uint8_t buffer[16] = {};
    auto attached = VyRGBFormat::Attach(2, 2, VY_FORMAT_RGBA32, VY_ALIGN_BYTE, buffer, sizeof buffer);
    attached->SetPixel(1, 1, 0x01020304);
    EXPECT_EQ(buffer[12], 2);
    EXPECT_THROW(VyRGBFormat::Attach(2, 3, VY_FORMAT_RGBA32, VY_ALIGN_BYTE, buffer, sizeof buffer), VyException);
    auto copy = attached->Clone();
    copy->SetPixel(1, 1, 0);
    EXPECT_EQ(attached->GetPixel(1, 1), 0x01020304u) << "a clone owns its own pixels";
}

TEST(VyRGBFormat, ConversionKeepsTheTargetFormat)
{
    auto source = VyRGBFormat::Create(5, 3, VY_FORMAT_RGB24, VY_ALIGN_32);
    VyFillNoise(*source, 7);
    auto rgba = VyRGBFormat::Create(1, 1, VY_FORMAT_RGBA32);
    *rgba = *source;
    EXPECT_EQ(rgba->FormatId(), VY_FORMAT_RGBA32);
    EXPECT_EQ(rgba->Alignment(), VY_ALIGN_32);
    EXPECT_EQ(VyPixels(*rgba), VyPixels(*source)) << "colours kept, every alpha 255";

    // Through 5-6-5 and back keeps each channel's top bits only.
    auto rgb16 = VyRGBFormat::Create(1, 1, VY_FORMAT_RGB565);
    *rgb16 = *rgba;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(rgb16->GetPixel(x, y), source->GetPixel(x, y) & 0xFFF8FCF8);

    *rgba = *VyRGBFormat::Create(0, 0, VY_FORMAT_RGB24);
    EXPECT_EQ(rgba->Width(), 5) << "an empty source changes nothing";
}

TEST(VyRGBFormat, FlipSwapsRows)
{
    auto image = VyRGBFormat::Create(2, 3, VY_FORMAT_GREY8);
    for (uint32_t y = 0; y < 3; ++y)
        image->SetPixel(0, static_cast<int>(y), VyMakeColour(y, y, y));
    image->Flip();
    for (uint32_t y = 0; y < 3; ++y)
        EXPECT_EQ(image->GetPixel(0, static_cast<int>(y)), VyMakeColour(2 - y, 2 - y, 2 - y));
}

TEST(VyRGBFormat, LinesStepAlongTheLongerAxisAndClip)
{
    auto image = VyRGBFormat::Create(8, 8, VY_FORMAT_GREY8);
    const uint32_t white = 0xFFFFFFFF;
    image->Line(1, 1, 5, 3, white); // shallow: one pixel per column
    for (int x = 1; x <= 5; ++x)
        EXPECT_EQ(image->GetPixel(x, 1 + (x - 1) / 2), white) << x;
    image->Line(7, 6, 6, 0, white); // steep, drawn downwards: one pixel per row
    for (int y = 0; y <= 6; ++y)
        EXPECT_EQ(image->GetPixel(6 + (y == 6), y), white) << y;
    image->Line(0, 7, 0, 7, white);
    EXPECT_EQ(image->GetPixel(0, 7), white);

    auto clipped = VyRGBFormat::Create(4, 4, VY_FORMAT_GREY8);
    VyTraceCapture trace;
    clipped->Line(-1000000, 2, 2000000000, 2, white);
    clipped->Line(1, -2000000000, 1, 2000000000, white);
    EXPECT_TRUE(trace.Text().empty());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(clipped->GetPixel(i, 2) == white && clipped->GetPixel(1, i) == white) << i;
}
