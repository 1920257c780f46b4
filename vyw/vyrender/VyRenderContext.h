#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "vybitmap/VyRGBFormat.h"
#include "vybitmap/rgb.h"
#include "vyrender/VyFont.h"
#include "vyrender/VyFontDesc.h"
#include "vyrender/VyStandardFonts.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyPoint.h"
#include "vythread/VyRect.h"
#include "vythread/VyString.h"
#include "vyutil/VyColor.h"
#include "vyutil/VyTexture.h"
#include "vyutil/VyTextureSource.h"

// Flags of the text-in-rectangle operations (DrawText with a rectangle, DrawTextBox).
//   horizontal: (flags & 0xC) == 0xC centre, else 0x8 right, else left
//   vertical:   (flags & 0x3) == 0x3 centre, else 0x1 bottom, else top
constexpr int VY_TEXT_LEFT = 0x0;
constexpr int VY_TEXT_RIGHT = 0x8;
constexpr int VY_TEXT_HCENTER = 0xC;
constexpr int VY_TEXT_TOP = 0x0;
constexpr int VY_TEXT_BOTTOM = 0x1;
constexpr int VY_TEXT_VCENTER = 0x3;
constexpr int VY_TEXT_ELLIPSIS = 0x10; // cut the text to the width, ending it with "..."
constexpr int VY_TEXT_MEASURE = 0x20;  // measure only: nothing is drawn
constexpr int VY_TEXT_DERIVED = 0x40;  // reserved: a derived text; not built, the flag is ignored

// Image-draw modes of textured quads.
constexpr int VY_IMAGE_NORMAL = 0;    // drawn once, modulated by the current colour
constexpr int VY_IMAGE_HIGHLIGHT = 1; // drawn in white, then again added on top in the current colour

// The name of the texture that stands in for an image that cannot be loaded.
constexpr std::string_view VY_EMPTY_TEXTURE = "empty";

// Polygon drawing: the area or the closed outline through the points.
enum class VyPolygonStyle
{
    OUTLINE,
    FILLED,
};

// Whether a line's upper end along its major axis is drawn too (the lower end always is).
enum class VyLineEnd
{
    EXCLUDED,
    INCLUDED,
};

// The two arrangements of a 3-D frame: raised (light top and left, dark bottom and right) and sunken.
enum class VyFrameStyle
{
    RAISED,
    SUNKEN,
};

// Colours of a 3-D frame, in the order of the colour-scheme slots *_DARK_SHADOW, *_LIGHT_SHADOW,
// *_DARK_HILIGHT, *_LIGHT_HILIGHT. With two colours the frame is one pixel wide (shadow = colors[0],
// highlight = colors[1]); with four it is two pixels wide:
//                    outer top/left   outer bottom/right   inner top/left   inner bottom/right
//   raised           LIGHT_HILIGHT    DARK_SHADOW          DARK_HILIGHT     LIGHT_SHADOW
//   sunken           LIGHT_SHADOW     DARK_HILIGHT         DARK_SHADOW      LIGHT_HILIGHT
//   two, raised      highlight        shadow
//   two, sunken      shadow           highlight
struct VyFrameColors
{
    VyColor colors[4];
    int count = 4; // 2 or 4

    // The four colours of the slots firstSlot to firstSlot + 3 (a scheme's *_DARK_SHADOW onwards).
    static VyFrameColors FromSlots(int firstSlot)
    {
        VyFrameColors frame;
        for (int i = 0; i < 4; ++i)
            frame.colors[i] = VyColor::FromSlot(firstSlot + i);
        return frame;
    }
};

// Resolves a colour-scheme slot id into its colour when drawing: 0xRRGGBB with alpha and the slot's
// tiled texture, or a value with any of bits 24-31 set when the slot is unset (nothing is drawn then).
// The platform installs one that reads the process's colour scheme.
using VyColorSlotResolver = std::function<VyColor(int slotId)>;

