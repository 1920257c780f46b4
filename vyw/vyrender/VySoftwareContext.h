#pragma once

#include <memory>
#include <vector>

#include "vybitmap/VyRGBFormat.h"
#include "vyrender/VyRasterizer.h"
#include "vyrender/VyRenderContext.h"

struct SDL_Surface;
struct SDL_Window;

// The part the two software render contexts share (VyNativeContext, VyDirectDraw): every primitive is
// drawn by VyRasterizer into a frame buffer image of the context's pixel format, with the pixel rules
// of the OpenGL context (see VyRenderContext), and shown at the end of the frame in the SDL window:
// the frame buffer is converted into the window surface (SDL_GetWindowSurface) and the surface
// updated; at a display scale above 1 every frame pixel becomes a factor x factor block of the surface.
// Without a window (tests, benchmarks) the frame buffer only stays readable.
//
// Textures are kept as RGBA images holding what the OpenGL context's internal formats hold: grey and
// alpha-only images as intensity (every channel the grey or alpha value), grey-and-alpha images as
// luminance and alpha, colour images with alpha 255 unless they carry one.
class VySoftwareContext : public VyRenderContext
{
public:
    // pWindow: the window the frame is shown in, or null; it must outlive the context.
    explicit VySoftwareContext(SDL_Window* pWindow);
    ~VySoftwareContext() override; // shuts down

    // Copies the frame buffer into the window (when there is one). A window surface that cannot be had
    // or updated throws VyException("<class>", "EndFrame", "Could not show the frame : <SDL error>").
    void EndFrame() override;
    // The frame buffer as a 24-bit RGB image.
    bool ReadFrame(rgb& image) override;
    void DrawTexture(const VyRect& dest, const VyRect& source) override;
    void DrawPolygon(const VyPoint* points, int count, VyPolygonStyle style) override;
    using VyRenderContext::DrawLine;
    void DrawLine(int x1, int y1, int x2, int y2, VyLineEnd end) override;
    void DrawPoints(const VyPoint* points, int count) override;
    // Formats as the OpenGL context takes them; others throw
    // VyException("<class>", "MakeTexture", "Unsupported texture format").
    int MakeTexture(const VyRGBFormat& image) override;
    void DeleteTexture(int textureId) override;
    bool IsSoftwareRenderer() const override { return true; }
    // Makes a new frame buffer of the size (opaque black); the clip becomes the whole frame.
    void Resize(int width, int height) override;
    // The rasteriser draws inside the clip from now on.
    void SetClipRect(const VyRect& rect) override;

    // The frame buffer (null before Initialize).
    const VyRGBFormat* GetFrameBuffer() const { return m_pFrame.get(); }
    // The texel image of a texture id (null when there is none).
    const VyRGBFormat* GetTextureImage(int textureId) const;

protected:
    void FillSolid(const VyRect& rect, const VyColor& color) override;
    // The class name used in exception texts.
    virtual const char* GetClassName() const = 0;
    // Chooses the frame buffer's format (VY_FORMAT_RGBA32, RGB32, RGB565 or RGB555) and dithering;
    // takes effect at the next Resize.
    void SetFrameFormat(int formatId, bool bDither);
    SDL_Window* GetWindow() const { return m_pWindow; }

private:
    // The rasteriser's pixel state for the current flags and a resolved colour.
    VyRasterizer::Paint MakePaint(const VyColor& color, bool bBlending) const;
    void DrawTexturedQuad(const VyRect& dest, const VyRect& source, const VyRGBFormat& texels);
    void Present();
    // The frame into the surface pixel for pixel, or blown up by the display scale; false when SDL
    // cannot convert the pixels (the reason in SDL_GetError).
    bool CopyUnscaled(SDL_Surface& surface);
    bool CopyScaled(SDL_Surface& surface);

    SDL_Window* m_pWindow = nullptr;
    int m_nFrameFormat = VY_FORMAT_RGBA32;
    bool m_bDither = false;
    std::unique_ptr<VyRGBFormat> m_pFrame;
    VyRasterizer m_rasterizer;
    std::vector<std::unique_ptr<VyRGBFormat>> m_textures; // index = id; null = free id
    std::vector<uint8_t> m_presentRow; // one frame row in the surface's format, while presenting
};
