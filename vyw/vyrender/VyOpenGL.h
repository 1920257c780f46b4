#pragma once

#include <functional>
#include <memory>

#include "vyrender/VyRenderContext.h"

// Finds an OpenGL entry point by name; null when there is none.
using VyGLProcResolver = std::function<void*(const char* name)>;

// The OpenGL render context (OpenGL 1.1 immediate mode, compatibility profile). The platform makes the
// window and the OpenGL context and makes it current before constructing this object, and swaps the
// buffers after EndFrame; this object only draws.
//
// Drawing state is kept lazily:
//   - primitives: consecutive primitives of one mode share one glBegin/glEnd (quads of fills, glyphs,
//     textures and tiles all batch together); any other state call closes the open primitive first
//   - blending and texturing flags are pending until the next primitive (setting a flag back to its
//     value cancels the change); the alpha test (> 0.0625) goes on and off with blending
//   - glBindTexture only when the selected texture's id differs from the bound one
// Horizontal and vertical lines are drawn as one-pixel quads; other lines as GL_LINES between pixel
// centres, sent from their lower end along the major axis (OpenGL keeps that end and leaves out the
// other); polygon outlines as such lines segment by segment; points as GL_POINTS at pixel centres.
//
// At a display scale above 1 the frame is drawn as ever into the bottom-left frame-size corner of the
// window's buffer; EndFrame copies it into a texture (glCopyTexSubImage2D) and draws that over the whole
// window with nearest sampling. Only OpenGL 1.1 is needed for it.
class VyOpenGL : public VyRenderContext
{
public:
    // Resolves every entry point the context uses by name through resolver (SDL_GL_GetProcAddress when
    // empty). A missing one throws VyException("VyOpenGL", "LoadFunc", "Failed to load " + name).
    explicit VyOpenGL(VyGLProcResolver resolver = {});
    ~VyOpenGL() override; // shuts down

    void Shutdown() override;
    // Sets the initial OpenGL state, the pixel-format text ("<bits>-bit"), the size and the fonts.
    void Initialize(int width, int height, int bits, bool bFullScreen) override;
    // The viewport becomes the rectangle and the projection exactly its coordinates, so that drawing
    // stays in window coordinates while everything outside is cut. Empty rectangles are ignored.
    void SetClipRect(const VyRect& rect) override;
    void BeginFrame() override;
    // Closes the open primitive, takes a screenshot asked for between frames, blows the frame up to the
    // window at a display scale above 1, and flushes.
    void EndFrame() override;
    // glReadPixels of the whole frame as RGB bytes (the buffer being drawn); after a frame was blown up
    // the frame is read from the texture it was blown up from, so it stays the frame size.
    bool ReadFrame(rgb& image) override;
    // Inside a frame: at once. Between frames (the back buffer is then undefined): taken at the end of
    // the next frame, before the swap; returns true for the request.
    bool SaveScreenshot() override;
    // "OpenGL (" + GL_VENDOR + ")".
    VyString GetRendererName() const override;
    void DrawTexture(const VyRect& dest, const VyRect& source) override;
    void SelectTexture(const VyTexture& texture) override;
    void DrawPolygon(const VyPoint* points, int count, VyPolygonStyle style) override;
    using VyRenderContext::DrawLine;
    void DrawLine(int x1, int y1, int x2, int y2, VyLineEnd end) override;
    void DrawPoints(const VyPoint* points, int count) override;
    int MakeTexture(const VyRGBFormat& image) override;
    void DeleteTexture(int textureId) override;
    // Viewport the whole frame, orthographic projection (0, width, 0, height, -1, 1). At a display scale
    // above 1 it (re)makes the texture the frame is blown up from; one OpenGL refuses throws
    // VyException("VyOpenGL", "Resize", "The frame cannot be scaled : OpenGL error 0x....").
    void Resize(int width, int height) override;

    // The GL_RENDERER string (the platform tells software from hardware OpenGL by it).
    VyString GetRendererString() const;

    // Counters for tests and benchmarks: glBegin/glEnd pairs and state changes (glEnable/glDisable,
    // glBindTexture, glBlendFunc, viewport and projection changes) since construction or Reset.
    int GetBeginCount() const { return m_nBeginCount; }
    int GetStateChangeCount() const { return m_nStateChanges; }
    void ResetCounters() { m_nBeginCount = 0; m_nStateChanges = 0; }

protected:
    void FillSolid(const VyRect& rect, const VyColor& color) override;

private:
    struct Functions;

    // Opens a primitive of mode (applying pending flags first); nothing when that mode is open.
    void BeginPrimitive(int mode);
    // Closes the open primitive, if any.
    void EndPrimitive();
    // Applies the pending blending and texturing flags.
    void ApplyPendingState();
    void SetProjection(const VyRect& area);
    void Quad(const VyRect& rect);
    void TexturedQuad(const VyRect& dest, float s0, float t0, float s1, float t1);
    void SetGLColor(const VyColor& color);
    // The closed outline through the points, in the colour already set.
    void DrawOutline(const VyPoint* points, int count);
    // One line in the colour already set (see the class comment); texturing is off.
    void Segment(int x1, int y1, int x2, int y2, bool bIncludeEnd);
    void TakeScreenshot();
    // The texture of the blow-up (see the class comment): made for the frame size at a scale above 1,
    // deleted otherwise.
    void PrepareScaleTexture();
    unsigned int NewBoundTexture(); // a new texture, bound, sampled nearest
    void DeleteScaleTexture();
    void BindScaleTexture();
    void BlowUpFrame();
    // The frame's pixels from the blow-up texture into frame (the frame size, RGB bytes).
    void ReadScaleTexture(VyRGBFormat& frame);

    std::unique_ptr<Functions> m_pGL;
    int m_nOpenMode = -1;        // the primitive between glBegin and glEnd, -1 for none
    bool m_bGLBlending = false;  // what OpenGL has enabled
    bool m_bGLTexturing = false;
    int m_nBoundTexture = -1;
    bool m_bInFrame = false;
    bool m_bScreenshotPending = false;
    unsigned int m_nScaleTexture = 0; // OpenGL's name of the blow-up texture, 0 for none
    int m_nScaleTextureWidth = 0;
    int m_nScaleTextureHeight = 0;
    bool m_bBlownUp = false; // the window's buffer holds the blown-up frame (EndFrame until BeginFrame)
    int m_nBeginCount = 0;
    int m_nStateChanges = 0;
};
