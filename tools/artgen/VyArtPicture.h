#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>


// One 8-bit sRGB pixel.
struct VyArtRgb
{
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    bool operator==(const VyArtRgb&) const = default;
};

// The colour every piece, cursor and icon picture leaves transparent.
constexpr VyArtRgb VY_ART_MASK{0, 0, 255};
// The colour the About box leaves transparent in the title picture.
constexpr VyArtRgb VY_ART_WHITE{255, 255, 255};

// A finished 8-bit picture, rows stored bottom-up as the framework's images are (row 0 = bottom).
class VyArtPicture
{
public:
    VyArtPicture() = default;
    VyArtPicture(int width, int height, VyArtRgb fill = {});

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    VyArtRgb Get(int x, int y) const { return m_pixels[Index(x, y)]; }
    void Set(int x, int y, VyArtRgb color) { m_pixels[Index(x, y)] = color; }
    // Sets the pixel when it lies inside the picture; outside points are ignored.
    void Plot(int x, int y, VyArtRgb color);
    bool operator==(const VyArtPicture&) const = default;

    // Copies source with its lower-left corner at (left, bottom); parts outside are cut off.
    void Blit(const VyArtPicture& source, int left, int bottom);
    // The same, skipping pixels equal to key.
    void BlitKeyed(const VyArtPicture& source, int left, int bottom, VyArtRgb key);
    // The picture stretched to a new size, each target pixel centre sampled bilinearly (the way a
    // texture with linear filtering is drawn into a rectangle).
    VyArtPicture Stretched(int width, int height) const;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * m_width + x; }

    int m_width = 0;
    int m_height = 0;
    std::vector<VyArtRgb> m_pixels;
};
