#include "vybitmap/VyRGBFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "vybitmap/VyAlpha8.h"
#include "vybitmap/VyChannels.h"
#include "vybitmap/VyGrey8.h"
#include "vybitmap/VyGreyAlpha16.h"
#include "vybitmap/VyRGB16.h"
#include "vybitmap/VyRGB32.h"
#include "vybitmap/VyRGBA32.h"
#include "vybitmap/VyRGBMono.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

std::unique_ptr<VyRGBFormat> VyRGBFormat::NewOfClass(int formatId)
{
    VyPixelFormat check(formatId); // throws "Unsupported format" for an unknown id
    switch (formatId)
    {
    case VY_FORMAT_MONO:
        return std::unique_ptr<VyRGBFormat>(new VyRGBMono());
    case VY_FORMAT_RGB555:
    case VY_FORMAT_RGB565:
        return std::unique_ptr<VyRGBFormat>(new VyRGB16(formatId));
    case VY_FORMAT_RGB32:
        return std::unique_ptr<VyRGBFormat>(new VyRGB32());
    case VY_FORMAT_RGBA32:
        return std::unique_ptr<VyRGBFormat>(new VyRGBA32());
    case VY_FORMAT_GREY8:
        return std::unique_ptr<VyRGBFormat>(new VyGrey8());
    case VY_FORMAT_GREY_ALPHA16:
        return std::unique_ptr<VyRGBFormat>(new VyGreyAlpha16());
    case VY_FORMAT_ALPHA8:
        return std::unique_ptr<VyRGBFormat>(new VyAlpha8());
    default:
        return std::unique_ptr<VyRGBFormat>(new VyRGBFormat(formatId));
    }
}

int64_t VyRGBFormat::RowPitch(int formatId, int64_t width, int alignment)
{
    const VyPixelFormat format(formatId);
    const int64_t packed = format.PitchFor(width, VY_ALIGN_BYTE);
    if (packed < 0)
        return -1;
    if (alignment == VY_ALIGN_BYTE || alignment == VY_ALIGN_16 || alignment == VY_ALIGN_32 ||
        alignment == VY_ALIGN_PITCH)
        return format.PitchFor(width, alignment);
    return alignment >= packed && alignment <= VY_MAX_PITCH ? alignment : -1;
}

void VyRGBFormat::SetGeometry(int width, int height, int alignment, const char* method)
{
    const int64_t pitch = RowPitch(m_format.Id(), width, alignment);
    if (width < 0 || height < 0 || width > VY_MAX_IMAGE_SIDE || height > VY_MAX_IMAGE_SIDE || pitch < 0)
        throw VyException("VyRGBFormat", method, "Unable to allocate buffer");
    const bool standardMode = alignment == VY_ALIGN_BYTE || alignment == VY_ALIGN_16 || alignment == VY_ALIGN_32 ||
                              alignment == VY_ALIGN_PITCH;
    m_width = width;
    m_height = height;
    m_nAlignment = standardMode ? alignment : VY_ALIGN_PITCH;
    m_pitch = static_cast<int>(pitch);
}

void VyRGBFormat::AllocateBuffer(const char* method)
{
    m_ownedBuffer.clear();
    m_ownedBuffer.shrink_to_fit();
    m_pBuffer = nullptr;
    const size_t size = BufferSize();
    if (size == 0)
        return;
    try
    {
        m_ownedBuffer.resize(size);
    }
    catch (const std::bad_alloc&)
    {
        throw VyException("VyRGBFormat", method, "Unable to allocate buffer");
    }
    m_pBuffer = m_ownedBuffer.data();
}

std::unique_ptr<VyRGBFormat> VyRGBFormat::Create(int width, int height, int formatId, int alignment,
                                                 uint32_t fillColour)
{
    std::unique_ptr<VyRGBFormat> image = NewOfClass(formatId);
    image->SetGeometry(width, height, alignment, "Create");
    image->AllocateBuffer("Create");
    // The buffer starts zeroed, which already is opaque black without alpha.
    const bool zeroIsFill = image->m_format.ColourToWord(fillColour) == 0 && !image->HasAlpha();
    if (image->HasPixels() && !zeroIsFill)
        image->Fill(VyRect{0, height, width, 0}, fillColour);
    return image;
}

std::unique_ptr<VyRGBFormat> VyRGBFormat::CreateGeneric(int width, int height, int formatId, int alignment,
                                                        uint32_t fillColour)
{
    std::unique_ptr<VyRGBFormat> image(new VyRGBFormat(formatId));
    image->SetGeometry(width, height, alignment, "Create");
    image->AllocateBuffer("Create");
    if (image->HasPixels())
        image->Fill(VyRect{0, height, width, 0}, fillColour);
    return image;
}

