#include "artgen/VyArtCursors.h"

#include "artgen/VyArtPixelCanvas.h"

namespace
{
enum Ink
{
    VY_INK_NONE,
    VY_INK_WHITE,
    VY_INK_BLACK,
    VY_INK_GREY,
};

const std::vector<VyArtRgb> VY_CURSOR_PALETTE = {VY_ART_MASK, {255, 255, 255}, {0, 0, 0}, {128, 128, 128}};

VyArtPicture Finish(VyArtPixelCanvas& canvas)
{
    canvas.OutlineAll(VY_INK_BLACK);
    return canvas.ToPicture(VY_CURSOR_PALETTE);
}

// A double-headed arrow along x, centred on pixel 12 (used turned for north-south).
void DoubleArrow(VyArtPixelCanvas& canvas, bool vertical)
{
    auto put = [&](int along, int across) {
        if (vertical)
            canvas.Put(across, along, VY_INK_WHITE);
        else
            canvas.Put(along, across, VY_INK_WHITE);
    };
    constexpr int centre = 12;
    for (int along = 2; along <= 22; ++along)
    {
        int fromEnd = std::min(along - 2, 22 - along);
        int half = fromEnd < 6 ? fromEnd : 1; // heads six pixels long, then a three-pixel shaft
        for (int across = centre - half; across <= centre + half; ++across)
            put(along, across);
    }
}
} // namespace

VyArtPicture VyArtCursors::Arrow()
{
    VyArtPixelCanvas canvas(VY_ART_CURSOR_SIZE, VY_ART_CURSOR_SIZE);
    // The tip's outline pixel is the top-left corner, the hot spot.
    canvas.FillPolygon({{1.0, 0.9}, {12.2, 12.1}, {7.6, 12.1}, {10.4, 17.9}, {8.2, 18.9}, {5.4, 13.0}, {1.0, 16.8}},
                       VY_INK_WHITE);
    return Finish(canvas);
}

VyArtPicture VyArtCursors::IBeam()
{
    VyArtPixelCanvas canvas(VY_ART_CURSOR_SIZE, VY_ART_CURSOR_SIZE);
    canvas.FillRect(12, 5, 13, 20, VY_INK_WHITE);  // stem
    canvas.FillRect(9, 4, 12, 5, VY_INK_WHITE);    // top serifs
    canvas.FillRect(13, 4, 16, 5, VY_INK_WHITE);
    canvas.FillRect(9, 20, 12, 21, VY_INK_WHITE);  // bottom serifs
    canvas.FillRect(13, 20, 16, 21, VY_INK_WHITE);
    return Finish(canvas);
}

VyArtPicture VyArtCursors::NorthSouth()
{
    VyArtPixelCanvas canvas(VY_ART_CURSOR_SIZE, VY_ART_CURSOR_SIZE);
    DoubleArrow(canvas, true);
    return Finish(canvas);
}

VyArtPicture VyArtCursors::EastWest()
{
    VyArtPixelCanvas canvas(VY_ART_CURSOR_SIZE, VY_ART_CURSOR_SIZE);
    DoubleArrow(canvas, false);
    return Finish(canvas);
}

VyArtPicture VyArtCursors::Wait()
{
    VyArtPixelCanvas canvas(VY_ART_CURSOR_SIZE, VY_ART_CURSOR_SIZE);
    // Glass: two bulbs meeting at a narrow waist around row 12.
    for (int y = 4; y <= 20; ++y)
    {
        double t = std::fabs(y + 0.5 - 12.5) / 8.0; // 0 at the waist, 1 at the plates
        int half = static_cast<int>(std::lround(1.0 + 5.0 * std::pow(t, 0.7)));
        canvas.FillRect(12.5 - half, y, 12.5 + half, y + 1, VY_INK_WHITE);
    }
    // Plates at top and bottom.
    canvas.FillRect(5, 2, 20, 4, VY_INK_BLACK);
    canvas.FillRect(5, 21, 20, 23, VY_INK_BLACK);
    // Sand: a little left above, a heap below and the thread falling through the waist.
    canvas.FillRect(10, 9, 15, 11, VY_INK_GREY);
    canvas.FillRect(12, 11, 13, 16, VY_INK_GREY);
    canvas.FillPolygon({{7.5, 21}, {12.5, 16.5}, {17.5, 21}}, VY_INK_GREY);
    return Finish(canvas);
}

VyArtPicture VyArtCursors::Hand()
{
    VyArtPixelCanvas canvas(VY_ART_CURSOR_SIZE, VY_ART_CURSOR_SIZE);
    // Index finger pointing up along the left edge; its tip's outline touches the top-left corner.
    canvas.FillRect(1, 1, 4, 12, VY_INK_WHITE);
    // Curled fingers, knuckles showing.
    canvas.FillRect(4, 8, 7, 13, VY_INK_WHITE);
    canvas.FillRect(7, 9, 10, 13, VY_INK_WHITE);
    canvas.FillRect(10, 10, 13, 14, VY_INK_WHITE);
    // Palm and thumb.
    canvas.FillPolygon({{1, 11}, {13, 11}, {13, 17}, {11, 21}, {3, 21}, {1, 18}}, VY_INK_WHITE);
    // Thumb, reaching out to the right.
    canvas.FillPolygon({{12, 14.5}, {16.2, 11.2}, {17.6, 12.6}, {13, 18}}, VY_INK_WHITE);
    // Cuff.
    canvas.FillRect(3, 21, 12, 23, VY_INK_WHITE);
    canvas.OutlineAll(VY_INK_BLACK);
    // Lines between the curled fingers and across the wrist.
    for (int y = 9; y <= 11; ++y)
    {
        canvas.Put(4, y + 1, VY_INK_BLACK);
        canvas.Put(7, y + 1, VY_INK_BLACK);
        canvas.Put(10, y + 2, VY_INK_BLACK);
    }
    for (int x = 3; x < 12; ++x)
        canvas.Put(x, 21, VY_INK_BLACK);
    return canvas.ToPicture(VY_CURSOR_PALETTE);
}

std::array<VyArtCursor, 6> VyArtCursors::DrawAll()
{
    return {{
        {"default.bmp", {0, 0}, Arrow()},
        {"ibeam.bmp", {12, 12}, IBeam()},
        {"northsouth.bmp", {12, 12}, NorthSouth()},
        {"eastwest.bmp", {12, 12}, EastWest()},
        {"wait.bmp", {12, 12}, Wait()},
        {"hand.bmp", {0, 0}, Hand()},
    }};
}
