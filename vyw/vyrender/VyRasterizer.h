#pragma once

#include <cstdint>
#include <vector>

#include "vybitmap/VyRGBFormat.h"
#include "vythread/VyPoint.h"
#include "vythread/VyRect.h"

// The software rasteriser of the Native and DirectDraw render contexts: draws into one image of format
// VY_FORMAT_RGBA32, VY_FORMAT_RGB32, VY_FORMAT_RGB565 or VY_FORMAT_RGB555, inside a clip rectangle,
// with the pixel rules of OpenGL as the OpenGL render context sets it up:
//
//   coverage    a pixel is drawn when its centre (x + 0.5, y + 0.5) lies inside the shape; a centre
//               exactly on an edge belongs to the shape on its left edges only
//   lines       the pixels under the line sampled at each column (x-major: |dx| > |dy|) or row
//               (y-major) centre, a centre exactly between two pixels going to the lower one; from the
//               end with the lower major coordinate, included, to the other, excluded
//   textures    nearest texel under the pixel centre, coordinates repeating; texel times paint colour
//               (each channel a * b / 255 rounded)
//   blending    NONE writes the colour; ALPHA skips fragments of alpha < 16 (the alpha test > 0.0625)
//               and mixes s * a + d * (1 - a); ADDITIVE skips the same and adds s * a
//   16 bits     colours are rounded to the channel's bits, or ordered-dithered (4 x 4 Bayer) when
//               dithering is on; the destination is read back with its high bits repeated
// The frame's alpha channel (RGBA) stays 255.
class VyRasterizer
{
public:
    enum class Blend
    {
        NONE,
        ALPHA,
        ADDITIVE,
    };

    // The colour of the fragments (for textures: what the texels are multiplied by) and how they meet
    // the frame.
    struct Paint
    {
        uint8_t red = 0;
        uint8_t green = 0;
        uint8_t blue = 0;
        uint8_t alpha = 255;
        Blend blend = Blend::NONE;
    };

    // Draws into image from now on (null: nothing is drawn). The clip becomes the whole image.
    void SetTarget(VyRGBFormat* pImage, bool bDither);
    // Limits drawing to rect (cut to the image).
    void SetClip(const VyRect& rect);

    void FillRect(const VyRect& rect, const Paint& paint);
    // Maps source (texel coordinates, y upwards; may be wider or narrower than dest, or reversed) onto
    // dest. texels is an RGBA image (VY_FORMAT_RGBA32).
    void TexturedRect(const VyRect& dest, const VyRect& source, const VyRGBFormat& texels, const Paint& paint);
    // The pixels inside the polygon (even-odd; convex polygons as OpenGL draws them).
    void FillPolygon(const VyPoint* points, int count, const Paint& paint);
    // A line between (x1, y1) and (x2, y2): its lower end along the major axis is drawn, the upper one
    // only with bIncludeEnd.
    void Line(int x1, int y1, int x2, int y2, bool bIncludeEnd, const Paint& paint);
    void Point(int x, int y, const Paint& paint);

    // a * b / 255 rounded, as OpenGL multiplies normalised bytes.
    static uint32_t Multiply(uint32_t a, uint32_t b)
    {
        uint32_t t = a * b + 128;
        return (t + (t >> 8)) >> 8;
    }

private:
    // Draws one row's pixels x0 <= x < x1 (already clipped); shade(x) gives each fragment's colour.
    template <class Shade>
    void Span(int y, int x0, int x1, Blend blend, Shade&& shade);
    template <class Pixel, class Shade>
    void SpanOf(int y, int x0, int x1, Blend blend, Shade&& shade);
    bool ClipSpan(int y, int& x0, int& x1) const;

    VyRGBFormat* m_pImage = nullptr;
    bool m_bDither = false;
    VyRect m_clip;
    std::vector<int> m_columns; // texel column of each pixel of a textured span (reused)
};
