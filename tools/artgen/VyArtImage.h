#pragma once

#include <optional>
#include <vector>

#include "artgen/VyArtMath.h"
#include "artgen/VyArtPicture.h"

// A picture being drawn: linear-light colour and a coverage (0 = empty, 1 = fully covered) per
// pixel, rows bottom-up. Finished pictures are turned into 8-bit sRGB with ToPicture.
class VyArtImage
{
public:
    VyArtImage(int width, int height, VyArtVec3 fill = {}, double coverage = 1.0);

    // A picture of width x height pixels, each averaging samples x samples points spread evenly over
    // it. sample(VyArtVec2 point) gets a point in pixel units ((0, 0) is the lower-left corner of the
    // picture) and gives its colour, or nothing where the point shows nothing. A pixel's coverage is
    // the share of its points with a colour; a pixel without any stays empty.
    template <typename Sample>
    static VyArtImage Supersampled(int width, int height, int samples, Sample sample);

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

template <typename Sample>
VyArtImage VyArtImage::Supersampled(int width, int height, int samples, Sample sample)
{
    VyArtImage image(width, height, {}, 0.0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            VyArtVec3 sum;
            int hits = 0;
            for (int b = 0; b < samples; ++b)
                for (int a = 0; a < samples; ++a)
                {
                    const VyArtVec2 point{x + (a + 0.5) / samples, y + (b + 0.5) / samples};
                    const std::optional<VyArtVec3> color = sample(point);
                    if (!color)
                        continue;
                    sum += *color;
                    ++hits;
                }
            if (hits > 0)
                image.Set(x, y, sum / hits, static_cast<double>(hits) / (samples * samples));
        }
    return image;
}
