#include "artgen/VyArtPixelCanvas.h"

VyArtPixelCanvas::VyArtPixelCanvas(int width, int height)
    : m_width(width), m_height(height), m_ink(static_cast<size_t>(width) * height, 0)
{
}

int VyArtPixelCanvas::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_ink[static_cast<size_t>(y) * m_width + x];
}

void VyArtPixelCanvas::Put(int x, int y, int ink)
{
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_ink[static_cast<size_t>(y) * m_width + x] = ink;
}

void VyArtPixelCanvas::DrawRows(std::initializer_list<const char*> rows, const char* inks)
{
    int y = 0;
    for (const char* row : rows)
    {
        for (int x = 0; row[x] != '\0'; ++x)
            for (int ink = 0; inks[ink] != '\0'; ++ink)
                if (inks[ink] == row[x])
                    Put(x, y, ink);
        ++y;
    }
}

template <typename Inside>
void VyArtPixelCanvas::FillWhere(Inside inside, int ink)
{
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (inside(x + 0.5, y + 0.5))
                Put(x, y, ink);
}

void VyArtPixelCanvas::FillPolygon(std::initializer_list<VyArtVec2> points, int ink)
{
    std::vector<VyArtVec2> poly(points);
    FillWhere(
        [&poly](double px, double py) {
            // Even-odd rule.
            bool inside = false;
            for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
            {
                const VyArtVec2& a = poly[i];
                const VyArtVec2& b = poly[j];
                if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x)
                    inside = !inside;
            }
            return inside;
        },
        ink);
}

void VyArtPixelCanvas::FillRect(double left, double top, double right, double bottom, int ink)
{
    FillWhere([=](double px, double py) { return px >= left && px < right && py >= top && py < bottom; }, ink);
}

void VyArtPixelCanvas::OutlineAll(int ink)
{
    std::vector<int> before = m_ink;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            if (before[static_cast<size_t>(y) * m_width + x] != 0)
                continue;
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy)
                for (int dx = -1; dx <= 1 && !touches; ++dx)
                {
                    int nx = x + dx, ny = y + dy;
                    touches = nx >= 0 && ny >= 0 && nx < m_width && ny < m_height &&
                              before[static_cast<size_t>(ny) * m_width + nx] != 0;
                }
            if (touches)
                Put(x, y, ink);
        }
}

VyArtPicture VyArtPixelCanvas::ToPicture(const std::vector<VyArtRgb>& palette) const
{
    VyArtPicture picture(m_width, m_height, palette[0]);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            int ink = At(x, y);
            if (ink > 0 && ink < static_cast<int>(palette.size()))
                picture.Set(x, m_height - 1 - y, palette[ink]);
        }
    return picture;
}
