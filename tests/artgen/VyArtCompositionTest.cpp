#include <gtest/gtest.h>

#include "ArtScene.h"
#include "artgen/VyArtBoard.h"
#include "artgen/VyArtChecks.h"
#include "artgen/VyArtCursors.h"
#include "artgen/VyArtLettering.h"
#include "artgen/VyArtPieceModel.h"
#include "artgen/VyArtPieceRenderer.h"
#include "artgen/VyArtPreview.h"

namespace
{
// A lattice seen through a known pinhole camera looking down at the middle of the grid.
VyArtLattice SyntheticLattice(double focal, double elevationDegrees, double azimuthDegrees, double distance)
{
    double e = elevationDegrees * VY_ART_PI / 180.0, a = azimuthDegrees * VY_ART_PI / 180.0;
    VyArtVec3 toCamera{std::cos(e) * std::cos(a), std::cos(e) * std::sin(a), std::sin(e)};
    VyArtVec3 forward = -toCamera;
    VyArtVec3 right = Normalized(Cross(forward, {0, 0, 1}));
    VyArtVec3 up = Cross(right, forward);
    VyArtVec3 eye = VyArtVec3{2, 2, 0} + toCamera * distance;
    VyArtLattice lattice;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
        {
            VyArtVec3 d = VyArtVec3{double(j), double(i), 0.0} - eye;
            double depth = Dot(d, forward);
            lattice[i][j] = {240.0 + focal * Dot(d, right) / depth, 200.0 + focal * Dot(d, up) / depth};
        }
    return lattice;
}

// A stand-in piece picture: mask all round, a block of one colour around the anchor.
VyArtPicture MarkedPiece(const VyArtPieceDef& piece, VyArtRgb color)
{
    VySize size = PiecePictureSize(piece);
    VyPoint anchor = PieceAnchor(piece);
    VyArtPicture picture(size.cx, size.cy, VY_ART_MASK);
    for (int y = anchor.y - 8; y <= anchor.y + 60; ++y)
        for (int x = anchor.x - 20; x <= anchor.x + 20; ++x)
            picture.Set(x, y, color);
    return picture;
}

VyArtRgb PieceColor(int pieceIndex)
{
    return {uint8_t(10 + pieceIndex), 200, 100};
}
} // namespace

TEST(VyArtCamera, RecoversAKnownCamera)
{
    VyArtCamera camera = VyArtCamera::Fit(SyntheticLattice(1500.0, 45.0, -60.0, 20.0));
    EXPECT_NEAR(camera.FocalLength(), 1500.0, 15.0);
    EXPECT_NEAR(camera.ElevationDegrees(), 45.0, 0.5);
    EXPECT_LT(camera.MaxResidual(), 0.05);
    EXPECT_NEAR(camera.PrincipalPoint().x, 240.0, 3.0);
    EXPECT_NEAR(camera.PrincipalPoint().y, 200.0, 3.0);
}

TEST(VyArtPieceModel, ReachIsTheFarthestPointOfTheShape)
{
    ArtScene scene;
    VyArtPieceRenderer renderer(scene.camera, scene.light);
    const VyArtView& view = renderer.View();
    for (int fileNumber : {3, 8, 13})
    {
        const VyArtPieceDef& piece = ClassicPieceByFile(fileNumber);
        VyArtPieceModel model(piece, VyArtPieceModel::FitSize(piece, view));
        for (VyArtVec3 d : {view.right, -view.right, view.up, -view.up, VyArtVec3{0.6, -0.8, 0.0}})
        {
            double reach = model.Reach(d), farthest = -1e9;
            for (double z = 0.0; z <= model.Size().height; z += 0.5)
                for (double y = -30.0; y <= 30.0; y += 0.5)
                    for (double x = -30.0; x <= 30.0; x += 0.5)
                        if (model.Distance({x, y, z}) < 0.0)
                            farthest = std::max(farthest, x * d.x + y * d.y + z * d.z);
            EXPECT_LE(farthest, reach + 0.05) << "piece" << fileNumber;
            EXPECT_GE(farthest, reach - 1.0) << "piece" << fileNumber;
        }
    }
}

TEST(VyArtPreview, PiecesStandOnCentresInStackingOrder)
{
    VyArtPicture board(VY_ART_BOARD_FILE.cx, VY_ART_BOARD_FILE.cy, {60, 60, 60});
    board.Set(0, 0, {7, 8, 9});
    std::array<VyArtPicture, VY_ART_PIECES> pieces;
    for (int i = 0; i < VY_ART_PIECES; ++i)
        pieces[ClassicPieces()[i].fileNumber - 1] = MarkedPiece(ClassicPieces()[i], PieceColor(i));
    VyArtPreviewScene scene;
    scene.placed = {{4, 4}, {2, 0}}; // piece 5 on square 5, piece 3 on square 1
    scene.chosenPiece = 9;
    VyArtPicture window = VyArtPreview::Compose(board, pieces, scene);

    EXPECT_EQ(window.Get(600, 470), (VyArtRgb{7, 8, 9})); // right of and above the board: pixel (0, 0)
    EXPECT_EQ(window.Get(57, 244), PieceColor(2));        // square 1's Center
    EXPECT_EQ(window.Get(94, 190), PieceColor(4));        // square 5's Center
    // Square 5 lies nearer the viewer and is drawn later: where the blocks overlap it covers square 1.
    EXPECT_EQ(window.Get(75, 240), PieceColor(4));
    // Pieces off the board stand at their start; the chosen one at the chosen position.
    const VyArtPieceDef& sixth = ClassicPieces()[5];
    EXPECT_EQ(window.Get(sixth.start.x + 25, sixth.start.y + 15), PieceColor(5));
    EXPECT_EQ(window.Get(VY_ART_CHOSEN_POS.x, VY_ART_CHOSEN_POS.y), PieceColor(9));
}

