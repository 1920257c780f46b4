#include <gtest/gtest.h>

#include "ArtScene.h"
#include "artgen/VyArtChecks.h"
#include "artgen/VyArtCursors.h"
#include "artgen/VyArtIcons.h"
#include "artgen/VyArtPieceRenderer.h"

namespace
{
// A quickly drawn piece picture (two rays per pixel and axis) to damage in the tests.
VyArtPicture DrawPiece(const VyArtPieceDef& piece)
{
    ArtScene scene;
    VyArtPieceRenderer renderer(scene.camera, scene.light);
    return renderer.Render(piece, 2).ToKeyedPicture(VY_ART_MASK);
}

bool Mentions(const VyArtChecks::Result& result, const char* text)
{
    for (const VyString& problem : result.problems)
        if (problem.find(text) != std::string::npos)
            return true;
    return false;
}
} // namespace

TEST(VyArtChecks, PiecePicturesPassAndDamageIsFound)
{
    // A square piece with a dimple, and a round one.
    for (int fileNumber : {8, 11})
    {
        const VyArtPieceDef& piece = ClassicPieceByFile(fileNumber);
        VyArtPicture good = DrawPiece(piece);
        EXPECT_EQ(good, DrawPiece(piece)) << "drawing is not repeatable";
        VyArtChecks::Result result = VyArtChecks::CheckPiece(piece, good);
        EXPECT_TRUE(result.problems.empty()) << result.problems.front();

        VyPoint anchor = PieceAnchor(piece);
        VyArtPicture fringe = good;
        fringe.Set(anchor.x, anchor.y + 20, {30, 30, 220});
        EXPECT_TRUE(Mentions(VyArtChecks::CheckPiece(piece, fringe), "close to the mask colour"));

        VyArtPicture hole = good;
        hole.Set(anchor.x + 1, anchor.y - 1, VY_ART_MASK);
        EXPECT_TRUE(Mentions(VyArtChecks::CheckPiece(piece, hole), "hole in the foot"));

        VyArtPicture cut = good;
        cut.Set(0, anchor.y + 10, {200, 180, 150});
        EXPECT_TRUE(Mentions(VyArtChecks::CheckPiece(piece, cut), "touches the picture's edge"));

        VyArtPicture small(good.Width() - 1, good.Height(), VY_ART_MASK);
        EXPECT_TRUE(Mentions(VyArtChecks::CheckPiece(piece, small), "instead of"));
    }
}

TEST(VyArtChecks, NearBlueIsAroundTheMaskOnly)
{
    EXPECT_TRUE(VyArtChecks::IsNearBlue(VY_ART_MASK));
    EXPECT_TRUE(VyArtChecks::IsNearBlue({40, 40, 200}));
    EXPECT_FALSE(VyArtChecks::IsNearBlue({20, 14, 10}));   // dark wood
    EXPECT_FALSE(VyArtChecks::IsNearBlue({90, 110, 160})); // a cool highlight
}

TEST(VyArtChecks, CursorsAreCleanWithTheirHotSpotsOnTheDrawing)
{
    for (const VyArtCursor& cursor : VyArtCursors::DrawAll())
    {
        VyArtChecks::Result result = VyArtChecks::CheckCursor(cursor);
        EXPECT_TRUE(result.problems.empty()) << result.problems.front();
    }
    // The arrow's tip is the top-left pixel itself.
    VyArtPicture arrow = VyArtCursors::Arrow();
    EXPECT_EQ(arrow.Get(0, VY_ART_CURSOR_SIZE - 1), (VyArtRgb{0, 0, 0}));
    EXPECT_EQ(arrow.Get(VY_ART_CURSOR_SIZE - 1, 0), VY_ART_MASK);
}

TEST(VyArtChecks, MarbleRepeatsWithoutSeamAndASeamIsFound)
{
    VyArtPicture marble = VyArtMarble::Draw(64);
    VyArtChecks::Result result = VyArtChecks::CheckTileable(marble);
    EXPECT_TRUE(result.problems.empty()) << result.problems.front();

    VyArtPicture ramp(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ramp.Set(x, y, {uint8_t(100 + x), 120, 120});
    EXPECT_FALSE(VyArtChecks::CheckTileable(ramp).problems.empty());
}
