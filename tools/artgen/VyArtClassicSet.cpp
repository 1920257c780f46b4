#include "artgen/VyArtClassicSet.h"

const std::array<VyArtSquareDef, VY_ART_SQUARES>& ClassicSquares()
{
    static const std::array<VyArtSquareDef, VY_ART_SQUARES> squares = {{
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
    }};
    return squares;
}

const std::array<VyArtPieceDef, VY_ART_PIECES>& ClassicPieces()
{
    // fileNumber, start, dark, tall, round, dimpled
    static const std::array<VyArtPieceDef, VY_ART_PIECES> pieces = {{
        {3, {582, 10}, true, true, true, true},
        {11, {552, 10}, false, true, true, true},
        {1, {522, 10}, true, true, true, false},
        {9, {492, 10}, false, true, true, false},
        {12, {582, 130}, false, false, true, true},
        {4, {552, 130}, true, false, true, true},
        {10, {522, 130}, false, false, true, false},
        {2, {492, 130}, true, false, true, false},
        {7, {582, 210}, true, true, false, true},
        {15, {552, 210}, false, true, false, true},
        {5, {522, 210}, true, true, false, false},
        {13, {492, 210}, false, true, false, false},
        {16, {582, 330}, false, false, false, true},
        {8, {552, 330}, true, false, false, true},
        {14, {522, 330}, false, false, false, false},
        {6, {492, 330}, true, false, false, false},
    }};
    return pieces;
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
