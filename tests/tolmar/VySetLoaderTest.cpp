#include <gtest/gtest.h>

#include <cstring>

#include "GameTestHost.h"
#include "TestSets.h"
#include "VySetLoader.h"
#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyPixelFormat.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
// The classic set as its tables give it.
struct ExpectedPiece
{
    const char* bitmap;
    VyPoint start;
    int color, height, shape, top; // value indices: Dark/White, Tall/Short, Round/Square, Dimpled/Flat
};
const ExpectedPiece PIECES[16] = {
    {"piece3.bmp", {582, 10}, 0, 0, 0, 0},   {"piece11.bmp", {552, 10}, 1, 0, 0, 0},
    {"piece1.bmp", {522, 10}, 0, 0, 0, 1},   {"piece9.bmp", {492, 10}, 1, 0, 0, 1},
    {"piece12.bmp", {582, 130}, 1, 1, 0, 0}, {"piece4.bmp", {552, 130}, 0, 1, 0, 0},
    {"piece10.bmp", {522, 130}, 1, 1, 0, 1}, {"piece2.bmp", {492, 130}, 0, 1, 0, 1},
    {"piece7.bmp", {582, 210}, 0, 0, 1, 0},  {"piece15.bmp", {552, 210}, 1, 0, 1, 0},
    {"piece5.bmp", {522, 210}, 0, 0, 1, 1},  {"piece13.bmp", {492, 210}, 1, 0, 1, 1},
    {"piece16.bmp", {582, 330}, 1, 1, 1, 0}, {"piece8.bmp", {552, 330}, 0, 1, 1, 0},
    {"piece14.bmp", {522, 330}, 1, 1, 1, 1}, {"piece6.bmp", {492, 330}, 0, 1, 1, 1},
};
// Center, Left, Top, Right, Bottom.
const VyPoint SQUARES[16][5] = {
    {{57, 244}, {8, 260}, {80, 290}, {117, 237}, {45, 206}},
    {{130, 275}, {80, 290}, {150, 320}, {188, 268}, {117, 237}},
    {{198, 305}, {150, 319}, {217, 348}, {256, 298}, {188, 268}},
    {{265, 333}, {217, 348}, {283, 376}, {324, 327}, {256, 298}},
    {{94, 190}, {45, 206}, {118, 238}, {157, 182}, {82, 149}},
    {{169, 222}, {117, 237}, {188, 268}, {228, 215}, {157, 182}},
    {{238, 252}, {188, 268}, {257, 299}, {298, 246}, {228, 214}},
    {{307, 284}, {256, 298}, {324, 327}, {366, 277}, {298, 246}},
    {{134, 135}, {82, 149}, {157, 182}, {197, 125}, {122, 90}},
    {{211, 169}, {156, 183}, {228, 215}, {271, 158}, {197, 125}},
    {{281, 201}, {228, 215}, {299, 247}, {341, 192}, {271, 158}},
    {{352, 233}, {297, 246}, {366, 277}, {410, 224}, {341, 192}},
    {{179, 75}, {122, 90}, {198, 125}, {241, 65}, {164, 27}},
    {{254, 108}, {197, 125}, {271, 158}, {314, 100}, {242, 65}},
    {{326, 143}, {271, 159}, {341, 192}, {386, 135}, {314, 100}},
    {{398, 179}, {341, 192}, {410, 223}, {457, 168}, {386, 135}},
};
// In key order: Combination1, Combination10, Combination2 .. Combination9 (square numbers from 1).
const std::vector<std::vector<int>> COMBINATIONS = {
    {1, 2, 3, 4},    {4, 7, 10, 13},  {5, 6, 7, 8},    {9, 10, 11, 12}, {13, 14, 15, 16},
    {1, 5, 9, 13},   {2, 6, 10, 14},  {3, 7, 11, 15},  {4, 8, 12, 16},  {1, 6, 11, 16},
};

// Loads the text as the set "name" and returns the failure text (empty when it loaded).
VyString LoadFailure(const VyString& name, const VyString& text, VySetLoadProgress* pProgress = nullptr)
{
    TestResources::Get().Add(VySetLoader::PathOfSet(name), text);
    try
    {
        VySetLoader::Load(VySetLoader::PathOfSet(name), pProgress);
    }
    catch (const VyException& error)
    {
        return error.GetMessage();
    }
    return {};
}

