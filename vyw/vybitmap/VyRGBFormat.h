#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "vybitmap/VyPixelFormat.h"
#include "vybitmap/VyRGBFx.h"
#include "vythread/VyRect.h"

// Row alignment modes of an image. Any other value given to Create or Attach is an explicit row
// pitch in bytes (at least one packed row), and the mode is then recorded as VY_ALIGN_PITCH.
constexpr int VY_ALIGN_BYTE = 0;   // rows of (bits * width + 7) / 8 bytes
constexpr int VY_ALIGN_16 = -1;    // rows padded to 2 bytes
constexpr int VY_ALIGN_32 = -2;    // rows padded to 4 bytes
constexpr int VY_ALIGN_PITCH = -3; // explicit pitch; byte rows when a pitch is computed again

// Where a clipped blit reads and writes: corners in both images and the size.
struct VyBlitArea
{
    int destX = 0;
    int destY = 0;
    int srcX = 0;
    int srcY = 0;
    int width = 0;
    int height = 0;
};

// An image: a rectangle of pixels in one of the ten pixel formats. Rows are stored from the
// bottom of the picture up (row 0 is the bottom row) and each row starts `Pitch()` bytes after
// the one below. Colours at the pixel interface are ARGB values (alpha 24-31, red 16-23,
// green 8-15, blue 0-7).
//
// Images are made through Create (owning its buffer) or Attach (over a caller's buffer); the
// object's class follows the format id: ids 2, 3 and 4 (one 16-bit class), 6, 7, 8, 9 and 10 have
// classes of their own, id 5 and id 1 use this generic base, which works from the pixel format's
// masks. Copies are explicit: Clone, or operator= to convert into this image's format.
//
// Every access is bounded by the buffer: pixel access outside the image is reported and ignored,
// fills, lines and blits are clipped to the part inside both images.
class VyRGBFormat
{
public:
    // Images wider or taller than this are refused (loaders raise their own load errors).
    static constexpr int VY_MAX_IMAGE_SIDE = 16384;
    // The largest row pitch accepted: a row of the widest image of the widest format.
    static constexpr int VY_MAX_PITCH = 4 * VY_MAX_IMAGE_SIDE;

    virtual ~VyRGBFormat() = default;
    VyRGBFormat(const VyRGBFormat&) = delete;

    // A new image of the class for `formatId`, owning a buffer of Pitch() * height bytes in which
    // every pixel holds `fillColour`. A size of 0 gives an image without buffer. Throws
    // VyException("VyRGBFormat", "Create", "Unable to allocate buffer") when the buffer cannot be
    // had (negative or oversized sizes, a pitch below one packed row, out of memory) and
    // "Unsupported format" from VyPixelFormat for an unknown id.
    static std::unique_ptr<VyRGBFormat> Create(int width, int height, int formatId, int alignment = VY_ALIGN_BYTE,
                                               uint32_t fillColour = 0xFF000000);
    // The same over a caller's buffer of `bufferSize` bytes, which must outlive the image and hold
    // Pitch() * height bytes (VyException "Buffer too small" otherwise). Pixels are left as they are.
    static std::unique_ptr<VyRGBFormat> Attach(int width, int height, int formatId, int alignment, uint8_t* buffer,
                                               size_t bufferSize);
    // Like Create, but always the generic base class whatever the id: a slow reference that reads
    // and writes through the pixel format's masks. Right for ids 3 to 7 only.
    static std::unique_ptr<VyRGBFormat> CreateGeneric(int width, int height, int formatId,
                                                      int alignment = VY_ALIGN_BYTE, uint32_t fillColour = 0xFF000000);

    // A deep copy with its own buffer, of the same class, format, size and pitch.
    std::unique_ptr<VyRGBFormat> Clone() const;

    // Converts: takes the source's size and alignment mode and its pixels, keeping this image's
    // format. Does nothing when the source has no pixels. Throws "Unable to allocate buffer".
    VyRGBFormat& operator=(const VyRGBFormat& source);

    // ARGB colour of a pixel; 0 (and an assertion report) outside the image.
    uint32_t GetPixel(int x, int y) const;
    // Writes a pixel; outside the image it is reported and nothing is written.
    void SetPixel(int x, int y, uint32_t colour);

