#include "artgen/VyArtClassicSet.h"

#include <cstdlib>

#include "vyio/VyConfigFile.h"
#include "vyio/VyFile.h"
#include "vythread/VyException.h"
#include "vyutil/VyStringHelper.h"

namespace
{
// The layout comes from the hand-written set file the game loads, so the pictures always fit the set.
struct VyArtLayout
{
    std::array<VyArtSquareDef, VY_ART_SQUARES> squares;
    std::array<VyArtPieceDef, VY_ART_PIECES> pieces;
};

// The set file to read and, once read, its layout.
struct VyArtLayoutSource
{
    VyString path = TOLMAR_CLASSIC_SET_FILE;
    bool bRead = false;
    VyArtLayout layout;
};

VyArtLayoutSource& Source()
{
    static VyArtLayoutSource source;
    return source;
}

const VyString& SetFilePath()
{
    return Source().path;
}

[[noreturn]] void Fail(const VyString& message)
{
    throw VyException("VyArtClassicSet", "Read", message, SetFilePath());
}

VyString Need(VyConfigFile& set, const VyString& section, const VyString& key)
{
    VyString value = set.GetString(section, key, "");
    if (value.empty())
        Fail("Missing [" + section + "]." + key);
    return value;
}

bool Is(VyConfigFile& set, const VyString& section, const VyString& key, const char* first, const char* second)
{
    VyString value = Need(set, section, key);
    if (value != first && value != second)
        Fail("Unknown value [" + section + "]." + key + "=" + value);
    return value == first;
}

void FailNotDrawnFor(const VyString& section, const VyString& key, const VyString& value)
{
    Fail("The art is not drawn for [" + section + "]." + key + "=" + value);
}

// A point (or a size) that the pictures are drawn for, read as the game reads it.
void RequirePoint(VyConfigFile& set, const VyString& section, const VyString& key, VyPoint drawnFor)
{
    VyString value = Need(set, section, key);
    if (VyStringHelper::ParsePoint(value) != drawnFor)
        FailNotDrawnFor(section, key, value);
}

// A colour that the pictures are drawn for: three numbers, as the game reads them.
void RequireColour(const VyString& section, const VyString& key, const VyString& value, VyArtRgb drawnFor)
{
    uint32_t rgb = 0;
    const uint32_t expected = uint32_t{drawnFor.r} << 16 | uint32_t{drawnFor.g} << 8 | drawnFor.b;
    if (!VyStringHelper::ParseRgb(VyStringHelper::Split(value), rgb) || rgb != expected)
        FailNotDrawnFor(section, key, value);
}

// The board rectangle, the chosen piece's place and the mask colour the pictures are drawn for. A set
// file without ColorMask gets the game's default, the art's mask colour.
void RequireGeneral(VyConfigFile& set)
{
    RequirePoint(set, "General", "BoardSize", {VY_ART_BOARD_SIZE.cx, VY_ART_BOARD_SIZE.cy});
    RequirePoint(set, "General", "ChosenPos", VY_ART_CHOSEN_POS);
    const VyString mask = set.GetString("General", "ColorMask", "");
    if (!mask.empty())
        RequireColour("General", "ColorMask", mask, VY_ART_MASK);
}

VyArtLayout ReadLayout()
{
    VyFile file(VY_IO_READ);
    if (!file.Open(SetFilePath(), VY_FILE_READ))
        Fail("Could not open the set file");
    VyConfigFile set(SetFilePath(), file); // read-only: nothing is ever written back
    if (set.GetInt("General", "NumberOfSquares", 0) != VY_ART_SQUARES ||
        set.GetInt("General", "NumberOfPieces", 0) != VY_ART_PIECES)
        Fail("The art is drawn for 16 squares and 16 pieces");
    RequireGeneral(set);

    VyArtLayout layout;
    for (int n = 0; n < VY_ART_SQUARES; ++n)
    {
        VyString section = VyString::Format("Square%d", n + 1);
        VyArtSquareDef& square = layout.squares[n];
        square.center = VyStringHelper::ParsePoint(Need(set, section, "Center"));
        square.left = VyStringHelper::ParsePoint(Need(set, section, "Left"));
        square.top = VyStringHelper::ParsePoint(Need(set, section, "Top"));
        square.right = VyStringHelper::ParsePoint(Need(set, section, "Right"));
        square.bottom = VyStringHelper::ParsePoint(Need(set, section, "Bottom"));
        RequireColour(section, "SelectColor", Need(set, section, "SelectColor"), VY_ART_SELECT_COLOR);
    }
    std::array<bool, VY_ART_PIECES> fileUsed{};
    for (int n = 0; n < VY_ART_PIECES; ++n)
    {
        VyString section = VyString::Format("Piece%d", n + 1);
        VyArtPieceDef& piece = layout.pieces[n];
        VyString bitmap = Need(set, section, "Bitmap");
        piece.fileNumber = bitmap.rfind("piece", 0) == 0 ? std::atoi(bitmap.c_str() + 5) : 0;
        if (piece.fileNumber < 1 || piece.fileNumber > VY_ART_PIECES || fileUsed[piece.fileNumber - 1] ||
            bitmap != VyString::Format("piece%d.bmp", piece.fileNumber))
            Fail("Piece pictures must be piece1.bmp to piece16.bmp, each once: [" + section + "].Bitmap=" + bitmap);
        fileUsed[piece.fileNumber - 1] = true;
        piece.start = VyStringHelper::ParsePoint(Need(set, section, "Start"));
        piece.dark = Is(set, section, "Color", "Dark", "White");
        piece.tall = Is(set, section, "Height", "Tall", "Short");
        piece.round = Is(set, section, "Shape", "Round", "Square");
        piece.dimpled = Is(set, section, "Top", "Dimpled", "Flat");
        RequirePoint(set, section, "Center", PieceAnchor(piece));
    }
    return layout;
}

const VyArtLayout& Layout()
{
    VyArtLayoutSource& source = Source();
    if (!source.bRead)
    {
        source.layout = ReadLayout();
        source.bRead = true;
    }
    return source.layout;
}
} // namespace

