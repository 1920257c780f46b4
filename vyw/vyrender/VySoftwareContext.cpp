#include "vyrender/VySoftwareContext.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{

// What the OpenGL context's internal format makes of a pixel (ARGB in, RGBA bytes out).
void TexelOf(int formatId, uint32_t colour, uint8_t* texel)
{
    uint32_t red = VyRedOf(colour), green = VyGreenOf(colour), blue = VyBlueOf(colour), alpha = VyAlphaOf(colour);
    switch (formatId)
    {
    case VY_FORMAT_GREY8: // intensity
        alpha = red;
        break;
    case VY_FORMAT_ALPHA8: // intensity from the alpha byte
        red = green = blue = alpha;
        break;
    case VY_FORMAT_MONO:
    case VY_FORMAT_RGB24:
    case VY_FORMAT_RGB32:
        alpha = 255;
        break;
    default: // RGBA, grey and alpha
        break;
    }
    texel[0] = static_cast<uint8_t>(red);
    texel[1] = static_cast<uint8_t>(green);
    texel[2] = static_cast<uint8_t>(blue);
    texel[3] = static_cast<uint8_t>(alpha);
}

bool IsTextureFormat(int formatId)
{
    switch (formatId)
    {
    case VY_FORMAT_MONO:
    case VY_FORMAT_RGB24:
    case VY_FORMAT_RGB32:
    case VY_FORMAT_RGBA32:
    case VY_FORMAT_GREY8:
    case VY_FORMAT_GREY_ALPHA16:
    case VY_FORMAT_ALPHA8:
        return true;
    default:
        return false;
    }
}

// The SDL pixel format of a frame buffer format (bytes in memory order for the 32-bit ones).
Uint32 SdlFormatOf(int formatId)
{
    switch (formatId)
    {
    case VY_FORMAT_RGBA32:
        return SDL_PIXELFORMAT_RGBA32;
    case VY_FORMAT_RGB32:
        return SDL_MasksToPixelFormatEnum(32, SDL_SwapLE32(0x000000FF), SDL_SwapLE32(0x0000FF00),
                                          SDL_SwapLE32(0x00FF0000), 0);
    case VY_FORMAT_RGB565:
        return SDL_PIXELFORMAT_RGB565;
    default:
        return SDL_PIXELFORMAT_RGB555;
    }
}

// Output pixel i of a row takes input pixel i / factor; pixels of BYTES bytes.
template <int BYTES>
void WidenPixels(const uint8_t* pIn, uint8_t* pOut, int outCount, int factor)
{
    for (int x = 0; x < outCount; x += factor)
    {
        const uint8_t* pPixel = pIn + static_cast<ptrdiff_t>(x / factor) * BYTES;
        const int end = std::min(x + factor, outCount);
        for (int i = x; i < end; ++i)
            std::memcpy(pOut + static_cast<ptrdiff_t>(i) * BYTES, pPixel, BYTES);
    }
}

void WidenRow(const uint8_t* pIn, uint8_t* pOut, int outCount, int bytes, int factor)
{
    switch (bytes)
    {
    case 1:
        return WidenPixels<1>(pIn, pOut, outCount, factor);
    case 2:
        return WidenPixels<2>(pIn, pOut, outCount, factor);
    case 3:
        return WidenPixels<3>(pIn, pOut, outCount, factor);
    default:
        return WidenPixels<4>(pIn, pOut, outCount, factor);
    }
}

} // namespace

VySoftwareContext::VySoftwareContext(SDL_Window* pWindow) : m_pWindow(pWindow) {}

VySoftwareContext::~VySoftwareContext()
{
    VyRenderContext::Shutdown();
}

void VySoftwareContext::SetFrameFormat(int formatId, bool bDither)
{
    m_nFrameFormat = formatId;
    m_bDither = bDither;
}

void VySoftwareContext::Resize(int width, int height)
{
    VyRenderContext::Resize(width, height);
    m_pFrame = VyRGBFormat::Create(GetWidth(), GetHeight(), m_nFrameFormat, VY_ALIGN_32);
    m_rasterizer.SetTarget(m_pFrame.get(), m_bDither);
    m_rasterizer.SetClip(m_clip);
}

void VySoftwareContext::SetClipRect(const VyRect& rect)
{
    VyRenderContext::SetClipRect(rect);
    m_rasterizer.SetClip(m_clip);
}

VyRasterizer::Paint VySoftwareContext::MakePaint(const VyColor& color, bool bBlending) const
{
    VyRasterizer::Paint paint;
    paint.red = color.GetRed();
    paint.green = color.GetGreen();
    paint.blue = color.GetBlue();
    paint.alpha = color.GetAlpha();
    paint.blend = bBlending ? VyRasterizer::Blend::ALPHA : VyRasterizer::Blend::NONE;
    return paint;
}

