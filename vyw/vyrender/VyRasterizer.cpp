#include "vyrender/VyRasterizer.h"

#include <algorithm>
#include <cmath>

#include "vyrender/VyFloorDiv.h"

namespace
{

struct Fragment
{
    uint32_t red;
    uint32_t green;
    uint32_t blue;
    uint32_t alpha;
};

// 4 x 4 ordered-dither thresholds, spread over 0..255 around 127.5.
constexpr uint32_t BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

uint32_t Threshold(int x, int y)
{
    return (2 * BAYER[y & 3][x & 3] + 1) * 255 / 32;
}

// Bytes red, green, blue, fourth (VY_FORMAT_RGBA32, VY_FORMAT_RGB32); the fourth is written 255.
struct Pixel32
{
    uint8_t* row;

    Pixel32(VyRGBFormat& image, int y, bool) : row(image.Row(y)) {}
    Fragment Read(int x) const
    {
        const uint8_t* p = row + 4 * x;
        return {p[0], p[1], p[2], 255};
    }
    void Write(int x, uint32_t red, uint32_t green, uint32_t blue)
    {
        uint8_t* p = row + 4 * x;
        p[0] = static_cast<uint8_t>(red);
        p[1] = static_cast<uint8_t>(green);
        p[2] = static_cast<uint8_t>(blue);
        p[3] = 255;
    }
};

// Little-endian 16-bit words with the channels where the pixel format puts them (5-6-5, 5-5-5).
struct Pixel16
{
    uint8_t* row;
    const VyPixelFormat& format;
    int y;
    bool bDither;

    Pixel16(VyRGBFormat& image, int rowY, bool dither)
        : row(image.Row(rowY)), format(image.PixelFormat()), y(rowY), bDither(dither)
    {
    }
    uint32_t Channel(uint32_t word, int channel) const
    {
        return VyPixelFormat::Widen((word >> format.Shift(channel)) & format.ValueMask(channel), format.BitCount(channel));
    }
    Fragment Read(int x) const
    {
        const uint32_t word = row[2 * x] | (row[2 * x + 1] << 8);
        return {Channel(word, VY_RED), Channel(word, VY_GREEN), Channel(word, VY_BLUE), 255};
    }
    uint32_t Narrow(uint32_t value, int channel, uint32_t threshold) const
    {
        return ((value * format.ValueMask(channel) + threshold) / 255) << format.Shift(channel);
    }
    void Write(int x, uint32_t red, uint32_t green, uint32_t blue)
    {
        const uint32_t threshold = bDither ? Threshold(x, y) : 127;
        const uint32_t word =
            Narrow(red, VY_RED, threshold) | Narrow(green, VY_GREEN, threshold) | Narrow(blue, VY_BLUE, threshold);
        row[2 * x] = static_cast<uint8_t>(word);
        row[2 * x + 1] = static_cast<uint8_t>(word >> 8);
    }
};

uint32_t BlendChannel(uint32_t source, uint32_t dest, uint32_t alpha, VyRasterizer::Blend blend)
{
    uint32_t value = VyRasterizer::Multiply(source, alpha);
    value += blend == VyRasterizer::Blend::ALPHA ? VyRasterizer::Multiply(dest, 255 - alpha) : dest;
    return std::min<uint32_t>(value, 255);
}

int Wrap(long long value, int size)
{
    long long m = value % size;
    return static_cast<int>(m < 0 ? m + size : m);
}

} // namespace

void VyRasterizer::SetTarget(VyRGBFormat* pImage, bool bDither)
{
    m_pImage = pImage != nullptr && pImage->HasPixels() ? pImage : nullptr;
    m_bDither = bDither;
    m_clip = m_pImage ? VyRect{0, m_pImage->Height(), m_pImage->Width(), 0} : VyRect{};
}

void VyRasterizer::SetClip(const VyRect& rect)
{
    if (m_pImage == nullptr)
        return;
    m_clip = {std::max(rect.left, 0), std::min(rect.top, m_pImage->Height()), std::min(rect.right, m_pImage->Width()),
              std::max(rect.bottom, 0)};
}

bool VyRasterizer::ClipSpan(int y, int& x0, int& x1) const
{
    if (m_pImage == nullptr || y < m_clip.bottom || y >= m_clip.top)
        return false;
    x0 = std::max(x0, m_clip.left);
    x1 = std::min(x1, m_clip.right);
    return x0 < x1;
}

template <class Pixel, class Shade>
void VyRasterizer::SpanOf(int y, int x0, int x1, Blend blend, Shade&& shade)
{
    Pixel pixel(*m_pImage, y, m_bDither);
    for (int x = x0; x < x1; ++x)
    {
        const Fragment s = shade(x);
        if (blend == Blend::NONE)
        {
            pixel.Write(x, s.red, s.green, s.blue);
            continue;
        }
        if (s.alpha < 16) // alpha test: greater than 0.0625
            continue;
        const Fragment d = pixel.Read(x);
        pixel.Write(x, BlendChannel(s.red, d.red, s.alpha, blend), BlendChannel(s.green, d.green, s.alpha, blend),
                    BlendChannel(s.blue, d.blue, s.alpha, blend));
    }
}

template <class Shade>
void VyRasterizer::Span(int y, int x0, int x1, Blend blend, Shade&& shade)
{
    if (m_pImage->BitsPerPixel() == 32)
        SpanOf<Pixel32>(y, x0, x1, blend, shade);
    else if (m_pImage->BitsPerPixel() == 16)
        SpanOf<Pixel16>(y, x0, x1, blend, shade);
}