std::unique_ptr<VyRGBFormat> VyRGBFormat::Attach(int width, int height, int formatId, int alignment,
                                                 uint8_t* buffer, size_t bufferSize)
{
    std::unique_ptr<VyRGBFormat> image = NewOfClass(formatId);
    image->SetGeometry(width, height, alignment, "Attach");
    if (image->BufferSize() > 0)
    {
        if (buffer == nullptr || bufferSize < image->BufferSize())
            throw VyException("VyRGBFormat", "Attach", "Buffer too small");
        image->m_pBuffer = buffer;
    }
    return image;
}

std::unique_ptr<VyRGBFormat> VyRGBFormat::Clone() const
{
    std::unique_ptr<VyRGBFormat> copy = NewOfClass(FormatId());
    copy->m_width = m_width;
    copy->m_height = m_height;
    copy->m_nAlignment = m_nAlignment;
    copy->m_pitch = m_pitch;
    copy->AllocateBuffer("Clone");
    if (copy->HasPixels())
        std::memcpy(copy->m_pBuffer, m_pBuffer, BufferSize());
    return copy;
}

VyRGBFormat& VyRGBFormat::operator=(const VyRGBFormat& source)
{
    if (this == &source || !source.HasPixels())
        return *this;
    // Build the new geometry and buffer aside, so a failure leaves this image as it was.
    int64_t pitch = RowPitch(FormatId(), source.m_width, source.m_nAlignment);
    if (pitch < 1)
        pitch = source.m_pitch;
    std::vector<uint8_t> buffer;
    try
    {
        buffer.resize(static_cast<size_t>(pitch) * static_cast<size_t>(source.m_height));
    }
    catch (const std::bad_alloc&)
    {
        throw VyException("VyRGBFormat", "operator=", "Unable to allocate buffer");
    }
    m_ownedBuffer = std::move(buffer);
    m_pBuffer = m_ownedBuffer.data();
    m_width = source.m_width;
    m_height = source.m_height;
    m_nAlignment = source.m_nAlignment;
    m_pitch = static_cast<int>(pitch);

    if (FormatId() == source.FormatId() && BufferSize() == source.BufferSize() && m_pitch == source.m_pitch)
    {
        std::memcpy(m_pBuffer, source.m_pBuffer, BufferSize());
        return *this;
    }
    for (int x = 0; x < m_width; ++x)
        for (int y = 0; y < m_height; ++y)
            WriteColour(x, y, source.ReadColour(x, y));
    return *this;
}

uint32_t VyRGBFormat::GetPixel(int x, int y) const
{
    const bool inside = HasPixels() && Contains(x, y);
    VY_ASSERT_TEXT(inside, "x>=0 && x<m_width && y>=0 && y<m_height");
    return inside ? ReadColour(x, y) : 0;
}

void VyRGBFormat::SetPixel(int x, int y, uint32_t colour)
{
    const bool inside = HasPixels() && Contains(x, y);
    VY_ASSERT_TEXT(inside, "x>=0 && x<m_width && y>=0 && y<m_height");
    if (inside)
        WriteColour(x, y, colour);
}

uint32_t VyRGBFormat::ReadColour(int x, int y) const
{
    const int bytes = m_format.BytesPerPixel();
    const uint8_t* pixel = Row(y) + static_cast<ptrdiff_t>(x) * bytes;
    uint32_t word = 0;
    for (int i = 0; i < bytes; ++i)
        word |= static_cast<uint32_t>(pixel[i]) << (8 * i);
    return m_format.WordToColour(word);
}

void VyRGBFormat::WriteColour(int x, int y, uint32_t colour)
{
    const int bytes = m_format.BytesPerPixel();
    uint8_t* pixel = Row(y) + static_cast<ptrdiff_t>(x) * bytes;
    uint32_t word = 0;
    for (int i = 0; i < bytes; ++i)
        word |= static_cast<uint32_t>(pixel[i]) << (8 * i);
    word = (word & ~m_format.Mask()) | m_format.ColourToWord(colour);
    for (int i = 0; i < bytes; ++i)
        pixel[i] = static_cast<uint8_t>(word >> (8 * i));
}

