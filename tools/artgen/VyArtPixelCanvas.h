#pragma once

#include <initializer_list>
#include <vector>

#include "artgen/VyArtMath.h"
#include "artgen/VyArtPicture.h"

// Crisp pixel art for cursors and list icons. Shapes are given in design coordinates with the origin
// at the top-left corner and y growing downwards (the way such art is sketched); a pixel belongs to a
// shape when its centre lies inside. Each pixel holds one colour index (0 = transparent), and the
// finished canvas becomes a bottom-up picture.
class VyArtPixelCanvas
{
public:
    VyArtPixelCanvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int At(int x, int y) const; // 0 outside
    void Put(int x, int y, int ink); // ignored outside

    // Rows of characters, top row first: each character is looked up in `inks` (character i of it
    // gives ink i); characters not found leave the pixel as it is.
    void DrawRows(std::initializer_list<const char*> rows, const char* inks);

    // Shapes in design coordinates (pixel (x, y) covers x..x+1, y..y+1).
    void FillPolygon(std::initializer_list<VyArtVec2> points, int ink);
    void FillRect(double left, double top, double right, double bottom, int ink);

    // Every transparent pixel touching (8 neighbours) a pixel with any ink gets `ink`: a one-pixel
    // outline.
    void OutlineAll(int ink);

    // The picture: colour index i becomes palette[i]; index 0 becomes the background.
    VyArtPicture ToPicture(const std::vector<VyArtRgb>& palette) const;

private:
    template <typename Inside>
    void FillWhere(Inside inside, int ink);

    int m_width;
    int m_height;
    std::vector<int> m_ink;
};