// Per-frame counters, cleared by the main window after every frame.
struct VyRenderStatistics
{
    int filledQuads = 0;
    long long filledArea = 0; // pixels
    int texturedQuads = 0;
    long long texturedArea = 0;
};

// The abstract render context: everything the framework shows is drawn through the one current
// object. Back ends: VyOpenGL (default), VyNativeContext ("Native GDI", a software frame buffer) and
// VyDirectDraw (a software frame buffer in the screen's pixel format, no alpha blending).
//
// The window may show the frame blown up by a whole display scale (SetDisplayScale): each frame pixel
// becomes a factor x factor block of the window, sampled nearest. Everything drawn, read (ReadFrame,
// SaveScreenshot) and sized stays in frame pixels; only what reaches the window is larger.
//
// Coordinates are main-window pixels, x to the right, y upwards, (0, 0) the bottom-left pixel;
// rectangles are half-open (left <= x < right, bottom <= y < top). Every back end draws the same
// picture within the limits of its pixel format:
//   fill        every pixel of the rectangle, in the current colour; blended (source alpha, one minus
//               source alpha) when the colour's alpha is not 255
//   textured    each pixel takes the texel under its centre (nearest) times the current colour; with
//               blending on it is blended by the resulting alpha, pixels of alpha <= 16/255 are
//               skipped (alpha test)
//   polygon     the pixels whose centres lie inside (GL's coverage rule); outlines as lines
//   line        see DrawLine
//   clip        nothing is drawn outside the clip rectangle
// A colour that names a slot is resolved through the slot resolver when something is drawn with it; a
// colour (explicit or from a slot) carrying a texture makes fills tile that texture instead.
//
// Only the main thread draws. Texture handles may be released on any thread: a texture whose last
// handle goes off the main thread is deleted at the next frame begin.
//
// The virtual operations are declared in the framework's slot order. Back ends overriding one overload
// of DrawLine, DrawText or SelectFont bring the others in with a using-declaration.
class VyRenderContext : public VyMessageTarget, public VyTextureSource, public VyTextureOwner
{
public:
    VyRenderContext();

