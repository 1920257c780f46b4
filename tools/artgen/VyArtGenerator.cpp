#include "artgen/VyArtGenerator.h"

#include "artgen/VyArtCursors.h"
#include "artgen/VyArtFiles.h"
#include "artgen/VyArtIcons.h"
#include "artgen/VyArtPng.h"
#include "artgen/VyArtPreview.h"
#include "artgen/VyArtTitle.h"

namespace
{
constexpr int VY_BOARD_SAMPLES = 4; // per file pixel and axis
constexpr int VY_PIECE_SAMPLES = 5; // per picture pixel and axis
} // namespace

VyArtGenerator::VyArtGenerator(FILE* log)
    : m_pLog(log), m_camera(VyArtCamera::Fit(ClassicLattice())), m_light(VyArtLight::ForCamera(m_camera)),
      m_board(m_camera, m_light), m_squaresBoard(m_camera, m_light, VyArtBoardMarks::BlockCentres),
      m_pieceRenderer(m_camera, m_light)
{
    std::fprintf(m_pLog,
                 "camera: focal length %.1f px, principal point %.1f, %.1f, elevation %.1f degrees, %.1f px per "
                 "square; largest corner residual %.2f px (taken up by the warp)\n",
                 m_camera.FocalLength(), m_camera.PrincipalPoint().x, m_camera.PrincipalPoint().y,
                 m_camera.ElevationDegrees(), m_camera.PixelsPerUnit(), m_camera.MaxResidual());
    std::fprintf(m_pLog, "board: rim %.3f, thickness %.3f squares\n", m_board.Margin(), m_board.Thickness());
}

void VyArtGenerator::Report(const char* what, const VyArtChecks::Result& result)
{
    std::fprintf(m_pLog, "check %s: %d looked at, %zu problems\n", what, result.checked, result.problems.size());
    for (const VyString& problem : result.problems)
    {
        std::fprintf(m_pLog, "  %s\n", problem.c());
        m_problems.push_back(problem);
    }
}

const VyArtPicture& VyArtGenerator::Board()
{
    return DrawBoard(m_board, m_boardPicture, "board");
}

const VyArtPicture& VyArtGenerator::SquaresBoard()
{
    return DrawBoard(m_squaresBoard, m_squaresBoardPicture, "squares board");
}

const VyArtPicture& VyArtGenerator::DrawBoard(const VyArtBoard& board, VyArtPicture& picture, const char* what)
{
    if (picture.Width() > 0)
        return picture;
    picture = board.Render(VY_ART_BOARD_FILE.cx, VY_ART_BOARD_FILE.cy, VY_BOARD_SAMPLES).ToPicture();
    VyArtPicture shown = picture.Stretched(VY_ART_BOARD_SIZE.cx, VY_ART_BOARD_SIZE.cy);
    auto report = [this, what](const char* check, const VyArtChecks::Result& result) {
        Report(VyString::Format("%s %s", what, check).c(), result);
    };
    report("file edges against the window background", VyArtChecks::CheckBackdropEdges(picture));
    report("as drawn, edges against the window background", VyArtChecks::CheckBackdropEdges(shown));
    report("highlight outlines on the border (scene)", VyArtChecks::CheckOutlinesOnBorder(board));
    report("highlight outlines on the border (drawn board)", VyArtChecks::CheckOutlinesInPicture(shown));
    return picture;
}

const std::array<VyArtPicture, VY_ART_PIECES>& VyArtGenerator::Pieces()
{
    if (m_bPiecesDrawn)
        return m_pieces;
    for (int n = 1; n <= VY_ART_PIECES; ++n)
    {
        const VyArtPieceDef& piece = ClassicPieceByFile(n);
        m_pieces[n - 1] = m_pieceRenderer.Render(piece, VY_PIECE_SAMPLES).ToKeyedPicture(VY_ART_MASK);
        VyString what = VyString::Format("piece%d.bmp", n);
        Report(what.c(), VyArtChecks::CheckPiece(piece, m_pieces[n - 1]));
        Report(VyString(what + " pin holes").c(), VyArtChecks::CheckNoPinholes(what, m_pieces[n - 1], VY_ART_MASK));
    }
    m_bPiecesDrawn = true;
    return m_pieces;
}

void VyArtGenerator::Save(const VyArtPicture& picture, const VyString& path)
{
    VyArtFiles::SaveBitmap(picture, path);
    // Read it back through the framework's reader: the file must hold exactly the picture.
    bool same = VyArtFiles::LoadBitmap(path) == picture;
    std::fprintf(m_pLog, "wrote %s (%d x %d)%s\n", path.c(), picture.Width(), picture.Height(),
                 same ? "" : " - READ BACK DIFFERENTLY");
    if (!same)
        m_problems.push_back(path + " reads back differently");
}

void VyArtGenerator::SavePng(const VyArtImage& image, const VyString& path)
{
    VyArtPng::Save(image, path);
    int width = 0;
    int height = 0;
    const bool same = VyArtPng::Load(path, width, height) == VyArtPng::Pixels(image) && width == image.Width() &&
                      height == image.Height();
    std::fprintf(m_pLog, "wrote %s (%d x %d)%s\n", path.c(), image.Width(), image.Height(),
                 same ? "" : " - READ BACK DIFFERENTLY");
    if (!same)
        m_problems.push_back(path + " reads back differently");
}

std::vector<VyString> VyArtGenerator::WriteAll(const VyString& outDir)
{
    VyString sets = outDir + "/sets/classic/";
    Save(Board(), sets + "board.bmp");
    for (int n = 1; n <= VY_ART_PIECES; ++n)
        Save(Pieces()[n - 1], sets + VyString::Format("piece%d.bmp", n));
    // The squares set takes its pieces from the classic set's folder ([General] SharedPictures).
    Save(SquaresBoard(), outDir + "/sets/squares/board.bmp");

    for (const VyArtCursor& cursor : VyArtCursors::DrawAll())
    {
        Report(cursor.fileName.c(), VyArtChecks::CheckCursor(cursor));
        Save(cursor.picture, outDir + "/cursors/" + cursor.fileName);
    }

    VyString bitmaps = outDir + "/bitmaps/";
    VyArtPicture icon = VyArtIcons::WindowIcon(m_pieceRenderer);
    Report("icon.bmp pin holes", VyArtChecks::CheckNoPinholes("icon.bmp", icon, VY_ART_MASK));
    Save(icon, bitmaps + "icon.bmp");
    for (int size : VyArtIcons::VY_DESKTOP_ICON_SIZES)
        SavePng(VyArtIcons::DesktopIcon(m_pieceRenderer, size),
                outDir + VyString::Format("/icons/%dx%d/tolmar.png", size, size));
    Save(VyArtIcons::ClosedFolder(), bitmaps + "closedfolder.bmp");
    Save(VyArtIcons::File(), bitmaps + "file.bmp");
    VyArtPicture title = VyArtTitle::Draw(m_pieceRenderer);
    Report("title.bmp pin holes", VyArtChecks::CheckNoPinholes("title.bmp", title, VY_ART_WHITE));
    Save(title, bitmaps + "title.bmp");
    VyArtPicture marble = VyArtMarble::Draw();
    Report("marble.bmp joins itself", VyArtChecks::CheckTileable(marble));
    Save(marble, bitmaps + "marble.bmp");
    return m_problems;
}

std::vector<VyString> VyArtGenerator::WritePreview(const VyString& path)
{
    Save(VyArtPreview::Compose(Board(), Pieces(), VyArtPreview::DefaultScene()), path);
    return m_problems;
}