// A 24-bit BMP of the given size filled with one colour.
VyString BitmapText(int width, int height)
{
    auto image = VyRGBFormat::Create(width, height, VY_FORMAT_RGB24, VY_ALIGN_BYTE, 0xFF204060);
    VyMemFile file(VY_IO_WRITE);
    VyBitmap::SaveWinBitmap(*image, file);
    return VyString(file.GetView());
}
} // namespace

TEST(SetLoader, TheClassicSetFromTheArchiveHoldsItsTables)
{
    const VyPieceSet& set = ClassicSet();
    EXPECT_EQ(set.name, "classic");
    EXPECT_EQ(set.board, "board.bmp");
    EXPECT_EQ(set.boardSize.cx, 490);
    EXPECT_EQ(set.boardSize.cy, 400);
    EXPECT_EQ(set.chosenPos, (VyPoint{35, 40}));
    EXPECT_EQ(set.colorMask, 0x0000FFu);

    const char* const names[4] = {"Color", "Height", "Shape", "Top"};
    const char* const values[4][2] = {{"Dark", "White"}, {"Tall", "Short"}, {"Round", "Square"}, {"Dimpled", "Flat"}};
    ASSERT_EQ(set.properties.size(), 4u);
    for (size_t p = 0; p < 4; ++p)
    {
        EXPECT_EQ(set.properties[p].name, names[p]);
        EXPECT_EQ(set.properties[p].values, (std::map<VyString, int>{{values[p][0], 0}, {values[p][1], 1}}));
    }

    ASSERT_EQ(set.pieces.size(), 16u);
    for (size_t i = 0; i < 16; ++i)
    {
        SCOPED_TRACE(i + 1);
        const VyPieceInfo& piece = set.pieces[i];
        const ExpectedPiece& expected = PIECES[i];
        EXPECT_EQ(piece.bitmap, expected.bitmap);
        EXPECT_EQ(piece.start, expected.start);
        EXPECT_EQ(piece.center, expected.shape == 0 ? (VyPoint{25, 15}) : (VyPoint{30, 24}));
        EXPECT_EQ(piece.values, (std::vector<int>{expected.color, expected.height, expected.shape, expected.top}));
        EXPECT_EQ(piece.location, -1);
    }

    ASSERT_EQ(set.squares.size(), 16u);
    for (size_t i = 0; i < 16; ++i)
    {
        SCOPED_TRACE(i + 1);
        const VySquare& square = set.squares[i];
        EXPECT_EQ(square.center, SQUARES[i][0]);
        EXPECT_EQ(square.left, SQUARES[i][1]);
        EXPECT_EQ(square.top, SQUARES[i][2]);
        EXPECT_EQ(square.right, SQUARES[i][3]);
        EXPECT_EQ(square.bottom, SQUARES[i][4]);
        EXPECT_EQ(square.selectColor, 0xFFFF00u);
        EXPECT_EQ(square.piece, -1);
    }

    ASSERT_EQ(set.combinations.size(), COMBINATIONS.size());
    for (size_t i = 0; i < COMBINATIONS.size(); ++i)
    {
        std::vector<int> expected = COMBINATIONS[i];
        for (int& square : expected)
            --square;
        EXPECT_EQ(set.combinations[i], expected) << "combination " << i;
    }
}

TEST(SetLoader, TheClassicPicturesHaveTheirSizesAndBothImages)
{
    const VyPieceSet& set = ClassicSet();
    ASSERT_TRUE(set.images);
    const VySetImages& images = *set.images;
    EXPECT_EQ(images.board.Width(), 512);
    EXPECT_EQ(images.board.Height(), 512);
    EXPECT_EQ(images.background, images.board.Image()->GetPixel(0, 0) | 0xFF000000u);

    ASSERT_EQ(images.pieces.size(), 16u);
    for (size_t i = 0; i < 16; ++i)
    {
        SCOPED_TRACE(i + 1);
        const bool round = PIECES[i].shape == 0;
        const bool tall = PIECES[i].height == 0;
        const VyRGBFormat* normal = images.pieces[i].normal.Image();
        const VyRGBFormat* greyed = images.pieces[i].greyed.Image();
        ASSERT_TRUE(normal && greyed);
        EXPECT_EQ(normal->Width(), round ? 49 : 59);
        EXPECT_EQ(normal->Height(), round ? (tall ? 112 : 76) : (tall ? 119 : 87));
        EXPECT_EQ(greyed->FormatId(), VY_FORMAT_RGBA32);
        ASSERT_EQ(greyed->Width(), normal->Width());
        ASSERT_EQ(greyed->Height(), normal->Height());

        // Mask pixels keep the mask colour and become fully transparent; the others stay opaque and
        // move halfway to grey.
        int masked = 0;
        int shown = 0;
        for (int y = 0; y < normal->Height(); ++y)
            for (int x = 0; x < normal->Width(); ++x)
            {
                const uint32_t source = normal->GetPixel(x, y);
                const uint32_t pixel = greyed->GetPixel(x, y);
                if ((source & 0xFFFFFF) == set.colorMask)
                {
                    ++masked;
                    ASSERT_EQ(pixel, set.colorMask) << x << "," << y;
                    continue;
                }
                ++shown;
                ASSERT_EQ(pixel >> 24, 255u) << x << "," << y;
                for (int shift = 0; shift < 24; shift += 8)
                {
                    const int from = static_cast<int>(source >> shift & 0xFF);
                    const int to = static_cast<int>(pixel >> shift & 0xFF);
                    ASSERT_LE(std::abs(to - (from + 128) / 2), 2) << x << "," << y;
                }
            }
        EXPECT_GT(masked, 0);
        EXPECT_GT(shown, masked / 4);
    }
}

