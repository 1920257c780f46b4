#include "artgen/VyArtChecks.h"

#include <cmath>

#include "artgen/VyArtPreview.h"

namespace
{
bool IsMask(VyArtRgb c)
{
    return c == VY_ART_MASK;
}

// Every pixel the highlight of a square covers, in window coordinates.
std::vector<VyPoint> OutlinePixels(const VyArtSquareDef& square)
{
    VyArtPicture marks(VY_ART_BOARD_SIZE.cx, VY_ART_BOARD_SIZE.cy);
    VyArtPreview::DrawHighlight(marks, square);
    std::vector<VyPoint> pixels;
    for (int y = 0; y < marks.Height(); ++y)
        for (int x = 0; x < marks.Width(); ++x)
            if (marks.Get(x, y) == VY_ART_SELECT_COLOR)
                pixels.push_back({x, y});
    return pixels;
}

const char* PartName(VyArtBoardPart part)
{
    switch (part)
    {
    case VyArtBoardPart::Backdrop: return "backdrop";
    case VyArtBoardPart::Border: return "border";
    case VyArtBoardPart::Wall: return "pocket wall";
    case VyArtBoardPart::Tile: return "tile";
    case VyArtBoardPart::Side: return "side";
    }
    return "?";
}
} // namespace

bool VyArtChecks::IsNearBlue(VyArtRgb c)
{
    double dr = c.r, dg = c.g, db = 255.0 - c.b;
    return std::sqrt(dr * dr + dg * dg + db * db) < 120.0;
}

VyArtChecks::Result VyArtChecks::CheckPiece(const VyArtPieceDef& piece, const VyArtPicture& picture)
{
    Result result;
    VyString name = VyString::Format("piece%d.bmp", piece.fileNumber);
    VySize size = PiecePictureSize(piece);
    if (picture.Width() != size.cx || picture.Height() != size.cy)
    {
        result.problems.push_back(VyString::Format("%s: %d x %d instead of %d x %d", name.c(), picture.Width(),
                                                   picture.Height(), size.cx, size.cy));
        return result;
    }
    int left = size.cx, right = -1;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
        {
            ++result.checked;
            VyArtRgb c = picture.Get(x, y);
            if (IsMask(c))
                continue;
            if (IsNearBlue(c))
                result.problems.push_back(VyString::Format("%s: pixel %d,%d (%d,%d,%d) is close to the mask colour",
                                                           name.c(), x, y, c.r, c.g, c.b));
            if (x == 0 || y == 0 || x == size.cx - 1 || y == size.cy - 1)
                result.problems.push_back(VyString::Format("%s: the piece touches the picture's edge at %d,%d",
                                                           name.c(), x, y));
            left = std::min(left, x);
            right = std::max(right, x);
        }
    VyPoint anchor = PieceAnchor(piece);
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (IsMask(picture.Get(anchor.x + dx, anchor.y + dy)))
                result.problems.push_back(VyString::Format("%s: hole in the foot at %d,%d", name.c(), anchor.x + dx,
                                                           anchor.y + dy));
    // The foot reaches below the anchor, solid all the way, and spreads evenly to both sides.
    int y = anchor.y;
    while (y > 0 && !IsMask(picture.Get(anchor.x, y - 1)))
        --y;
    if (anchor.y - y < 5)
        result.problems.push_back(VyString::Format("%s: the foot reaches only %d pixels below the anchor", name.c(),
                                                   anchor.y - y));
    if (std::abs((left + right) - 2 * anchor.x) > 3)
        result.problems.push_back(VyString::Format("%s: the anchor (x %d) is not in the middle of the piece (%d..%d)",
                                                   name.c(), anchor.x, left, right));
    return result;
}

VyArtChecks::Result VyArtChecks::CheckOutlinesOnBorder(const VyArtBoard& board)
{
    Result result;
    for (int n = 0; n < VY_ART_SQUARES; ++n)
    {
        const VyArtSquareDef& square = ClassicSquares()[n];
        for (VyPoint p : OutlinePixels(square))
        {
            ++result.checked;
            VyArtBoardPart part = board.PartAt({p.x + 0.5, p.y + 0.5});
            if (part != VyArtBoardPart::Border)
                result.problems.push_back(VyString::Format("square %d: outline pixel %d,%d lies on the %s", n + 1,
                                                           p.x, p.y, PartName(part)));
        }
        VyArtBoardPart centre = board.PartAt({square.center.x + 0.5, square.center.y + 0.5});
        if (centre != VyArtBoardPart::Tile)
            result.problems.push_back(VyString::Format("square %d: Center lies on the %s", n + 1, PartName(centre)));
    }
    return result;
}

