#include <gtest/gtest.h>

#include "vybitmap/VyPixelFormat.h"
#include "vybitmap/VyRGBFormat.h"
#include "vythread/VyException.h"

TEST(VyPixelFormat, TableOfTheTenFormats)
{
    struct Row
    {
        int id, bits;
        uint32_t mask;
        int shift[4], count[4];
    };
    const Row table[] = {
        {1, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},           {2, 1, 1, {0, 0, 0, 0}, {1, 1, 1, 0}},
        {3, 16, 0x7FFF, {10, 5, 0, 0}, {5, 5, 5, 0}},    {4, 16, 0xFFFF, {11, 5, 0, 0}, {5, 6, 5, 0}},
        {5, 24, 0xFFFFFF, {0, 8, 16, 0}, {8, 8, 8, 0}},  {6, 32, 0xFFFFFFFF, {0, 8, 16, 0}, {8, 8, 8, 0}},
        {7, 32, 0xFFFFFFFF, {0, 8, 16, 24}, {8, 8, 8, 8}}, {8, 8, 0xFF, {0, 0, 0, 0}, {8, 8, 8, 0}},
        {9, 16, 0xFFFF, {0, 0, 0, 8}, {8, 8, 8, 8}},     {10, 8, 0xFF, {0, 0, 0, 0}, {0, 0, 0, 8}},
    };
    for (const Row& row : table)
    {
        const VyPixelFormat format(row.id);
        EXPECT_EQ(format.BitsPerPixel(), row.bits) << row.id;
        EXPECT_EQ(format.Mask(), row.mask) << row.id;
        EXPECT_EQ(format.HasAlpha(), row.count[VY_ALPHA] > 0) << row.id;
        for (int channel = 0; channel < VY_CHANNELS; ++channel)
        {
            EXPECT_EQ(format.Shift(channel), row.shift[channel]) << row.id << " channel " << channel;
            EXPECT_EQ(format.ValueMask(channel), (1u << row.count[channel]) - 1) << row.id << " channel " << channel;
        }
    }
    EXPECT_EQ(VyPixelFormat(4).Describe(), "16-bit BGR (565)");
    EXPECT_EQ(VyPixelFormat(5).Describe(), "24-bit RGB (888)");
    EXPECT_EQ(VyPixelFormat(8).Describe(), "8-bit RGB (888)");

    for (int id : {0, 11})
        try
        {
            VyPixelFormat().SetFormat(id);
            ADD_FAILURE() << id;
        }
        catch (const VyException& error)
        {
            EXPECT_EQ(error.GetMessage(), "*VyPixelFormat::SetFormat : Unsupported format");
        }
}

TEST(VyPixelFormat, MasksAreClassified)
{
    struct Case
    {
        int bits;
        uint32_t r, g, b, a;
        int id;
    };
    const Case cases[] = {
        {1, 1, 1, 1, 0, 2},           {1, 1, 1, 0, 0, 1},           {8, 0, 0, 0, 0xFF, 10},
        {8, 0xFF, 0xFF, 0xFF, 0, 8},  {8, 0xE0, 0x1C, 0x03, 0, 1},  {16, 0xFF, 0xFF, 0xFF, 0xFF00, 9},
        {16, 0x001F, 0x03E0, 0x7C00, 0, 3}, {16, 0xF800, 0x07E0, 0x001F, 0, 4}, {24, 0xFF, 0xFF00, 0xFF0000, 0, 5},
        {32, 0xFF0000, 0xFF00, 0xFF, 0, 6}, {32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, 7}, {32, 0x3FF00000, 0xFFC00, 0x3FF, 0, 1},
    };
    for (const Case& c : cases)
    {
        VyPixelFormat format;
        format.SetMasks(c.bits, c.r, c.g, c.b, c.a);
        EXPECT_EQ(format.Id(), c.id) << std::hex << c.bits << " " << c.r << " " << c.g << " " << c.b << " " << c.a;
    }
    VyPixelFormat format;
    format.SetMasks(16, 0xF800, 0x07E0, 0x001F, 0);
    EXPECT_EQ(format.Shift(VY_RED), 11);
    EXPECT_EQ(format.BitCount(VY_GREEN), 6);
    EXPECT_EQ(format.Shift(VY_ALPHA), 32) << "an empty mask";
    EXPECT_EQ(format.WordToColour(0xFFFF), 0xFFF8FCF8u);
}

TEST(VyPixelFormat, RowPitchByAlignment)
{
    // Width 3 of 24 bits: 9 bytes packed, 10 on 16-bit rows, 12 on 32-bit rows.
    EXPECT_EQ(VyRGBFormat::RowPitch(5, 3, VY_ALIGN_BYTE), 9);
    EXPECT_EQ(VyRGBFormat::RowPitch(5, 3, VY_ALIGN_PITCH), 9);
    EXPECT_EQ(VyRGBFormat::RowPitch(5, 3, VY_ALIGN_16), 10);
    EXPECT_EQ(VyRGBFormat::RowPitch(5, 3, VY_ALIGN_32), 12);
    EXPECT_EQ(VyRGBFormat::RowPitch(2, 9, VY_ALIGN_BYTE), 2);
    EXPECT_EQ(VyRGBFormat::RowPitch(5, 3, 16), 16);
    EXPECT_EQ(VyRGBFormat::RowPitch(5, 3, 8), -1) << "an explicit pitch below one row";
    EXPECT_EQ(VyRGBFormat::RowPitch(5, 3, -7), -1);

    auto image = VyRGBFormat::Create(3, 2, 5, 16);
    EXPECT_EQ(image->Pitch(), 16);
    EXPECT_EQ(image->Alignment(), VY_ALIGN_PITCH);
}

TEST(VyPixelFormat, WideningRepeatsTheHighBits)
{
    EXPECT_EQ(VyPixelFormat::Widen(31, 5), 255u);
    EXPECT_EQ(VyPixelFormat::Widen(63, 6), 255u);
    EXPECT_EQ(VyPixelFormat::Widen(16, 5), 132u);
    EXPECT_EQ(VyPixelFormat::Widen(1, 1), 255u);
    EXPECT_EQ(VyPixelFormat::Widen(0x3FF, 10), 255u);
}