    // 0. VY_MSG_RELEASE_TEXTURES: drops cached textures that no one else holds.
    void HandleMessage(const VyMessage& msg) override;
    // 1. Uninstalls the context as the current one and as texture source when it is installed.
    ~VyRenderContext() override;
    // 2. Releases the current texture, the texture cache and the fonts (their textures). Called before
    //    the display is destroyed; the context may be initialised again afterwards.
    virtual void Shutdown();
    // 3. Prepares the back end for a frame of width x height; bits is the colour depth asked for (the
    //    pixel-format text reports what the back end uses). Creates the four standard fonts, so a
    //    resource source (or the disk) must provide them: a missing font file throws VyFileException
    //    with the line "*VyMessageTarget::CreateFont : Can not create font".
    virtual void Initialize(int width, int height, int bits, bool bFullScreen) = 0;
    // 4. Sets the clip rectangle; an empty rectangle (zero width or height) is ignored and the previous
    //    clip stays in force.
    virtual void SetClipRect(const VyRect& rect);
    // 5.
    virtual VyRect GetClipRect() const;
    // 6. Starts a frame (deletes textures released off the main thread).
    virtual void BeginFrame();
    // 7. Ends the frame: everything drawn is finished (and, for the software contexts with a window,
    //    shown). The platform swaps the OpenGL buffers afterwards.
    virtual void EndFrame();
    // 8. Reads the whole frame into image as a 24-bit RGB image (id 5, bottom row first). False, and
    //    image unchanged, when the back end cannot read.
    virtual bool ReadFrame(rgb& image);
    // 9. Reads the frame (8) and saves it as "screenshot.jpg" in the current directory at quality 90.
    //    False when nothing could be read or written (the reason goes to the trace).
    virtual bool SaveScreenshot();
    // 10. (no operation)
    // 11. Whether the back end blends with alpha (and draws antialiased fonts): true but for DirectDraw.
    //     Colour schemes read every alpha as 255 and fonts load their plain files where it is false.
    virtual bool SupportsAlphaBlending() const;
    // 12. The loaded fonts; the standard ones at indices 0..3 (VY_FONT_MENU ... VY_FONT_UNDERLINE).
    virtual const std::vector<std::unique_ptr<VyFont>>& GetFonts() const;
    // 13. "OpenGL (<GL_VENDOR>)", "Native GDI" or "DirectDraw".
    virtual VyString GetRendererName() const = 0;
    // 14. Draws the source rectangle of the current texture (texture pixels, y upwards from its bottom
    //     row; zero width or height means the whole texture) onto dest, in the image-draw mode.
    //     Counts one textured quad. Does nothing without a current texture.
    virtual void DrawTexture(const VyRect& dest, const VyRect& source) = 0;
    // 15. Tiles the current texture over rect, tiles aligned to the tiling origin; edge tiles are cut.
    virtual void TileTexture(const VyRect& rect);
    // 16.
    virtual void SetTileOrigin(VyPoint origin);
    // 17. Makes texture current (a handle without texture makes none current).
    virtual void SelectTexture(const VyTexture& texture);
    // 18.
    virtual const VyTexture& GetSelectedTexture() const;
    // 19. Fills rect with the current colour (or tiles the colour's texture over it). Counts one
    //     filled quad with its area (or the tiles as textured quads). The back end's FillSolid draws.
    virtual void FillRect(const VyRect& rect);
    // 20. The filled area inside the points, or the closed outline through them and back to the first.
    virtual void DrawPolygon(const VyPoint* points, int count, VyPolygonStyle style) = 0;
    // 21. A line between two points, VyLineEnd::EXCLUDED (calls 22).
    virtual void DrawLine(VyPoint from, VyPoint to);
    // 22. A one-pixel line between (x1, y1) and (x2, y2) in the current colour. Its major axis is x when
    //     |x2 - x1| > |y2 - y1|, else y; at each pixel along it the line's centre picks the pixel of
    //     the minor axis (the lower one when it lies exactly between two). The end with the lower
    //     major coordinate is drawn, the other only with VyLineEnd::INCLUDED, whichever way the line
    //     is given; so DrawLine(a, b) and DrawLine(b, a) cover the same pixels.
    virtual void DrawLine(int x1, int y1, int x2, int y2, VyLineEnd end) = 0;
    // 23. One pixel at each point in the current colour.
    virtual void DrawPoints(const VyPoint* points, int count) = 0;
    // 24. The colour of the following drawing (explicit or a slot; resolved when drawing).
    virtual void SetColor(const VyColor& color);
    // 25.
    virtual const VyColor& GetColor() const;
    // 26. A one-pixel outline just inside rect (four fills: left, top, right, bottom edges).
    virtual void DrawRect(const VyRect& rect);
    // 27. A 3-D frame just inside rect (see VyFrameColors); the current colour is kept.
    virtual void Draw3DFrame(const VyRect& rect, const VyFrameColors& colors, VyFrameStyle style);
    // 28. Selects font number index of the font list; another index reports an assertion and keeps the
    //     current font.
    virtual void SelectFont(int index);
    // 29. Selects a font of the font list (GetFonts, GetFont(choice), AddFont); another font reports an
    //     assertion and keeps the current font; null selects none.
    virtual void SelectFont(VyFont* pFont);
    // 30. The current font, or null.
    virtual VyFont* GetFont() const;
    // 31. Draws text in rect with the flags, as DrawTextBox; with VY_TEXT_MEASURE it draws nothing.
    virtual void DrawText(std::string_view text, const VyRect& rect, int flags);
    // 32. Draws text in rect with the flags (VY_TEXT_* above) in the current font:
    //     VY_TEXT_ELLIPSIS: a text wider than rect is cut to the longest prefix that fits together with
    //       "..." (found by bisection); when not even "..." fits, the text loses characters from its
    //       end until it fits. A text of one character is never cut.
    //     VY_TEXT_MEASURE: rect becomes the text's box (left, top, left + width, top - font height) and
    //       nothing is drawn.
    //     The text's line box is font height high; its top row is the top row of the aligned box.
    virtual void DrawTextBox(std::string_view text, VyRect& rect, int flags);
    // 33. Draws text in the current font with its top pixel row at y (the baseline at y - ascent + 1)
    //     and the pen starting at x. Blending and texturing are on for the call; marked-up colours
    //     ("<>..<red>..") are followed; the underlined font gets a one-pixel line two rows under the
    //     baseline. The current colour, texture and flags are restored afterwards.
    virtual void DrawText(std::string_view text, int x, int y);
    // 34..39. The flags of the following drawing. Blending: source alpha, one minus source alpha.
    virtual void SetBlending(bool bOn);
    virtual void SetTexturing(bool bOn);
    // VY_IMAGE_NORMAL or VY_IMAGE_HIGHLIGHT; another mode reports the assertion "false" when drawing.
    virtual void SetImageMode(int mode);
    virtual bool GetBlending() const;
    virtual bool GetTexturing() const;
    virtual int GetImageMode() const;
    // 40. Makes a texture of the image and returns the back end's identifier (>= 0). Formats: ids 2
    //     (mono), 5, 6, 7, 8 (grey, drawn as intensity: alpha = grey), 9 (grey and alpha), 10 (alpha
    //     only, drawn as intensity). Ids 3, 4 and others throw VyException(<back end class>,
    //     "MakeTexture", "Unsupported texture format"), e.g. "*VyOpenGL::MakeTexture : Unsupported
    //     texture format". Callers wrap the id in a VyTexture owned by this context (MakeTextureHandle
    //     does both).
    virtual int MakeTexture(const VyRGBFormat& image) = 0;
    // 41. Deletes a texture made by 40.
    virtual void DeleteTexture(int textureId) = 0;
    // 42. Whether the caller runs on the main thread.
    virtual bool IsMainThread() const;
    // 43. Whether the back end draws in software into its own frame buffer (Native, DirectDraw).
    virtual bool IsSoftwareRenderer() const;
    // 44. The frame's new size: the clip becomes the whole frame.
    virtual void Resize(int width, int height);

