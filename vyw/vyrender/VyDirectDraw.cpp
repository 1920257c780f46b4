#include "vyrender/VyDirectDraw.h"

#include <SDL.h>

#include "vyio/VyConfigFile.h"

namespace
{

// The frame buffer format for a screen of the given depth and green mask.
int FormatForScreen(int bits, Uint32 greenMask)
{
    if (bits == 15 || (bits == 16 && greenMask == 0x03E0))
        return VY_FORMAT_RGB555;
    if (bits == 16)
        return VY_FORMAT_RGB565;
    return VY_FORMAT_RGB32;
}

} // namespace

VyDirectDraw::VyDirectDraw(SDL_Window* pWindow) : VySoftwareContext(pWindow) {}

void VyDirectDraw::Initialize(int width, int height, int bits, bool /*bFullScreen*/)
{
    {
        VyConfigFile config("vyw.cfg");
        m_bDithering = config.GetBool("DirectDraw", "Dither", false);
    }
    int format = FormatForScreen(bits, bits == 16 ? 0x07E0 : 0);
    if (GetWindow() != nullptr)
    {
        if (SDL_Surface* pSurface = SDL_GetWindowSurface(GetWindow()))
            format = FormatForScreen(pSurface->format->BitsPerPixel, pSurface->format->Gmask);
    }
    SetFrameFormat(format, m_bDithering);
    SetPixelFormatText(format == VY_FORMAT_RGB32 ? 32 : 16);
    InitializeCommon(width, height);
}

VyString VyDirectDraw::GetRendererName() const
{
    return "DirectDraw";
}
