#pragma once

#include "vyrender/VySoftwareContext.h"

// The "DirectDraw" render context: a software frame buffer in the screen's pixel format, taken from the
// SDL window's surface (16 bits per pixel: 5-6-5 or 5-5-5 as the surface has it; anything else 32-bit
// RGB). Without a window the bits given to Initialize choose it (16: 5-6-5, 15: 5-5-5, else 32-bit).
// Reports no alpha blending, so colour schemes read every alpha as 255 and fonts load their plain files;
// images with alpha still blend as everywhere else. `[DirectDraw] Dither` of vyw.cfg (default false)
// turns on ordered dithering when colours are narrowed to 16 bits.
class VyDirectDraw : public VySoftwareContext
{
public:
    explicit VyDirectDraw(SDL_Window* pWindow = nullptr);

    void Initialize(int width, int height, int bits, bool bFullScreen) override;
    bool SupportsAlphaBlending() const override { return false; }
    // "DirectDraw".
    VyString GetRendererName() const override;
    // 45. Whether colours are dithered when narrowed to a 16-bit frame buffer.
    virtual bool IsDithering() const { return m_bDithering; }

protected:
    const char* GetClassName() const override { return "VyDirectDraw"; }

private:
    bool m_bDithering = false;
};