void VySoftwareContext::FillSolid(const VyRect& rect, const VyColor& color)
{
    m_rasterizer.FillRect(rect, MakePaint(color, color.GetAlpha() != 255));
}

void VySoftwareContext::DrawTexture(const VyRect& dest, const VyRect& source)
{
    const VyRGBFormat* pTexels = GetTextureImage(m_texture.GetId());
    VyColor color;
    if (pTexels == nullptr || dest.IsEmpty() || !ResolveCurrentColor(color))
        return;
    VY_ASSERT_TEXT(m_nImageMode == VY_IMAGE_NORMAL || m_nImageMode == VY_IMAGE_HIGHLIGHT, "false");
    CountTextured(dest);
    const VyRect area = EffectiveSource(source, m_texture.GetWidth(), m_texture.GetHeight());
    if (m_nImageMode == VY_IMAGE_HIGHLIGHT)
    {
        m_rasterizer.TexturedRect(dest, area, *pTexels, MakePaint(VyColor(0xFFFFFF), m_bBlending));
        VyRasterizer::Paint additive = MakePaint(color, true);
        additive.blend = VyRasterizer::Blend::ADDITIVE;
        m_rasterizer.TexturedRect(dest, area, *pTexels, additive);
    }
    else if (m_nImageMode == VY_IMAGE_NORMAL)
        m_rasterizer.TexturedRect(dest, area, *pTexels, MakePaint(color, m_bBlending));
}

void VySoftwareContext::DrawPolygon(const VyPoint* points, int count, VyPolygonStyle style)
{
    VyColor color;
    if (points == nullptr || count <= 0 || !ResolveCurrentColor(color))
        return;
    const VyRasterizer::Paint paint = MakePaint(color, m_bBlending);
    if (style == VyPolygonStyle::FILLED)
    {
        m_rasterizer.FillPolygon(points, count, paint);
        return;
    }
    for (int i = 0; i < count; ++i)
    {
        const VyPoint& a = points[i];
        const VyPoint& b = points[(i + 1) % count];
        m_rasterizer.Line(a.x, a.y, b.x, b.y, false, paint);
    }
}

void VySoftwareContext::DrawLine(int x1, int y1, int x2, int y2, VyLineEnd end)
{
    VyColor color;
    if (!ResolveCurrentColor(color))
        return;
    m_rasterizer.Line(x1, y1, x2, y2, end == VyLineEnd::INCLUDED, MakePaint(color, m_bBlending));
}

void VySoftwareContext::DrawPoints(const VyPoint* points, int count)
{
    VyColor color;
    if (points == nullptr || !ResolveCurrentColor(color))
        return;
    const VyRasterizer::Paint paint = MakePaint(color, m_bBlending);
    for (int i = 0; i < count; ++i)
        m_rasterizer.Point(points[i].x, points[i].y, paint);
}

int VySoftwareContext::MakeTexture(const VyRGBFormat& image)
{
    if (!IsTextureFormat(image.FormatId()))
        throw VyException(GetClassName(), "MakeTexture", "Unsupported texture format");
    auto pTexels = VyRGBFormat::Create(image.Width(), image.Height(), VY_FORMAT_RGBA32);
    for (int y = 0; y < image.Height(); ++y)
    {
        uint8_t* row = pTexels->Row(y);
        for (int x = 0; x < image.Width(); ++x)
            TexelOf(image.FormatId(), image.GetPixel(x, y), row + 4 * x);
    }
    auto freeSlot = std::find(m_textures.begin(), m_textures.end(), nullptr);
    if (freeSlot != m_textures.end())
    {
        *freeSlot = std::move(pTexels);
        return static_cast<int>(freeSlot - m_textures.begin());
    }
    m_textures.push_back(std::move(pTexels));
    return static_cast<int>(m_textures.size()) - 1;
}

void VySoftwareContext::DeleteTexture(int textureId)
{
    if (textureId >= 0 && textureId < static_cast<int>(m_textures.size()))
        m_textures[static_cast<size_t>(textureId)].reset();
}

const VyRGBFormat* VySoftwareContext::GetTextureImage(int textureId) const
{
    if (textureId < 0 || textureId >= static_cast<int>(m_textures.size()))
        return nullptr;
    return m_textures[static_cast<size_t>(textureId)].get();
}