    // -- Non-virtual helpers -----------------------------------------------------------------------

    // The current context of the process (the one the platform made), or null.
    static VyRenderContext* GetCurrent();
    // Installs the context as current and as the process's VyTextureSource (null uninstalls both).
    // Initialize installs the context it initialises; the destructor uninstalls it.
    static void SetCurrent(VyRenderContext* pContext);

    // VyTextureSource (main thread only, like every texture creation): the cached texture of a
    // bitmap name, loaded on first use from
    // "<[Directories] Bitmaps of vyw.cfg, default "Bitmaps">\<name>" through the resource look-up;
    // the "empty" texture when it cannot be loaded; no texture for an empty name.
    VyTexture GetTexture(const VyString& name) override;
    // Makes a texture of the image and returns its shared handle; throws as MakeTexture.
    VyTexture MakeTextureHandle(const VyRGBFormat& image);
    // Number of names in the texture cache ("empty" included once made).
    int GetCachedTextureCount() const { return static_cast<int>(m_textureCache.size()); }
    // VyTextureOwner: the last handle of a texture went. On the main thread it is deleted at once.
    void ReleaseTexture(int textureId) override;

    // The font of a definition file's choice: a standard font by number, otherwise the loaded font
    // with an equal description, created on first use (throws what VyFont::CreateFont throws).
    VyFont* GetFont(const VyFontChoice& choice);
    // Adds a font the context keeps (tests, generated fonts); returns its index in the font list.
    int AddFont(std::unique_ptr<VyFont> pFont);
    // The texture of a listed font's glyph sheet (made on first use; no texture for a font without
    // sheet or outside the list).
    VyTexture GetFontTexture(const VyFont& font);