void VyRGBFormat::Line(int x1, int y1, int x2, int y2, uint32_t colour)
{
    if (!HasPixels())
        return;
    if (x1 == x2 && y1 == y2)
    {
        if (Contains(x1, y1))
            WriteColour(x1, y1, colour);
        return;
    }
    const double slope = (static_cast<double>(y2) - y1) / (static_cast<double>(x2) - x1);
    if (std::fabs(slope) > 1)
    {
        // Steep: one pixel per row, only the rows inside the image.
        const int64_t from = std::max<int64_t>(std::min(y1, y2), 0);
        const int64_t to = std::min<int64_t>(std::max(y1, y2), m_height - 1);
        for (int64_t y = from; y <= to; ++y)
        {
            const double x = x1 + (static_cast<double>(y) - y1) / slope;
            if (x >= 0 && x < m_width)
                WriteColour(static_cast<int>(x), static_cast<int>(y), colour);
        }
        return;
    }
    const int64_t from = std::max<int64_t>(std::min(x1, x2), 0);
    const int64_t to = std::min<int64_t>(std::max(x1, x2), m_width - 1);
    for (int64_t x = from; x <= to; ++x)
    {
        const double y = y1 + (static_cast<double>(x) - x1) * slope;
        if (y >= 0 && y < m_height)
            WriteColour(static_cast<int>(x), static_cast<int>(y), colour);
    }
}

void VyRGBFormat::Flip()
{
    if (!HasPixels())
        return;
    std::vector<uint8_t> swap(static_cast<size_t>(m_pitch));
    for (int i = 0; i < m_height / 2; ++i)
    {
        uint8_t* low = Row(i);
        uint8_t* high = Row(m_height - 1 - i);
        std::memcpy(swap.data(), low, swap.size());
        std::memcpy(low, high, swap.size());
        std::memcpy(high, swap.data(), swap.size());
    }
}

bool VyRGBFormat::ClipFill(const VyRect& rect, VyBlitArea& area) const
{
    if (!HasPixels() || rect.IsEmpty())
        return false;
    const int64_t left = std::max<int64_t>(rect.left, 0);
    const int64_t bottom = std::max<int64_t>(rect.bottom, 0);
    const int64_t right = std::min<int64_t>(rect.right, m_width);
    const int64_t top = std::min<int64_t>(rect.top, m_height);
    if (right <= left || top <= bottom)
        return false;
    area.destX = static_cast<int>(left);
    area.destY = static_cast<int>(bottom);
    area.width = static_cast<int>(right - left);
    area.height = static_cast<int>(top - bottom);
    return true;
}

bool VyRGBFormat::ClipBlit(const VyRect& dest, const VyRGBFormat& source, const VyRect& src,
                           VyBlitArea& area) const
{
    if (!HasPixels() || !source.HasPixels() || dest.IsEmpty() || src.IsEmpty())
        return false;
    VY_ASSERT(dest.bottom>=0);
    VY_ASSERT(dest.bottom<m_height);
    VY_ASSERT(dest.left>=0);
    VY_ASSERT(dest.left<m_width);
    VY_ASSERT_TEXT(src.bottom >= 0, "src.bottom>=0");
    VY_ASSERT_TEXT(src.bottom < source.Height(), "src.bottom<rgb.Height()");
    VY_ASSERT_TEXT(src.left >= 0, "src.left>=0");
    VY_ASSERT_TEXT(src.left < source.Width(), "src.left<rgb.Width()");

    // 64-bit arithmetic: rectangle sides may be anywhere in the int range.
    int64_t width = std::min(int64_t{dest.right} - dest.left, int64_t{src.right} - src.left);
    int64_t height = std::min(int64_t{dest.top} - dest.bottom, int64_t{src.top} - src.bottom);
    int64_t dx = dest.left, dy = dest.bottom, sx = src.left, sy = src.bottom;
    auto clipLow = [](int64_t& a, int64_t& b, int64_t& size) {
        if (a < 0) { size += a; b -= a; a = 0; }
        if (b < 0) { size += b; a -= b; b = 0; }
    };
    clipLow(dx, sx, width);
    clipLow(dy, sy, height);
    width = std::min({width, int64_t{m_width} - dx, int64_t{source.m_width} - sx});
    height = std::min({height, int64_t{m_height} - dy, int64_t{source.m_height} - sy});
    if (width <= 0 || height <= 0)
        return false;
    area = VyBlitArea{static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(sx),
                      static_cast<int>(sy), static_cast<int>(width), static_cast<int>(height)};
    return true;
}

void VyRGBFormat::Fill(const VyRect& rect, uint32_t colour, const VyRGBFx& fx)
{
    VyBlitArea area;
    if (!fx.m_bEnabled || !ClipFill(rect, area))
        return;
    FillArea(area, colour, fx.m_strength);
}

