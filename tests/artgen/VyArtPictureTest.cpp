#include <gtest/gtest.h>

#include <filesystem>

#include "artgen/VyArtFiles.h"
#include "artgen/VyArtNoise.h"
#include "artgen/VyArtMaterials.h"
#include "artgen/VyArtPixelCanvas.h"
#include "artgen/VyArtPreview.h"
#include "vyio/VyTestDir.h"

TEST(VyArtPicture, StretchingSamplesLikeALinearTexture)
{
    VyArtPicture flat(8, 8, {10, 20, 30});
    VyArtPicture stretched = flat.Stretched(5, 13);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(stretched.Get(x, y), (VyArtRgb{10, 20, 30}));

    VyArtPicture two(2, 1);
    two.Set(0, 0, {0, 0, 0});
    two.Set(1, 0, {200, 0, 0});
    VyArtPicture wide = two.Stretched(4, 1);
    EXPECT_EQ(wide.Get(0, 0).r, 0);   // clamped at the edge
    EXPECT_EQ(wide.Get(1, 0).r, 50);  // a quarter of the way
    EXPECT_EQ(wide.Get(2, 0).r, 150);
    EXPECT_EQ(wide.Get(3, 0).r, 200);
}

TEST(VyArtPreview, LinesAndTheThreeFoldHighlight)
{
    VyArtPicture p(20, 20);
    const VyArtRgb ink{255, 255, 0};
    // Stepped along the longer axis, coordinates truncated, both ends drawn.
    VyArtPreview::DrawLine(p, {2, 3}, {10, 6}, ink);
    EXPECT_EQ(p.Get(2, 3), ink);
    EXPECT_EQ(p.Get(10, 6), ink);
    EXPECT_EQ(p.Get(5, 4), ink); // 3 + 3 * 3/8 = 4.125
    VyArtPreview::DrawLine(p, {15, 18}, {14, 2}, ink);
    EXPECT_EQ(p.Get(15, 18), ink);
    EXPECT_EQ(p.Get(14, 2), ink);

    // The outline of square 1 is drawn as loaded, one pixel wider and one pixel narrower.
    VyArtPicture window(VY_ART_WINDOW.cx, VY_ART_WINDOW.cy);
    VyArtPreview::DrawHighlight(window, ClassicSquares()[0]);
    for (VyPoint corner : {VyPoint{8, 260}, VyPoint{7, 260}, VyPoint{9, 260}, VyPoint{45, 205}, VyPoint{80, 291}})
        EXPECT_EQ(window.Get(corner.x, corner.y), VY_ART_SELECT_COLOR) << corner.x << "," << corner.y;
    EXPECT_EQ(window.Get(57, 244), (VyArtRgb{}));
}

TEST(VyArtPixelCanvas, ShapesAndOutlines)
{
    VyArtPixelCanvas canvas(7, 7);
    canvas.FillRect(3, 3, 4, 4, 1);
    canvas.OutlineAll(2);
    int outline = 0;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            outline += canvas.At(x, y) == 2;
    EXPECT_EQ(outline, 8);

    // Pixel centres decide: a triangle over the lower left half of a 4 x 4 block.
    VyArtPixelCanvas triangle(4, 4);
    triangle.FillPolygon({{0, 0}, {0, 4}, {4, 4}}, 1);
    EXPECT_EQ(triangle.At(0, 3), 1);
    EXPECT_EQ(triangle.At(3, 0), 0);
    // Design rows run downwards; the picture's rows upwards.
    VyArtPicture picture = triangle.ToPicture({VY_ART_MASK, {255, 255, 255}});
    EXPECT_EQ(picture.Get(0, 0), (VyArtRgb{255, 255, 255}));
    EXPECT_EQ(picture.Get(3, 3), VY_ART_MASK);
}

TEST(VyArtNoise, PeriodicNoiseAndStoneWrap)
{
    for (double x : {0.3, 2.7, 5.5})
        for (double y : {0.1, 3.9})
        {
            EXPECT_NEAR(VyArtNoise::Gradient2(x, y, 4, 4, 9u), VyArtNoise::Gradient2(x + 4.0, y - 8.0, 4, 4, 9u), 1e-12);
            EXPECT_NEAR(VyArtNoise::Fbm2(x, y, 4, 4, 9u), VyArtNoise::Fbm2(x - 4.0, y + 4.0, 4, 4, 9u), 1e-12);
        }
    VyArtStoneStyle stone{SrgbColor(200, 200, 200), SrgbColor(180, 180, 180), SrgbColor(100, 100, 100),
                          0.6, 0.25, 0.0, 1.6, 3u};
    VyArtVec3 a = StoneAlbedo(1.3, 2.2, stone, 8);
    VyArtVec3 b = StoneAlbedo(9.3, -5.8, stone, 8);
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.z, b.z, 1e-9);
    EXPECT_EQ(VyArtNoise::Hash(1, 2, 3, 4u), VyArtNoise::Hash(1, 2, 3, 4u));
    EXPECT_NE(VyArtNoise::Hash(1, 2, 3, 4u), VyArtNoise::Hash(1, 2, 3, 5u));
}

TEST(VyArtFiles, BitmapsReadBackExactly)
{
    VyTestDir dir;
    ASSERT_FALSE(dir.Path().empty());
    VyArtPicture picture(3, 2);
    picture.Set(0, 0, {1, 2, 3});
    picture.Set(2, 1, {250, 128, 7});
    VyString path = dir.File("nested/folder/p.bmp");
    VyArtFiles::SaveBitmap(picture, path);
    EXPECT_EQ(VyArtFiles::LoadBitmap(path), picture);
    EXPECT_EQ(std::filesystem::file_size(std::string(path)), 54u + 2 * 12u);
}
