#include <gtest/gtest.h>

#include "ArtScene.h"
#include "artgen/VyArtBoard.h"
#include "artgen/VyArtChecks.h"
#include "artgen/VyArtPieceModel.h"
#include "artgen/VyArtPieceRenderer.h"

TEST(VyArtCamera, WarpedViewPassesThroughEverySquareCorner)
{
    ArtScene scene;
    VyArtLattice lattice = ClassicLattice();
    // The table's points are measured to the pixel: the pinhole alone misses them by about a pixel.
    EXPECT_GT(scene.camera.MaxResidual(), 0.1);
    EXPECT_LT(scene.camera.MaxResidual(), 2.0);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
        {
            VyArtVec2 p = scene.camera.ProjectWarped({double(j), double(i), 0.0});
            EXPECT_NEAR(p.x, lattice[i][j].x, 0.05) << i << "," << j;
            EXPECT_NEAR(p.y, lattice[i][j].y, 0.05) << i << "," << j;
            // The ray the picture shows at that point meets the board at the corner.
            VyArtVec3 origin = scene.camera.Position();
            VyArtVec3 dir = scene.camera.RayDirection(lattice[i][j]);
            double t = -origin.z / dir.z;
            EXPECT_NEAR(origin.x + dir.x * t, j, 2e-3);
            EXPECT_NEAR(origin.y + dir.y * t, i, 2e-3);
        }
    EXPECT_GT(scene.camera.ElevationDegrees(), 30.0);
    EXPECT_LT(scene.camera.ElevationDegrees(), 70.0);
}

TEST(VyArtBoard, HighlightOutlinesLieOnTheBorderAndFitTheRectangle)
{
    ArtScene scene;
    VyArtBoard board(scene.camera, scene.light);
    VyArtChecks::Result result = VyArtChecks::CheckOutlinesOnBorder(board);
    EXPECT_GT(result.checked, 16 * 4 * 3 * 40);
    EXPECT_TRUE(result.problems.empty()) << result.problems.front();
    // The slab stays inside the board rectangle; beyond it is backdrop all round.
    for (int x = 0; x < VY_ART_BOARD_SIZE.cx; x += 7)
    {
        EXPECT_EQ(board.PartAt({x + 0.5, 0.5}), VyArtBoardPart::Backdrop) << x;
        EXPECT_EQ(board.PartAt({x + 0.5, VY_ART_BOARD_SIZE.cy - 0.5}), VyArtBoardPart::Backdrop) << x;
    }
    for (int y = 0; y < VY_ART_BOARD_SIZE.cy; y += 7)
    {
        EXPECT_EQ(board.PartAt({0.5, y + 0.5}), VyArtBoardPart::Backdrop) << y;
        EXPECT_EQ(board.PartAt({VY_ART_BOARD_SIZE.cx - 0.5, y + 0.5}), VyArtBoardPart::Backdrop) << y;
    }
}

TEST(VyArtBoard, TheBlockMarksAreNineBrassStudsOnTheBorderWhereFourSquaresMeet)
{
    ArtScene scene;
    VyArtBoard plain(scene.camera, scene.light);
    VyArtBoard marked(scene.camera, scene.light, VyArtBoardMarks::BlockCentres);
    auto same = [&](double u, double v) {
        VyArtVec2 p = scene.camera.ProjectWarped({u, v, 0.0});
        VyArtVec3 a = plain.Shade(p), b = marked.Shade(p);
        return a.x == b.x && a.y == b.y && a.z == b.z;
    };
    for (int i = 0; i <= 4; ++i)
        for (int j = 0; j <= 4; ++j)
        {
            VyArtVec2 p = scene.camera.ProjectWarped({double(j), double(i), 0.0});
            EXPECT_EQ(marked.PartAt(p), VyArtBoardPart::Border) << i << "," << j;
            const bool inner = i > 0 && i < 4 && j > 0 && j < 4;
            EXPECT_EQ(same(j, i), !inner) << "a stud where four squares meet, none on the rim: " << i << "," << j;
            if (inner)
            {
                VyArtVec3 c = marked.Shade(p);
                EXPECT_TRUE(c.x > c.y && c.y > c.z) << "brass: " << i << "," << j;
            }
            // A little way off the crossing along a border, and inside a square, the boards agree.
            EXPECT_TRUE(same(j + 0.2, i)) << i << "," << j;
            if (i < 4 && j < 4)
            {
                EXPECT_TRUE(same(j + 0.5, i + 0.5)) << i << "," << j;
            }
        }
}

TEST(VyArtPieceModel, SizesFillThePicturesAndKeepHeightsEqual)
{
    ArtScene scene;
    VyArtPieceRenderer renderer(scene.camera, scene.light);
    const VyArtView& view = renderer.View();
    double tall = -1.0, shortHeight = -1.0;
    for (const VyArtPieceDef& piece : ClassicPieces())
    {
        VyArtPieceSize size = VyArtPieceModel::FitSize(piece, view);
        VyArtPieceModel model(piece, size);
        VySize picture = PiecePictureSize(piece);
        VyPoint anchor = PieceAnchor(piece);
        double fx = anchor.x + 0.5, fy = anchor.y + 0.5;
        EXPECT_LE(model.Reach(view.right), picture.cx - fx - 1.0 + 1e-6);
        EXPECT_LE(model.Reach(-view.right), fx - 1.0 + 1e-6);
        EXPECT_LE(model.Reach(view.up), picture.cy - fy - 1.0 + 1e-6);
        EXPECT_LE(model.Reach(-view.up), fy - 1.0 + 1e-6);
        double& height = piece.tall ? tall : shortHeight;
        if (height < 0.0)
            height = size.height;
        EXPECT_DOUBLE_EQ(size.height, height) << "piece" << piece.fileNumber;
        // Solid at the foot's middle, hollow at the top's middle exactly when dimpled.
        EXPECT_LT(model.Distance({0.0, 0.0, 1.0}), 0.0);
        double top = model.Distance({0.0, 0.0, size.height - 1.0});
        EXPECT_EQ(top > 0.0, piece.dimpled) << "piece" << piece.fileNumber;
    }
    EXPECT_GT(tall, 1.5 * shortHeight);
}