void UseClassicSetFile(const VyString& path)
{
    Source().path = path;
    Source().bRead = false;
}

const std::array<VyArtSquareDef, VY_ART_SQUARES>& ClassicSquares()
{
    return Layout().squares;
}

const std::array<VyArtPieceDef, VY_ART_PIECES>& ClassicPieces()
{
    return Layout().pieces;
}

const VyArtPieceDef& ClassicPieceByFile(int fileNumber)
{
    for (const VyArtPieceDef& piece : ClassicPieces())
        if (piece.fileNumber == fileNumber)
            return piece;
    return ClassicPieces()[0];
}

VySize PiecePictureSize(const VyArtPieceDef& piece)
{
    if (piece.round)
        return {49, piece.tall ? 112 : 76};
    return {59, piece.tall ? 119 : 87};
}

VyPoint PieceAnchor(const VyArtPieceDef& piece)
{
    return piece.round ? VyPoint{25, 15} : VyPoint{30, 24};
}

VyArtLattice ClassicLattice()
{
    VyArtLattice sum{};
    int count[5][5] = {};
    auto add = [&](int i, int j, VyPoint p) {
        sum[i][j].x += p.x;
        sum[i][j].y += p.y;
        ++count[i][j];
    };
    for (int n = 0; n < VY_ART_SQUARES; ++n)
    {
        const VyArtSquareDef& s = ClassicSquares()[n];
        int row = n / 4, col = n % 4;
        add(row, col, s.left);
        add(row, col + 1, s.top);
        add(row + 1, col + 1, s.right);
        add(row + 1, col, s.bottom);
    }
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
        {
            sum[i][j].x = sum[i][j].x / count[i][j] + 0.5;
            sum[i][j].y = sum[i][j].y / count[i][j] + 0.5;
        }
    return sum;
}