bool VySoftwareContext::ReadFrame(rgb& image)
{
    if (!m_pFrame || !m_pFrame->HasPixels())
        return false;
    // Narrow channels are widened with their high bits repeated, so that white reads 255 as drawn.
    const VyPixelFormat& format = m_pFrame->PixelFormat();
    auto pCopy = VyRGBFormat::Create(m_pFrame->Width(), m_pFrame->Height(), VY_FORMAT_RGB24, VY_ALIGN_32);
    for (int y = 0; y < m_pFrame->Height(); ++y)
    {
        uint8_t* pOut = pCopy->Row(y);
        for (int x = 0; x < m_pFrame->Width(); ++x)
        {
            const uint32_t colour = m_pFrame->GetPixel(x, y);
            for (int channel : {VY_RED, VY_GREEN, VY_BLUE})
            {
                const int bits = format.BitCount(channel);
                const uint32_t value = VyComponentOf(colour, channel) >> (8 - bits);
                *pOut++ = static_cast<uint8_t>(VyPixelFormat::Widen(value, bits));
            }
        }
    }
    image.Reset(std::move(pCopy));
    return true;
}

void VySoftwareContext::EndFrame()
{
    if (m_pWindow != nullptr && m_pFrame && m_pFrame->HasPixels())
        Present();
}

void VySoftwareContext::Present()
{
    SDL_Surface* pSurface = SDL_GetWindowSurface(m_pWindow);
    if (pSurface == nullptr)
        throw VyException(GetClassName(), "EndFrame", VyString("Could not show the frame : ") + SDL_GetError());
    if (SDL_MUSTLOCK(pSurface) && SDL_LockSurface(pSurface) != 0)
        throw VyException(GetClassName(), "EndFrame", VyString("Could not show the frame : ") + SDL_GetError());
    const bool bCopied = m_nDisplayScale > 1 ? CopyScaled(*pSurface) : CopyUnscaled(*pSurface);
    if (SDL_MUSTLOCK(pSurface))
        SDL_UnlockSurface(pSurface);
    if (!bCopied || SDL_UpdateWindowSurface(m_pWindow) != 0)
        throw VyException(GetClassName(), "EndFrame", VyString("Could not show the frame : ") + SDL_GetError());
}

bool VySoftwareContext::CopyUnscaled(SDL_Surface& surface)
{
    // The frame's rows go bottom up, the surface's top down.
    const int width = std::min(surface.w, m_pFrame->Width());
    const int height = std::min(surface.h, m_pFrame->Height());
    const Uint32 sourceFormat = SdlFormatOf(m_pFrame->FormatId());
    for (int y = 0; y < height; ++y)
    {
        auto* pDest = static_cast<uint8_t*>(surface.pixels) + static_cast<ptrdiff_t>(y) * surface.pitch;
        if (SDL_ConvertPixels(width, 1, sourceFormat, m_pFrame->Row(m_pFrame->Height() - 1 - y), m_pFrame->Pitch(),
                              surface.format->format, pDest, surface.pitch) != 0)
            return false;
    }
    return true;
}

bool VySoftwareContext::CopyScaled(SDL_Surface& surface)
{
    // Each frame row is converted once, widened into the first surface row of its block, and that row
    // copied to the block's other rows. Blocks the surface cuts are cut with it.
    const int factor = m_nDisplayScale;
    const int bytes = surface.format->BytesPerPixel;
    const int width = std::min(m_pFrame->Width(), (surface.w + factor - 1) / factor);
    const int height = std::min(m_pFrame->Height(), (surface.h + factor - 1) / factor);
    const int outWidth = std::min(surface.w, width * factor);
    const Uint32 sourceFormat = SdlFormatOf(m_pFrame->FormatId());
    m_presentRow.resize(static_cast<size_t>(width) * static_cast<size_t>(bytes));
    for (int y = 0; y < height; ++y)
    {
        if (SDL_ConvertPixels(width, 1, sourceFormat, m_pFrame->Row(m_pFrame->Height() - 1 - y), m_pFrame->Pitch(),
                              surface.format->format, m_presentRow.data(), width * bytes) != 0)
            return false;
        auto* pFirst = static_cast<uint8_t*>(surface.pixels) + static_cast<ptrdiff_t>(y) * factor * surface.pitch;
        WidenRow(m_presentRow.data(), pFirst, outWidth, bytes, factor);
        for (int copy = 1; copy < factor && y * factor + copy < surface.h; ++copy)
            std::memcpy(pFirst + static_cast<ptrdiff_t>(copy) * surface.pitch, pFirst,
                        static_cast<size_t>(outWidth) * static_cast<size_t>(bytes));
    }
    return true;
}
