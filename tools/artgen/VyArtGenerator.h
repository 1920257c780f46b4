#pragma once

#include <array>
#include <cstdio>
#include <vector>

#include "artgen/VyArtBoard.h"
#include "artgen/VyArtCamera.h"
#include "artgen/VyArtChecks.h"
#include "artgen/VyArtLight.h"
#include "artgen/VyArtPieceRenderer.h"

// Draws every picture the game ships, checks them and writes them as BMP files. The camera comes
// from the square table, and the board and the pieces share it and one light. Everything is
// computed in one thread from fixed numbers, so two runs give the same bytes.
class VyArtGenerator
{
public:
    explicit VyArtGenerator(FILE* log);

    // Writes the archive's layout into outDir: sets/classic (board and pieces), sets/squares (its
    // board, marked for the 2 x 2 blocks; the pieces are the classic set's), cursors, bitmaps; and
    // beside it the desktop's icons, icons/<side>x<side>/tolmar.png, which the install takes.
    // Returns the problems the checks found (nothing is hidden: the files are written regardless).
    std::vector<VyString> WriteAll(const VyString& outDir);
    // Writes a 640 x 480 picture of the game window in the middle of a game.
    std::vector<VyString> WritePreview(const VyString& path);

private:
    const VyArtPicture& Board();
    const VyArtPicture& SquaresBoard();
    // Draws a board once into picture and checks it; the checks' lines start with what.
    const VyArtPicture& DrawBoard(const VyArtBoard& board, VyArtPicture& picture, const char* what);
    const std::array<VyArtPicture, VY_ART_PIECES>& Pieces();
    void Save(const VyArtPicture& picture, const VyString& path);
    // Writes a PNG with its coverage and reads it back, as Save does for bitmaps.
    void SavePng(const VyArtImage& image, const VyString& path);
    void Report(const char* what, const VyArtChecks::Result& result);

    FILE* m_pLog;
    VyArtCamera m_camera;
    VyArtLight m_light;
    VyArtBoard m_board;
    VyArtBoard m_squaresBoard;
    VyArtPieceRenderer m_pieceRenderer;
    VyArtPicture m_boardPicture;
    VyArtPicture m_squaresBoardPicture;
    std::array<VyArtPicture, VY_ART_PIECES> m_pieces;
    bool m_bPiecesDrawn = false;
    std::vector<VyString> m_problems;
};
