#include "artgen/VyArtPreview.h"

#include <algorithm>
#include <cmath>

void VyArtPreview::DrawLine(VyArtPicture& picture, VyPoint from, VyPoint to, VyArtRgb color)
{
    if (from.x == to.x)
    {
        for (int y = std::min(from.y, to.y); y <= std::max(from.y, to.y); ++y)
            picture.Plot(from.x, y, color);
        return;
    }
    float slope = static_cast<float>(to.y - from.y) / static_cast<float>(to.x - from.x);
    if (std::fabs(slope) > 1.0f)
    {
        int step = to.y > from.y ? 1 : -1;
        for (int y = from.y;; y += step)
        {
            picture.Plot(static_cast<int>(from.x + (y - from.y) / slope), y, color);
            if (y == to.y)
                break;
        }
        return;
    }
    VyPoint left = from.x < to.x ? from : to;
    int right = std::max(from.x, to.x);
    for (int x = left.x; x <= right; ++x)
        picture.Plot(x, static_cast<int>(left.y + (x - left.x) * slope), color);
}

void VyArtPreview::DrawHighlight(VyArtPicture& window, const VyArtSquareDef& square)
{
    for (int pass = 0; pass < 3; ++pass)
    {
        int d = pass == 0 ? 0 : pass == 1 ? 1 : -1;
        VyPoint left{square.left.x - d, square.left.y};
        VyPoint bottom{square.bottom.x, square.bottom.y - d};
        VyPoint right{square.right.x + d, square.right.y};
        VyPoint top{square.top.x, square.top.y + d};
        const VyPoint polygon[4] = {left, bottom, right, top};
        for (int i = 0; i < 4; ++i)
            DrawLine(window, polygon[i], polygon[(i + 1) % 4], VY_ART_SELECT_COLOR);
    }
}

VyArtPicture VyArtPreview::Compose(const VyArtPicture& board, const std::array<VyArtPicture, VY_ART_PIECES>& pieces,
                                   const VyArtPreviewScene& scene)
{
    VyArtPicture window(VY_ART_WINDOW.cx, VY_ART_WINDOW.cy, board.Get(0, 0));
    window.Blit(board.Stretched(VY_ART_BOARD_SIZE.cx, VY_ART_BOARD_SIZE.cy), 0, 0);
    if (scene.highlightedSquare >= 0 && scene.highlightedSquare < VY_ART_SQUARES)
        DrawHighlight(window, ClassicSquares()[scene.highlightedSquare]);

    std::array<int, VY_ART_SQUARES> onSquare;
    onSquare.fill(-1);
    std::array<bool, VY_ART_PIECES> placed{};
    for (auto [piece, square] : scene.placed)
    {
        onSquare[square] = piece;
        placed[piece] = true;
    }
    auto draw = [&](int piece, VyPoint anchorTarget) {
        const VyArtPieceDef& def = ClassicPieces()[piece];
        VyPoint anchor = PieceAnchor(def);
        window.BlitKeyed(pieces[def.fileNumber - 1], anchorTarget.x - anchor.x, anchorTarget.y - anchor.y,
                         VY_ART_MASK);
    };
    for (int square = 0; square < VY_ART_SQUARES; ++square)
        if (onSquare[square] >= 0)
            draw(onSquare[square], ClassicSquares()[square].center);
    for (int piece = 0; piece < VY_ART_PIECES; ++piece)
    {
        if (placed[piece])
            continue;
        const VyArtPieceDef& def = ClassicPieces()[piece];
        VyPoint anchor = PieceAnchor(def);
        VyPoint target = piece == scene.chosenPiece ? VY_ART_CHOSEN_POS
                                                    : VyPoint{def.start.x + anchor.x, def.start.y + anchor.y};
        draw(piece, target);
    }
    return window;
}

VyArtPreviewScene VyArtPreview::DefaultScene()
{
    VyArtPreviewScene scene;
    // (piece, square), both from 0: tall and short, round and square, dark and white, near and far.
    scene.placed = {{0, 1}, {11, 5}, {4, 6}, {13, 10}, {1, 12}, {15, 15}, {8, 3}, {7, 9}};
    scene.chosenPiece = 6;
    scene.highlightedSquare = 14;
    return scene;
}