    // Draws a line with both ends included; the part outside the image is skipped.
    virtual void Line(int x1, int y1, int x2, int y2, uint32_t colour);
    virtual int BitsPerPixel() const { return m_format.BitsPerPixel(); }
    virtual bool HasAlpha() const { return m_format.HasAlpha(); }
    // Writes `colour` over the rectangle (clipped to the image) with the effect's strength as
    // opacity; a disabled effect draws nothing. The tint does not apply to fills.
    virtual void Fill(const VyRect& rect, uint32_t colour, const VyRGBFx& fx = VyRGBFx());
    // Draws `source`'s rectangle `src` at the lower left corner of `dest`; the size drawn is the
    // smaller of the two rectangles, clipped to both images (corners outside an image are reported
    // through assertions). Per pixel: tint (unless neutral), then blend by the source alpha
    // scaled by the strength. A disabled effect draws nothing.
    virtual void Blit(const VyRect& dest, const VyRGBFormat& source, const VyRect& src, const VyRGBFx& fx = VyRGBFx());

    // Turns the picture upside down.
    void Flip();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Pitch() const { return m_pitch; }
    int Alignment() const { return m_nAlignment; }
    int FormatId() const { return m_format.Id(); }
    const VyPixelFormat& PixelFormat() const { return m_format; }
    bool HasPixels() const { return m_pBuffer != nullptr; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    // The pixel bytes (null without pixels) and their count, Pitch() * Height().
    uint8_t* Buffer() { return m_pBuffer; }
    const uint8_t* Buffer() const { return m_pBuffer; }
    size_t BufferSize() const { return static_cast<size_t>(m_pitch) * static_cast<size_t>(m_height); }
    // First byte of image row y (0 = bottom); y must lie inside the image.
    uint8_t* Row(int y) { return m_pBuffer + static_cast<ptrdiff_t>(y) * m_pitch; }
    const uint8_t* Row(int y) const { return m_pBuffer + static_cast<ptrdiff_t>(y) * m_pitch; }

    // Byte count of one row of `width` pixels in `formatId` under `alignment`; -1 when the
    // combination is invalid (negative width, explicit pitch below the packed row or above
    // VY_MAX_PITCH).
    static int64_t RowPitch(int formatId, int64_t width, int alignment);

protected:
    explicit VyRGBFormat(int formatId) : m_format(formatId) {}

    // Unchecked pixel access; (x, y) lies inside the image.
    virtual uint32_t ReadColour(int x, int y) const;
    virtual void WriteColour(int x, int y, uint32_t colour);

    // Clips a blit to both images after reporting corners outside them; false when nothing is left.
    bool ClipBlit(const VyRect& dest, const VyRGBFormat& source, const VyRect& src, VyBlitArea& area) const;
    // Clips a fill rectangle to the image; false when nothing is left.
    bool ClipFill(const VyRect& rect, VyBlitArea& area) const;

    // Draw a clipped area; formats with fast paths override these. The effect is enabled and
    // prepared for this format, and the source is never this image.
    virtual void BlitArea(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx);
    virtual void FillArea(const VyBlitArea& area, uint32_t colour, int strength);

    // The per-pixel paths every format pair can take.
    void BlitGeneric(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx);
    void FillGeneric(const VyBlitArea& area, uint32_t colour, int strength);
    void FillPlain(const VyBlitArea& area, uint32_t colour);

private:
    static std::unique_ptr<VyRGBFormat> NewOfClass(int formatId);
    // Sizes the image for width, height and alignment; sets the pitch. Throws with `method`.
    void SetGeometry(int width, int height, int alignment, const char* method);
    void AllocateBuffer(const char* method);

    VyPixelFormat m_format;
    int m_width = 0;
    int m_height = 0;
    int m_nAlignment = VY_ALIGN_BYTE;
    int m_pitch = 0;
    std::vector<uint8_t> m_ownedBuffer; // empty for an attached image
    uint8_t* m_pBuffer = nullptr;       // the owned buffer's data or the caller's
};
