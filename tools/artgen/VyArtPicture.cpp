#include "artgen/VyArtPicture.h"

#include <algorithm>
#include <cmath>

VyArtPicture::VyArtPicture(int width, int height, VyArtRgb fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill)
{
}

void VyArtPicture::Plot(int x, int y, VyArtRgb color)
{
    if (Contains(x, y))
        Set(x, y, color);
}

void VyArtPicture::Blit(const VyArtPicture& source, int left, int bottom)
{
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            Plot(left + x, bottom + y, source.Get(x, y));
}

void VyArtPicture::BlitKeyed(const VyArtPicture& source, int left, int bottom, VyArtRgb key)
{
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
        {
            VyArtRgb c = source.Get(x, y);
            if (!(c == key))
                Plot(left + x, bottom + y, c);
        }
}

VyArtPicture VyArtPicture::Stretched(int width, int height) const
{
    VyArtPicture out(width, height);
    auto channel = [](uint8_t a, uint8_t b, double t) { return a + (b - a) * t; };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            double sx = (x + 0.5) * m_width / width - 0.5;
            double sy = (y + 0.5) * m_height / height - 0.5;
            int x0 = std::clamp(static_cast<int>(std::floor(sx)), 0, m_width - 1);
            int y0 = std::clamp(static_cast<int>(std::floor(sy)), 0, m_height - 1);
            int x1 = std::min(x0 + 1, m_width - 1);
            int y1 = std::min(y0 + 1, m_height - 1);
            double tx = std::clamp(sx - x0, 0.0, 1.0);
            double ty = std::clamp(sy - y0, 0.0, 1.0);
            VyArtRgb c00 = Get(x0, y0), c10 = Get(x1, y0), c01 = Get(x0, y1), c11 = Get(x1, y1);
            auto blend = [&](uint8_t VyArtRgb::*field) {
                double bottomRow = channel(c00.*field, c10.*field, tx);
                double topRow = channel(c01.*field, c11.*field, tx);
                return static_cast<uint8_t>(std::lround(bottomRow + (topRow - bottomRow) * ty));
            };
            out.Set(x, y, {blend(&VyArtRgb::r), blend(&VyArtRgb::g), blend(&VyArtRgb::b)});
        }
    return out;
}
