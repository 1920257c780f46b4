#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "vyrender/VyRasterizer.h"

namespace
{

using Blend = VyRasterizer::Blend;
using PixelSet = std::set<std::pair<int, int>>;

VyRasterizer::Paint MakePaint(uint32_t rgb, uint8_t alpha = 255, Blend blend = Blend::NONE)
{
    return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), alpha, blend};
}

struct Canvas
{
    explicit Canvas(int formatId = VY_FORMAT_RGBA32, int width = 32, int height = 32, bool bDither = false)
        : image(VyRGBFormat::Create(width, height, formatId, VY_ALIGN_32))
    {
        rasterizer.SetTarget(image.get(), bDither);
    }

    uint32_t At(int x, int y) const { return image->GetPixel(x, y) & 0xFFFFFF; }

    // The pixels that are not black.
    PixelSet Lit() const
    {
        PixelSet lit;
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x)
                if (At(x, y) != 0)
                    lit.insert({x, y});
        return lit;
    }

    std::unique_ptr<VyRGBFormat> image;
    VyRasterizer rasterizer;
};

TEST(VyRasterizer, FillsBlendAndSkipFragmentsBelowTheAlphaTest)
{
    Canvas canvas;
    canvas.rasterizer.FillRect({0, 4, 4, 0}, MakePaint(0xFFFFFF, 128, Blend::ALPHA));
    EXPECT_EQ(canvas.At(0, 0), 0x808080u); // 255 * 128 / 255 over black
    EXPECT_EQ(canvas.At(4, 0), 0u);       // right and top edges are outside

    canvas.rasterizer.FillRect({8, 4, 12, 0}, MakePaint(0xFFFFFF, 15, Blend::ALPHA));
    EXPECT_EQ(canvas.At(8, 0), 0u) << "alpha 15/255 fails the test > 0.0625";
    canvas.rasterizer.FillRect({8, 4, 12, 0}, MakePaint(0xFFFFFF, 16, Blend::ALPHA));
    EXPECT_EQ(canvas.At(8, 0), 0x101010u);

    canvas.rasterizer.FillRect({16, 4, 20, 0}, MakePaint(0xC08040));
    canvas.rasterizer.FillRect({16, 4, 20, 0}, MakePaint(0x80FF20, 255, Blend::ADDITIVE));
    EXPECT_EQ(canvas.At(16, 0), 0xFFFF60u) << "additive mode caps each channel at 255";

    // Without blending the colour is written as it is, whatever its alpha.
    canvas.rasterizer.FillRect({24, 4, 28, 0}, MakePaint(0x123456, 3));
    EXPECT_EQ(canvas.At(24, 0), 0x123456u);
}

TEST(VyRasterizer, PolygonsCoverPixelCentresWhicheverWayTheyRun)
{
    const VyPoint square[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    Canvas a;
    a.rasterizer.FillPolygon(square, 4, MakePaint(0xFFFFFF));
    EXPECT_EQ(a.Lit().size(), 16u);

    // A right triangle whose hypotenuse runs through pixel centres: those on the left edge belong to it,
    // the same pixels whether the points run clockwise or counter-clockwise.
    const VyPoint counterClockwise[] = {{0, 0}, {8, 0}, {0, 8}};
    const VyPoint clockwise[] = {{0, 8}, {8, 0}, {0, 0}};
    Canvas ccw, cw;
    ccw.rasterizer.FillPolygon(counterClockwise, 3, MakePaint(0xFFFFFF));
    cw.rasterizer.FillPolygon(clockwise, 3, MakePaint(0xFFFFFF));
    EXPECT_EQ(ccw.Lit(), cw.Lit());
    // Row y holds the centres x + 0.5 < 8 - (y + 0.5): pixels 0 .. 7 - y - 1.
    PixelSet expected;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 7 - y; ++x)
            expected.insert({x, y});
    EXPECT_EQ(ccw.Lit(), expected);

    // Fewer than three points draw nothing.
    Canvas none;
    none.rasterizer.FillPolygon(square, 2, MakePaint(0xFFFFFF));
    EXPECT_TRUE(none.Lit().empty());
}