VyArtChecks::Result VyArtChecks::CheckOutlinesInPicture(const VyArtPicture& stretchedBoard)
{
    Result result;
    for (int n = 0; n < VY_ART_SQUARES; ++n)
    {
        const VyArtSquareDef& square = ClassicSquares()[n];
        for (VyPoint p : OutlinePixels(square))
        {
            ++result.checked;
            VyArtRgb c = stretchedBoard.Get(p.x, p.y);
            if (c.r <= c.g)
                result.problems.push_back(VyString::Format("square %d: outline pixel %d,%d shows (%d,%d,%d), not wood",
                                                           n + 1, p.x, p.y, c.r, c.g, c.b));
        }
        VyArtRgb c = stretchedBoard.Get(square.center.x, square.center.y);
        if (c.g <= c.r)
            result.problems.push_back(VyString::Format("square %d: Center shows (%d,%d,%d), not stone", n + 1, c.r, c.g,
                                                       c.b));
    }
    return result;
}

VyArtChecks::Result VyArtChecks::CheckBackdropEdges(const VyArtPicture& board)
{
    Result result;
    VyArtRgb corner = board.Get(0, 0);
    auto check = [&](int x, int y) {
        ++result.checked;
        if (!(board.Get(x, y) == corner))
            result.problems.push_back(VyString::Format("board pixel %d,%d differs from pixel 0,0", x, y));
    };
    for (int x = 0; x < board.Width(); ++x)
        check(x, board.Height() - 1);
    for (int y = 0; y < board.Height(); ++y)
        check(board.Width() - 1, y);
    return result;
}

VyArtChecks::Result VyArtChecks::CheckNoPinholes(const VyString& name, const VyArtPicture& picture, VyArtRgb key)
{
    constexpr int smallest = 6;
    Result result;
    int w = picture.Width(), h = picture.Height();
    std::vector<int> region(static_cast<size_t>(w) * h, -1);
    std::vector<VyPoint> stack;
    int regions = 0;
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0)
        {
            ++result.checked;
            if (!(picture.Get(x0, y0) == key) || region[static_cast<size_t>(y0) * w + x0] >= 0)
                continue;
            // Flood the key region (4 neighbours) and note its size and whether it meets the edge.
            int size = 0;
            bool edge = false;
            stack.push_back({x0, y0});
            region[static_cast<size_t>(y0) * w + x0] = regions;
            while (!stack.empty())
            {
                VyPoint p = stack.back();
                stack.pop_back();
                ++size;
                edge = edge || p.x == 0 || p.y == 0 || p.x == w - 1 || p.y == h - 1;
                const VyPoint next[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
                for (VyPoint q : next)
                {
                    if (!picture.Contains(q.x, q.y) || !(picture.Get(q.x, q.y) == key))
                        continue;
                    int& mark = region[static_cast<size_t>(q.y) * w + q.x];
                    if (mark < 0)
                    {
                        mark = regions;
                        stack.push_back(q);
                    }
                }
            }
            ++regions;
            if (!edge && size < smallest)
                result.problems.push_back(
                    VyString::Format("%s: a pin hole of %d key pixels at %d,%d", name.c(), size, x0, y0));
        }
    return result;
}

VyArtChecks::Result VyArtChecks::CheckCursor(const VyArtCursor& cursor)
{
    Result result;
    const VyArtPicture& p = cursor.picture;
    if (p.Width() != VY_ART_CURSOR_SIZE || p.Height() != VY_ART_CURSOR_SIZE)
    {
        result.problems.push_back(VyString::Format("%s: %d x %d", cursor.fileName.c(), p.Width(), p.Height()));
        return result;
    }
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
        {
            ++result.checked;
            VyArtRgb c = p.Get(x, y);
            bool grey = c.r == c.g && c.g == c.b;
            if (!IsMask(c) && !grey)
                result.problems.push_back(VyString::Format("%s: pixel %d,%d is neither mask nor grey", cursor.fileName.c(), x, y));
        }
    // The hot spot is given from the top left, y down; the picture's rows run bottom-up.
    if (IsMask(p.Get(cursor.hotSpot.x, p.Height() - 1 - cursor.hotSpot.y)))
        result.problems.push_back(VyString::Format("%s: the hot spot is on the transparent part", cursor.fileName.c()));
    return result;
}

VyArtChecks::Result VyArtChecks::CheckTileable(const VyArtPicture& texture)
{
    Result result;
    auto step = [](VyArtRgb a, VyArtRgb b) {
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    };
    int w = texture.Width(), h = texture.Height();
    double inside = 0.0, across = 0.0;
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x + 1 < w; ++x)
            inside += step(texture.Get(x, y), texture.Get(x + 1, y));
        across += step(texture.Get(w - 1, y), texture.Get(0, y));
    }
    for (int x = 0; x < w; ++x)
    {
        for (int y = 0; y + 1 < h; ++y)
            inside += step(texture.Get(x, y), texture.Get(x, y + 1));
        across += step(texture.Get(x, h - 1), texture.Get(x, 0));
    }
    result.checked = 2 * w * h;
    double meanInside = inside / (2.0 * (w - 1) * h);
    double meanAcross = across / (2.0 * w);
    if (meanAcross > 1.5 * meanInside + 1.0)
        result.problems.push_back(VyString::Format("the texture shows a seam: steps of %.2f across the wrap, %.2f inside",
                                                   meanAcross, meanInside));
    return result;
}