void VyRGBFormat::FillArea(const VyBlitArea& area, uint32_t colour, int strength)
{
    FillGeneric(area, colour, strength);
}

void VyRGBFormat::BlitArea(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx)
{
    BlitGeneric(area, source, fx);
}

void VyRGBFormat::FillGeneric(const VyBlitArea& area, uint32_t colour, int strength)
{
    if (strength >= 255)
    {
        FillPlain(area, colour);
        return;
    }
    const VyChannels target = VyChannels::Narrow(colour, m_format);
    for (int y = area.destY; y < area.destY + area.height; ++y)
        for (int x = area.destX; x < area.destX + area.width; ++x)
        {
            VyChannels pixel = VyChannels::Narrow(ReadColour(x, y), m_format);
            pixel.MixTowards(target, strength);
            WriteColour(x, y, pixel.Widen(m_format));
        }
}

namespace
{
// Copies the bytes of the area's first pixel over the whole area. The pixel size is a constant, so
// that the copy compiles to plain stores.
template <size_t BYTES>
void RepeatFirstPixel(VyRGBFormat& image, const VyBlitArea& area)
{
    uint8_t pattern[BYTES];
    std::memcpy(pattern, image.Row(area.destY) + static_cast<ptrdiff_t>(area.destX) * BYTES, BYTES);
    for (int y = area.destY; y < area.destY + area.height; ++y)
    {
        uint8_t* pixel = image.Row(y) + static_cast<ptrdiff_t>(area.destX) * BYTES;
        for (int x = 0; x < area.width; ++x, pixel += BYTES)
            std::memcpy(pixel, pattern, BYTES);
    }
}
} // namespace

void VyRGBFormat::FillPlain(const VyBlitArea& area, uint32_t colour)
{
    const int bits = m_format.BitsPerPixel();
    const int bytes = bits / 8;
    const bool wholeBytes = bits % 8 == 0 && bytes > 0 && bytes <= 4 &&
                            (bytes == 4 ? m_format.Mask() == 0xFFFFFFFFu : m_format.Mask() == (1u << bits) - 1);
    if (!wholeBytes)
    {
        for (int y = area.destY; y < area.destY + area.height; ++y)
            for (int x = area.destX; x < area.destX + area.width; ++x)
                WriteColour(x, y, colour);
        return;
    }
    // Every bit of a pixel belongs to the format: write one pixel and copy its bytes.
    WriteColour(area.destX, area.destY, colour);
    switch (bytes)
    {
    case 1:
        RepeatFirstPixel<1>(*this, area);
        break;
    case 2:
        RepeatFirstPixel<2>(*this, area);
        break;
    case 3:
        RepeatFirstPixel<3>(*this, area);
        break;
    default:
        RepeatFirstPixel<4>(*this, area);
        break;
    }
}

void VyRGBFormat::Blit(const VyRect& dest, const VyRGBFormat& source, const VyRect& src, const VyRGBFx& fx)
{
    VyBlitArea area;
    if (!fx.m_bEnabled || !ClipBlit(dest, source, src, area))
        return;
    VyRGBFx prepared = fx;
    prepared.Prepare(m_format);
    if (&source == this)
    {
        // Overlapping rows of one image: read from a copy so nothing is read after it was drawn.
        std::unique_ptr<VyRGBFormat> copy = Clone();
        BlitArea(area, *copy, prepared);
        return;
    }
    BlitArea(area, source, prepared);
}

void VyRGBFormat::BlitGeneric(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx)
{
    const bool neutral = fx.IsNeutral();
    const uint32_t alphaMax = m_format.ValueMask(VY_ALPHA);
    for (int row = 0; row < area.height; ++row)
        for (int column = 0; column < area.width; ++column)
        {
            const int x = area.destX + column;
            const int y = area.destY + row;
            const uint32_t colour = source.ReadColour(area.srcX + column, area.srcY + row);
            const uint32_t alpha = fx.ScaleAlpha(VyAlphaOf(colour));
            if (alpha == 0)
                continue;
            VyChannels result = VyChannels::Narrow(colour, m_format);
            if (!neutral)
                result.Tint(fx);
            if (alpha == 255)
            {
                result.value[VY_ALPHA] = alphaMax;
                WriteColour(x, y, result.Widen(m_format));
                continue;
            }
            VyChannels pixel = VyChannels::Narrow(ReadColour(x, y), m_format);
            pixel.BlendOver(result, alpha, alphaMax);
            WriteColour(x, y, pixel.Widen(m_format));
        }
}
