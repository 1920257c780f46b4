#pragma once

#include <array>

#include "artgen/VyArtMath.h"
#include "artgen/VyArtPicture.h"
#include "vythread/VyPoint.h"
#include "vythread/VySize.h"
#include "vythread/VyString.h"

// The layout of the shipped set "classic" the art is drawn for: board rectangle, squares, pieces.
// All points are game-window coordinates (x right, y up, origin at the lower-left corner). Squares
// and pieces are read from the set file the game itself loads (resources/sets/classic/classic.cfg
// unless UseClassicSetFile names another); a file the art cannot be drawn for (not 16 squares and 16
// pieces, a missing key, an unknown value, a board size, chosen position, mask colour, highlight
// colour or piece anchor other than the ones below) raises a VyException.

struct VyArtSquareDef
{
    VyPoint center; // where a piece's anchor goes
    VyPoint left, top, right, bottom; // the outline the highlight is drawn on
};

struct VyArtPieceDef
{
    int fileNumber; // pieceN.bmp
    VyPoint start;  // lower-left corner of the picture off the board
    bool dark;
    bool tall;
    bool round;
    bool dimpled;
};

constexpr int VY_ART_SQUARES = 16;
constexpr int VY_ART_PIECES = 16;
constexpr VySize VY_ART_BOARD_SIZE{490, 400}; // the rectangle the board picture is stretched over
constexpr VySize VY_ART_BOARD_FILE{512, 512}; // the board picture's own size
constexpr VySize VY_ART_WINDOW{640, 480};
constexpr VyPoint VY_ART_CHOSEN_POS{35, 40};
constexpr VyArtRgb VY_ART_SELECT_COLOR{255, 255, 0};

// Names the set file to read; the next of the calls below reads it.
void UseClassicSetFile(const VyString& path);

const std::array<VyArtSquareDef, VY_ART_SQUARES>& ClassicSquares();
// Pieces in set order (Piece1 ... Piece16).
const std::array<VyArtPieceDef, VY_ART_PIECES>& ClassicPieces();
// The piece whose picture is pieceN.bmp; N from 1 to 16.
const VyArtPieceDef& ClassicPieceByFile(int fileNumber);

// Picture size and anchor (offset of the foot's middle from the lower-left corner) of a piece.
VySize PiecePictureSize(const VyArtPieceDef& piece);
VyPoint PieceAnchor(const VyArtPieceDef& piece);

// The 5 x 5 corner points of the squares: lattice[i][j] is the corner between rows i - 1, i and
// columns j - 1, j (square n, from 0, has Left = [n / 4][n % 4], Top = [n / 4][n % 4 + 1],
// Right = [n / 4 + 1][n % 4 + 1], Bottom = [n / 4 + 1][n % 4]). Corners named by several squares
// with slightly different numbers are averaged. The points are pixel centres: the table's (x, y)
// names the pixel whose centre is (x + 0.5, y + 0.5), where an outline drawn through it lies.
using VyArtLattice = std::array<std::array<VyArtVec2, 5>, 5>;
VyArtLattice ClassicLattice();