    // Whether fonts may load antialiased files here (what VyFont::CreateFont is given).
    VyFontAntialiasing GetFontAntialiasing() const;

    void SetColorSlotResolver(VyColorSlotResolver resolver) { m_slotResolver = std::move(resolver); }
    // The colour drawn for color: explicit colours as they are, slots through the resolver. False when
    // the colour draws nothing (an unset slot, or a slot without resolver).
    bool ResolveColor(const VyColor& color, VyColor& resolved) const;

    const VyRenderStatistics& GetStatistics() const { return m_statistics; }
    void ClearStatistics() { m_statistics = {}; }

    // "<bits>-bit" of the frame the back end draws, e.g. "32-bit"; empty before Initialize.
    const VyString& GetPixelFormatText() const { return m_pixelFormatText; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The whole factor the window shows the frame at (values below 1 are taken as 1). Set before
    // Initialize; it takes effect there (and at every Resize). The window must be at least the frame
    // size times the factor; what lies beyond that in a larger window is left as it is.
    void SetDisplayScale(int factor) { m_nDisplayScale = factor < 1 ? 1 : factor; }
    int GetDisplayScale() const { return m_nDisplayScale; }
    VyPoint GetTileOrigin() const { return m_tileOrigin; }

protected:
    // The part of initialisation every back end shares: size, clip, "empty" texture, standard fonts.
    void InitializeCommon(int width, int height);
    void SetPixelFormatText(int bits);

    // The resolved current colour, false when it draws nothing.
    bool ResolveCurrentColor(VyColor& resolved) const { return ResolveColor(m_color, resolved); }

    void CountFilled(const VyRect& rect);
    void CountTextured(const VyRect& rect);

    // Draws a non-empty rect in a resolved colour without texture, blending when its alpha is not 255.
    virtual void FillSolid(const VyRect& rect, const VyColor& resolved) = 0;

    // The source rectangle a textured quad reads: the whole texture for a zero-width or zero-height
    // source.
    static VyRect EffectiveSource(const VyRect& source, int textureWidth, int textureHeight);

    // The texture of a colour's fill: tiles it over rect in white with the colour's alpha, restoring
    // colour, texture and flags afterwards.
    void TileColorTexture(const VyRect& rect, const VyColor& resolved);

    VyRect m_clip;
    VyColor m_color;
    VyTexture m_texture;
    VyPoint m_tileOrigin;
    VyFont* m_pFont = nullptr;
    bool m_bBlending = false;
    bool m_bTexturing = false;
    int m_nImageMode = VY_IMAGE_NORMAL;
    VyRenderStatistics m_statistics;
    VyString m_pixelFormatText;
    int m_width = 0;
    int m_height = 0;
    int m_nDisplayScale = 1;

private:
    VyTexture LoadTexture(const VyString& name);
    VyTexture GetEmptyTexture();
    void ReleaseUnusedTextures();
    void DeletePendingTextures();
    // Cuts text for VY_TEXT_ELLIPSIS to fit width in font.
    VyString CutText(const VyFont& font, std::string_view text, int width) const;
    void DrawGlyphSteps(const VyFont& font, std::string_view text, VyPoint pen);
    void DrawUnderline(const VyFont& font, std::string_view text, VyPoint pen);

    std::map<VyString, VyTexture> m_textureCache;
    std::vector<std::unique_ptr<VyFont>> m_fonts;
    std::map<const VyFont*, VyTexture> m_fontTextures;
    VyColorSlotResolver m_slotResolver;

    std::thread::id m_drawThread; // the thread that made the context draws; others defer releases
    std::mutex m_releaseLock;     // guards m_pendingDeletes
    std::vector<int> m_pendingDeletes;
};