TEST(SetLoader, WithoutAColorMaskTheGreyedPicturesKeyTheDefaultMask)
{
    const VyString text = EditSetText(ClassicText(), "General", "ColorMask", nullptr);
    TestResources::Get().Add(VySetLoader::PathOfSet("nomask"), text);
    const VyPieceSet set = VySetLoader::Load(VySetLoader::PathOfSet("nomask"));
    EXPECT_EQ(set.colorMask, 0x0000FFu);
    ASSERT_TRUE(set.images);
    for (size_t i = 0; i < set.images->pieces.size(); ++i)
    {
        SCOPED_TRACE(i + 1);
        const VyRGBFormat* normal = set.images->pieces[i].normal.Image();
        const VyRGBFormat* greyed = set.images->pieces[i].greyed.Image();
        ASSERT_TRUE(normal && greyed);
        int transparent = 0;
        for (int y = 0; y < normal->Height(); ++y)
            for (int x = 0; x < normal->Width(); ++x)
            {
                const bool masked = (normal->GetPixel(x, y) & 0xFFFFFF) == set.colorMask;
                const bool clear = greyed->GetPixel(x, y) >> 24 == 0;
                ASSERT_EQ(clear, masked) << x << "," << y;
                transparent += clear ? 1 : 0;
            }
        EXPECT_GT(transparent, 0);
    }
}

TEST(SetLoader, ProgressRunsFromBoardToDataInItsSteps)
{
    RecordingProgress progress;
    const VyString text = EditSetText(ClassicText(), "General", "NumberOfPieces", "3");
    ASSERT_EQ(LoadFailure("threepieces", text, &progress), "");
    const std::vector<VyString> expected = {
        "range 0 100",           "label Loading board ... ", "pos 15", "pos 20", "pos 25",
        "label Loading pieces ... ", "pos 50", "pos 75", "pos 100", "label Loading data ... ", "pos 100"};
    EXPECT_EQ(progress.Calls(), expected);
}

