#pragma once

#include <vector>

#include "artgen/VyArtMath.h"
#include "artgen/VyArtPicture.h"

// A picture being drawn: linear-light colour and a coverage (0 = empty, 1 = fully covered) per
// pixel, rows bottom-up. Finished pictures are turned into 8-bit sRGB with ToPicture.
class VyArtImage
{
public:
    VyArtImage(int width, int height, VyArtVec3 fill = {}, double coverage = 1.0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const VyArtVec3& Color(int x, int y) const { return m_colors[Index(x, y)]; }
    double Coverage(int x, int y) const { return m_coverage[Index(x, y)]; }
    void Set(int x, int y, const VyArtVec3& color, double coverage = 1.0);

    // Lays source over this image with its lower-left corner at (left, bottom), blending by the
    // source's coverage; the coverage grows accordingly.
    void DrawOver(const VyArtImage& source, int left, int bottom);

    // Every pixel in sRGB, coverage ignored.
    VyArtPicture ToPicture() const;
    // Pixels covered at least half become their colour (never exactly key: a colour that would round
    // to it is moved one step away); the rest become key. The edge stays hard because a colour key
    // cannot blend.
    VyArtPicture ToKeyedPicture(VyArtRgb key) const;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * m_width + x; }

    int m_width;
    int m_height;
    std::vector<VyArtVec3> m_colors;
    std::vector<double> m_coverage;
};

// The 8-bit sRGB form of a linear colour.
VyArtRgb ToRgb(const VyArtVec3& linear);