TEST(VyRasterizer, LinesRunFromTheirLowerEndAndBreakTiesDownwards)
{
    // x-major, gentle slope: y sampled at every column centre, the upper end left out.
    Canvas a, b;
    a.rasterizer.Line(2, 2, 12, 7, false, MakePaint(0xFFFFFF));
    b.rasterizer.Line(12, 7, 2, 2, false, MakePaint(0xFFFFFF));
    EXPECT_EQ(a.Lit(), b.Lit()) << "the same pixels whichever way the line is given";
    PixelSet expected;
    for (int i = 0; i < 10; ++i) // y centre 2.5 + i / 2: between two rows for odd i -> the lower
        expected.insert({2 + i, 2 + i / 2});
    EXPECT_EQ(a.Lit(), expected);

    // With the end included the upper end is drawn too.
    Canvas c;
    c.rasterizer.Line(12, 7, 2, 2, true, MakePaint(0xFFFFFF));
    EXPECT_EQ(c.Lit().size(), 11u);
    EXPECT_TRUE(c.Lit().count({12, 7}));

    // y-major and exact diagonals walk along y.
    Canvas d;
    d.rasterizer.Line(5, 20, 8, 10, false, MakePaint(0xFFFFFF));
    EXPECT_EQ(d.Lit().size(), 10u);
    EXPECT_TRUE(d.Lit().count({8, 10}));
    EXPECT_FALSE(d.Lit().count({5, 20}));
    Canvas e;
    e.rasterizer.Line(0, 0, 5, 5, false, MakePaint(0xFFFFFF));
    EXPECT_EQ(e.Lit(), (PixelSet{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));

    // A line of one point draws only when its end is included.
    Canvas f;
    f.rasterizer.Line(3, 3, 3, 3, false, MakePaint(0xFFFFFF));
    EXPECT_TRUE(f.Lit().empty());
    f.rasterizer.Line(3, 3, 3, 3, true, MakePaint(0xFFFFFF));
    EXPECT_EQ(f.Lit().size(), 1u);
}

TEST(VyRasterizer, SixteenBitFramesRoundOrDitherAndReadBackWidened)
{
    Canvas rounded(VY_FORMAT_RGB565);
    rounded.rasterizer.FillRect({0, 1, 1, 0}, MakePaint(0xFFFFFF));
    rounded.rasterizer.FillRect({1, 1, 2, 0}, MakePaint(0x808080));
    const uint16_t* row = reinterpret_cast<const uint16_t*>(rounded.image->Row(0));
    EXPECT_EQ(row[0], 0xFFFF);
    // 128 * 31 / 255 = 15.56 -> 16; 128 * 63 / 255 = 31.6 -> 32.
    EXPECT_EQ(row[1], (16 << 11) | (32 << 5) | 16);

    // Blending reads the 16-bit pixel back with its high bits repeated: white stays white.
    rounded.rasterizer.FillRect({0, 1, 1, 0}, MakePaint(0xFFFFFF, 128, Blend::ALPHA));
    EXPECT_EQ(row[0], 0xFFFF);

    // Ordered dithering spreads a level between two 5-bit steps over a 4 x 4 block whose mean is the
    // level; without it every pixel takes the nearest step.
    Canvas dithered(VY_FORMAT_RGB555, 4, 4, true);
    const uint32_t level = 100; // 100 * 31 / 255 = 12.16
    dithered.rasterizer.FillRect({0, 4, 4, 0}, MakePaint(level << 16));
    std::set<uint32_t> steps;
    double sum = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
        {
            uint32_t word = dithered.image->Row(y)[2 * x] | (dithered.image->Row(y)[2 * x + 1] << 8);
            steps.insert(word >> 10);
            sum += word >> 10;
        }
    EXPECT_EQ(steps, (std::set<uint32_t>{12, 13}));
    EXPECT_NEAR(sum / 16 * 255 / 31, level, 255.0 / 31 / 16 + 0.5);
}

} // namespace