void VyRasterizer::FillRect(const VyRect& rect, const Paint& paint)
{
    if (m_pImage == nullptr)
        return;
    const Fragment color{paint.red, paint.green, paint.blue, paint.alpha};
    for (int y = std::max(rect.bottom, m_clip.bottom); y < std::min(rect.top, m_clip.top); ++y)
    {
        int x0 = rect.left, x1 = rect.right;
        if (ClipSpan(y, x0, x1))
            Span(y, x0, x1, paint.blend, [&](int) { return color; });
    }
}

void VyRasterizer::TexturedRect(const VyRect& dest, const VyRect& source, const VyRGBFormat& texels, const Paint& paint)
{
    if (m_pImage == nullptr || dest.IsEmpty() || !texels.HasPixels() || texels.FormatId() != VY_FORMAT_RGBA32)
        return;
    int x0 = dest.left, x1 = dest.right;
    if (!ClipSpan(m_clip.bottom, x0, x1))
        return;
    // The texel under each pixel centre: source.left + (x + 0.5 - dest.left) * source width / dest width.
    const double scaleX = static_cast<double>(source.Width()) / dest.Width();
    const double scaleY = static_cast<double>(source.Height()) / dest.Height();
    m_columns.resize(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        m_columns[static_cast<size_t>(x - x0)] =
            4 * Wrap(static_cast<long long>(std::floor(source.left + (x + 0.5 - dest.left) * scaleX)), texels.Width());
    const bool bWhite = paint.red == 255 && paint.green == 255 && paint.blue == 255 && paint.alpha == 255;
    for (int y = std::max(dest.bottom, m_clip.bottom); y < std::min(dest.top, m_clip.top); ++y)
    {
        const int row =
            Wrap(static_cast<long long>(std::floor(source.bottom + (y + 0.5 - dest.bottom) * scaleY)), texels.Height());
        const uint8_t* texelRow = texels.Row(row);
        const int* columns = m_columns.data() - x0;
        Span(y, x0, x1, paint.blend, [&](int x) {
            const uint8_t* t = texelRow + columns[x];
            if (bWhite)
                return Fragment{t[0], t[1], t[2], t[3]};
            return Fragment{Multiply(t[0], paint.red), Multiply(t[1], paint.green), Multiply(t[2], paint.blue),
                            Multiply(t[3], paint.alpha)};
        });
    }
}

void VyRasterizer::FillPolygon(const VyPoint* points, int count, const Paint& paint)
{
    if (m_pImage == nullptr || points == nullptr || count < 3)
        return;
    int minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i)
    {
        minY = std::min(minY, points[i].y);
        maxY = std::max(maxY, points[i].y);
    }
    const Fragment color{paint.red, paint.green, paint.blue, paint.alpha};
    std::vector<double> crossings;
    // Vertices lie on whole pixels, so the row centres y + 0.5 inside are those of rows minY..maxY-1.
    for (int y = std::max(minY, m_clip.bottom); y < std::min(maxY, m_clip.top); ++y)
    {
        crossings.clear();
        const double centre = y + 0.5;
        for (int i = 0; i < count; ++i)
        {
            const VyPoint& a = points[i];
            const VyPoint& b = points[(i + 1) % count];
            if ((a.y <= centre) == (b.y <= centre))
                continue;
            crossings.push_back(a.x + (centre - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
        {
            // Pixels whose centre x + 0.5 lies in [left crossing, right crossing).
            int x0 = static_cast<int>(std::ceil(crossings[i] - 0.5));
            int x1 = static_cast<int>(std::ceil(crossings[i + 1] - 0.5));
            if (ClipSpan(y, x0, x1))
                Span(y, x0, x1, paint.blend, [&](int) { return color; });
        }
    }
}

void VyRasterizer::Point(int x, int y, const Paint& paint)
{
    int x0 = x, x1 = x + 1;
    if (!ClipSpan(y, x0, x1))
        return;
    const Fragment color{paint.red, paint.green, paint.blue, paint.alpha};
    Span(y, x0, x1, paint.blend, [&](int) { return color; });
}

void VyRasterizer::Line(int x1, int y1, int x2, int y2, bool bIncludeEnd, const Paint& paint)
{
    // Walk from the lower end along the major axis (x when |dx| > |dy|, else y); the walk samples the
    // minor coordinate at each pixel centre, minor = start + 0.5 + i * delta / steps, and takes the
    // pixel under it, the lower one when the centre lies exactly between two.
    const bool bXMajor = std::abs(x2 - x1) > std::abs(y2 - y1);
    if (bXMajor ? x2 < x1 : y2 < y1)
    {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int dx = x2 - x1, dy = y2 - y1;
    const int steps = bXMajor ? dx : dy;
    if (steps == 0)
    {
        if (bIncludeEnd)
            Point(x1, y1, paint);
        return;
    }
    const long long denominator = 2LL * steps;
    const int last = bIncludeEnd ? steps : steps - 1;
    for (int i = 0; i <= last; ++i)
    {
        const long long numerator = (2LL * (bXMajor ? y1 : x1) + 1) * steps + 2LL * i * (bXMajor ? dy : dx);
        const int minor = VyFloorDiv(numerator - 1, denominator);
        if (bXMajor)
            Point(x1 + i, minor, paint);
        else
            Point(minor, y1 + i, paint);
    }
}