TEST(SetLoader, BrokenSetFilesFailWithTheirTexts)
{
    const VyString classic = ClassicText();
    VyString manyColors = "Dark, White";
    for (int n = 3; n <= 59; ++n)
        manyColors += VyString::Format(", Shade%d", n);
    struct Case
    {
        const char* name;
        VyString text;
        const char* failure;
    };
    const Case cases[] = {
        {"manyvalues", EditSetText(classic, "Properties", "Color", manyColors.c()),
         "*VyGameWnd::InternalLoadSet : The set's properties have 65 values in all; at most 64 are supported"},
        {"badcolor", EditSetText(classic, "Piece2", "Color", "Blue"),
         "*VyPiece::Load : Failed to read [Piece2].Color(Blue)"},
        {"noanchor", EditSetText(EditSetText(classic, "Piece5", "Start", nullptr), "Piece5", "Center", nullptr),
         "*VyPiece::Load : Failed to read [Piece5].Center"},
        {"nobitmap", EditSetText(classic, "Piece1", "Bitmap", nullptr),
         "*VyPiece::Load : Failed to read [Piece1].Bitmap"},
        {"nosquaretop", EditSetText(classic, "Square2", "Top", nullptr), "*VyGameWnd::Load : Failed to read [Square2].Top"},
        {"noboard", EditSetText(classic, "General", "Board", nullptr),
         "*VyGameWnd::InternalLoadSet : Failed to read [General].Board"},
        {"nosquares", EditSetText(classic, "General", "NumberOfSquares", "0"),
         "*VyGameWnd::InternalLoadSet : Failed to read [General].NumberOfSquares"},
        {"hugecount", EditSetText(classic, "General", "NumberOfPieces", "100000000"),
         "*VyGameWnd::InternalLoadSet : [General].NumberOfPieces is 100000000; a set has 1 to 64"},
        {"negativecount", EditSetText(classic, "General", "NumberOfSquares", "-3"),
         "*VyGameWnd::InternalLoadSet : [General].NumberOfSquares is -3; a set has 1 to 64"},
        {"missingpicture", EditSetText(classic, "Piece4", "Bitmap", "nowhere.jpg"),
         "*VyPlatform::GetResourceFile : Could not locate resource file -> File: sets\\missingpicture\\nowhere.jpg"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(LoadFailure(test.name, test.text), test.failure) << test.name;

    // A section without keys.
    EXPECT_EQ(LoadFailure("nocombinations", classic.substr(0, classic.find("[WinningCombinations]"))),
              "*VyGameWnd::InternalLoadSet : [General].WinningCombinations");
}

TEST(SetLoader, HostilePicturesAreRefused)
{
    TestResources& resources = TestResources::Get();
    // A piece picture far wider than any window, and a header that claims a giant board with no
    // pixels behind it.
    resources.Add("sets\\widepiece\\wide.bmp", BitmapText(2000, 10));
    EXPECT_EQ(LoadFailure("widepiece", EditSetText(ClassicText(), "Piece7", "Bitmap", "wide.bmp")),
              "*VyGameWnd::InternalLoadSet : The picture is too large (2000 x 10) -> File: sets\\widepiece\\wide.bmp");

    VyString giant = BitmapText(4, 4);
    const int side = 16000;
    std::memcpy(&giant[18], &side, 4);
    std::memcpy(&giant[22], &side, 4);
    resources.Add("sets\\giantboard\\giant.bmp", giant);
    const VyString failure = LoadFailure("giantboard", EditSetText(ClassicText(), "General", "Board", "giant.bmp"));
    EXPECT_EQ(failure.rfind("*VyBitmap::Load", 0), 0u) << failure;
    EXPECT_NE(failure.find("-> File: sets\\giantboard\\giant.bmp"), VyString::npos) << failure;

    // Names that lead out of the set's folder, though the files they name exist.
    resources.Add("sets\\outside.bmp", BitmapText(40, 40));
    int n = 0;
    for (const char* name : {"../outside.bmp", "..\\outside.bmp", "pieces/../../outside.bmp", "/etc/hostname", "C:x.bmp"})
        EXPECT_EQ(LoadFailure(VyString::Format("outside%d", ++n), EditSetText(ClassicText(), "Piece3", "Bitmap", name)),
                  VyString("*VyGameWnd::InternalLoadSet : The picture's name leads out of the set's folder -> File: ") +
                      name)
            << name;
    EXPECT_EQ(LoadFailure("outsideboard", EditSetText(ClassicText(), "General", "Board", "../outside.bmp")),
              "*VyGameWnd::InternalLoadSet : The picture's name leads out of the set's folder -> File: ../outside.bmp");
}

TEST(SetLoader, ACombinationPartWithoutDigitsIsASquareThatNeverWins)
{
    const VyString text = EditSetText(ClassicText(), "WinningCombinations", "Combination1", "1, 2,x, 4");
    TestResources::Get().Add(VySetLoader::PathOfSet("nodigits"), text);
    const VyPieceSet set = VySetLoader::Load(VySetLoader::PathOfSet("nodigits"));
    EXPECT_EQ(set.combinations[0], (std::vector<int>{0, 1, -1, 3}));

    // Four dark pieces along the top row: that line can no longer win.
    GameTestHost host;
    VyGameRules rules(host);
    rules.SetPieceSet(set);
    std::vector<VySquare> squares = rules.GetSquares();
    const int darkPieces[4] = {0, 2, 5, 7};
    for (int square = 0; square < 4; ++square)
        squares[static_cast<size_t>(square)].piece = darkPieces[square];
    VyTraceCapture trace;
    int combination = -1;
    VyString value;
    EXPECT_FALSE(rules.CheckWin(squares, combination, value));
    EXPECT_TRUE(trace.Has("Assertion Failed:square>=0 && square<squares.size()"));
}
