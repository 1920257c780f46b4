#include <gtest/gtest.h>

#include "VyRenderTestSupport.h"
#include "vyrender/VyImageList.h"
#include "vyrender/VyNativeContext.h"

namespace
{

// A strip of count cells of w x h; cell i is filled with colour 0x010000 * (i + 1), and its
// bottom-left pixel is blue (0, 0, 255).
rgb MakeStrip(int count, int w, int h)
{
    auto image = VyRGBFormat::Create(count * w, h, VY_FORMAT_RGB24);
    for (int i = 0; i < count; ++i)
    {
        image->Fill({i * w, h, (i + 1) * w, 0}, 0xFF000000 | (0x010000u * (i + 1)));
        image->SetPixel(i * w, 0, 0xFF0000FF);
    }
    return rgb(std::move(image));
}

TEST(VyImageList, TheTextureSideDoublesFrom16UpTo256)
{
    struct Case
    {
        int cx, cy, count, side;
    } cases[] = {{16, 16, 1, 16}, {16, 16, 2, 32}, {24, 24, 1, 32}, {24, 24, 4, 64},
                 {24, 24, 6, 128}, {10, 30, 8, 64}, {32, 32, 64, 256}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.cx << "x" << c.cy << " x" << c.count);
        VyImageList list(c.cx, c.cy);
        EXPECT_EQ(list.Add(MakeStrip(c.count, c.cx, c.cy), VY_NO_TRANSPARENT_COLOR), 0);
        EXPECT_EQ(list.GetCount(), c.count);
        EXPECT_EQ(list.GetTextureSize(), c.side);
        EXPECT_EQ(list.GetImage()->Width(), c.side);
    }
}

TEST(VyImageList, StripsThatDoNotFitAreRefusedWithTheirAssertion)
{
    VyTraceCapture trace;
    VyImageList list(8, 8);
    EXPECT_EQ(list.Add(MakeStrip(2, 8, 9), VY_NO_TRANSPARENT_COLOR), -1);
    EXPECT_NE(trace.Text().find("Assertion Failed:m_size.cy==rgb.Height()"), std::string::npos) << trace.Text();
    trace.Clear();
    EXPECT_EQ(list.Add(rgb(VyRGBFormat::Create(12, 8, VY_FORMAT_RGB24)), VY_NO_TRANSPARENT_COLOR), -1);
    EXPECT_NE(trace.Text().find("Assertion Failed:rgb.Width()%m_size.cx==0"), std::string::npos) << trace.Text();
    EXPECT_EQ(list.GetCount(), 0);

    trace.Clear();
    VyImageList big(100, 100);
    EXPECT_EQ(big.Add(MakeStrip(4, 100, 100), VY_NO_TRANSPARENT_COLOR), 0);
    EXPECT_EQ(big.Add(MakeStrip(1, 100, 100), VY_NO_TRANSPARENT_COLOR), -1);
    EXPECT_NE(trace.Text().find("Assertion Failed:textureSize<=256"), std::string::npos) << trace.Text();
    EXPECT_EQ(big.GetCount(), 4);
    EXPECT_EQ(big.GetTextureSize(), 256);
}

TEST(VyImageList, CellsArePackedRowByRowFromTheTopWithTheTransparentColourCleared)
{
    VyImageList list(10, 10);
    EXPECT_EQ(list.Add(MakeStrip(2, 10, 10), 255), 0);
    EXPECT_EQ(list.Add(MakeStrip(3, 10, 10), 255), 2);
    ASSERT_EQ(list.GetTextureSize(), 32); // three cells a row
    EXPECT_EQ(list.GetCellRect(0), (VyRect{0, 32, 10, 22}));
    EXPECT_EQ(list.GetCellRect(2), (VyRect{20, 32, 30, 22}));
    EXPECT_EQ(list.GetCellRect(3), (VyRect{0, 22, 10, 12}));
    EXPECT_EQ(list.GetCellRect(5), VyRect{});
    const VyRGBFormat* packed = list.GetImage();
    ASSERT_NE(packed, nullptr);
    // Cell 3 is the second cell of the second strip (colour 2); its blue corner became transparent.
    EXPECT_EQ(packed->GetPixel(5, 15), 0xFF020000u);
    EXPECT_EQ(packed->GetPixel(0, 12) >> 24, 0u);
    // Space no cell uses is transparent.
    EXPECT_EQ(packed->GetPixel(31, 0) >> 24, 0u);
}

TEST(VyImageList, WithoutATransparentColourEveryPixelStaysOpaque)
{
    auto image = VyRGBFormat::Create(8, 8, VY_FORMAT_RGB24);
    image->Fill({0, 8, 8, 0}, 0xFFFFFFFF);
    image->SetPixel(1, 1, 0xFF0000FF);
    VyImageList list(8, 8);
    ASSERT_EQ(list.Add(rgb(std::move(image)), VY_NO_TRANSPARENT_COLOR), 0);
    const VyRGBFormat* packed = list.GetImage();
    const VyRect cell = list.GetCellRect(0);
    EXPECT_EQ(packed->GetPixel(cell.left, cell.bottom), 0xFFFFFFFFu) << "white is no key";
    EXPECT_EQ(packed->GetPixel(cell.left + 1, cell.bottom + 1), 0xFF0000FFu);
}

#ifdef VYW_TEST_ARCHIVE

TEST(VyImageList, DrawingACellLeavesItsTransparentPixels)
{
    VyTestArchiveSource source;
    ASSERT_TRUE(source.IsOpen());
    VyNativeContext context;
    context.Initialize(40, 40, 32, false);
    context.SetColor(VyColor(0x808080));
    context.FillRect({0, 40, 40, 0});
    context.SetColor(VyColor(0x00FF00));
    {
        VyImageList list(10, 10);
        list.Add(MakeStrip(3, 10, 10), 255);
        list.Draw(context, 1, 5, 30);
        list.Draw(context, 7, 20, 30); // no such cell
    }
    const VyRGBFormat& frame = *context.GetFrameBuffer();
    EXPECT_EQ(frame.GetPixel(10, 25) & 0xFFFFFF, 0x020000u) << "drawn unmodulated";
    EXPECT_EQ(frame.GetPixel(5, 20) & 0xFFFFFF, 0x808080u) << "the transparent corner";
    EXPECT_EQ(frame.GetPixel(4, 25) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(frame.GetPixel(25, 25) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(context.GetColor(), VyColor(0x00FF00));
    EXPECT_FALSE(context.GetBlending());
    EXPECT_EQ(context.GetStatistics().texturedQuads, 1);
}

#endif

} // namespace