TEST(VyArtImage, KeyedPicturesAndCoverage)
{
    VyArtImage image(3, 1, SrgbColor(0, 0, 255), 0.0);
    image.Set(1, 0, SrgbColor(0, 0, 255), 0.5);      // exactly the key: nudged off it
    image.Set(2, 0, SrgbColor(100, 50, 20), 0.49);   // under half covered: key
    VyArtPicture keyed = image.ToKeyedPicture(VY_ART_MASK);
    EXPECT_EQ(keyed.Get(0, 0), VY_ART_MASK);
    EXPECT_EQ(keyed.Get(1, 0), (VyArtRgb{0, 0, 254}));
    EXPECT_EQ(keyed.Get(2, 0), VY_ART_MASK);

    VyArtImage base(1, 1, SrgbColor(200, 0, 0), 0.0);
    VyArtImage over(1, 1, SrgbColor(0, 200, 0), 0.5);
    base.DrawOver(over, 0, 0);
    EXPECT_DOUBLE_EQ(base.Coverage(0, 0), 0.5);
    EXPECT_EQ(ToRgb(base.Color(0, 0)), (VyArtRgb{0, 200, 0}));
    base.DrawOver(over, 0, 0);
    EXPECT_DOUBLE_EQ(base.Coverage(0, 0), 0.75);
}

TEST(VyArtChecks, BoardAndHoleChecksFindFaults)
{
    VyArtPicture board(VY_ART_BOARD_SIZE.cx, VY_ART_BOARD_SIZE.cy, {120, 80, 50}); // wood everywhere
    for (const VyArtSquareDef& s : ClassicSquares())
        board.Set(s.center.x, s.center.y, {80, 120, 90});
    EXPECT_TRUE(VyArtChecks::CheckOutlinesInPicture(board).problems.empty());
    EXPECT_TRUE(VyArtChecks::CheckBackdropEdges(board).problems.empty());
    board.Set(8, 260, {80, 120, 90}); // stone under square 1's Left corner
    board.Set(489, 100, {1, 1, 1});
    EXPECT_EQ(VyArtChecks::CheckOutlinesInPicture(board).problems.size(), 1u);
    EXPECT_EQ(VyArtChecks::CheckBackdropEdges(board).problems.size(), 1u);

    VyArtPicture picture(20, 20, VY_ART_WHITE);
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 18; ++x)
            picture.Set(x, y, {90, 60, 30});
    for (int y = 5; y < 9; ++y) // an enclosed counter, like the inside of an "o"
        for (int x = 5; x < 9; ++x)
            picture.Set(x, y, VY_ART_WHITE);
    EXPECT_TRUE(VyArtChecks::CheckNoPinholes("t", picture, VY_ART_WHITE).problems.empty());
    picture.Set(14, 14, VY_ART_WHITE);
    EXPECT_EQ(VyArtChecks::CheckNoPinholes("t", picture, VY_ART_WHITE).problems.size(), 1u);
}

TEST(VyArtBoard, BackdropMeetsTheWindowFillAtTheEdges)
{
    ArtScene scene;
    VyArtBoard board(scene.camera, scene.light);
    VyArtPicture small = board.Render(98, 80, 1).ToPicture();
    EXPECT_TRUE(VyArtChecks::CheckBackdropEdges(small).problems.empty());
    EXPECT_EQ(small.Get(0, 0), ToRgb(board.BackdropColor()));
}

TEST(VyArtCursors, CentredCursorsAreCentredOnTheirHotSpot)
{
    // Hot spot (12, 12) from the top left: the drawings mirror about column 12 and row 12.
    for (const VyArtPicture& cursor : {VyArtCursors::NorthSouth(), VyArtCursors::EastWest(), VyArtCursors::IBeam()})
        for (int y = 0; y < VY_ART_CURSOR_SIZE; ++y)
            for (int x = 0; x < VY_ART_CURSOR_SIZE; ++x)
            {
                // Column x mirrors to 24 - x; row t from the top to 24 - t, which in the bottom-up
                // picture takes row y to 22 - y. The left column and the top row stay empty.
                if (x == 0 || y == VY_ART_CURSOR_SIZE - 1)
                {
                    ASSERT_EQ(cursor.Get(x, y), VY_ART_MASK) << x << "," << y;
                    continue;
                }
                ASSERT_EQ(cursor.Get(x, y), cursor.Get(VY_ART_CURSOR_SIZE - x, y)) << x << "," << y;
                ASSERT_EQ(cursor.Get(x, y), cursor.Get(x, VY_ART_CURSOR_SIZE - 2 - y)) << x << "," << y;
            }
}

TEST(VyArtLettering, LettersAreSolidOnTheirStrokesAndApartBetween)
{
    VyArtLettering text = VyArtLettering::Layout("Tolmar", {0.0, 0.0}, 40.0, 0.12, 0.04);
    EXPECT_LT(text.Distance({0.525 * 40.0, 20.0}), -3.0); // the T's stem
    EXPECT_LT(text.Distance({(1.25 + 0.475) * 40.0, 0.0}), 0.0); // the o's bottom
    EXPECT_GT(text.Distance({(1.25 + 0.475) * 40.0, 20.0}), 5.0); // inside the o
    EXPECT_GT(text.Distance({1.08 * 40.0, 20.0}), 0.0); // between T and o
    EXPECT_DOUBLE_EQ(VyArtLettering::Advance("Tx"), VyArtLettering::Advance("T"));
    EXPECT_DOUBLE_EQ(VyArtLettering::Advance("To"), 1.05 + 0.2 + 0.95);
}
