#include "artgen/VyArtImage.h"

VyArtRgb ToRgb(const VyArtVec3& linear)
{
    return {static_cast<uint8_t>(LinearToSrgb8(linear.x)), static_cast<uint8_t>(LinearToSrgb8(linear.y)),
            static_cast<uint8_t>(LinearToSrgb8(linear.z))};
}

VyArtImage::VyArtImage(int width, int height, VyArtVec3 fill, double coverage)
    : m_width(width), m_height(height), m_colors(static_cast<size_t>(width) * height, fill),
      m_coverage(static_cast<size_t>(width) * height, coverage)
{
}

void VyArtImage::Set(int x, int y, const VyArtVec3& color, double coverage)
{
    m_colors[Index(x, y)] = color;
    m_coverage[Index(x, y)] = coverage;
}

void VyArtImage::DrawOver(const VyArtImage& source, int left, int bottom)
{
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
        {
            int tx = left + x, ty = bottom + y;
            if (tx < 0 || ty < 0 || tx >= m_width || ty >= m_height)
                continue;
            double a = source.Coverage(x, y);
            if (a <= 0.0)
                continue;
            double b = Coverage(tx, ty);
            double coverage = a + b * (1.0 - a);
            VyArtVec3 color = (source.Color(x, y) * a + Color(tx, ty) * (b * (1.0 - a))) / coverage;
            Set(tx, ty, color, coverage);
        }
}

VyArtPicture VyArtImage::ToPicture() const
{
    VyArtPicture out(m_width, m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            out.Set(x, y, ToRgb(Color(x, y)));
    return out;
}

VyArtPicture VyArtImage::ToKeyedPicture(VyArtRgb key) const
{
    VyArtPicture out(m_width, m_height, key);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            if (Coverage(x, y) < 0.5)
                continue;
            VyArtRgb c = ToRgb(Color(x, y));
            if (c == key)
                c.b = static_cast<uint8_t>(key.b > 0 ? key.b - 1 : 1);
            out.Set(x, y, c);
        }
    return out;
}
