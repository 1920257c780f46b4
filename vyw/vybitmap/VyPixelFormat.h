#pragma once

#include <cstdint>

#include "vythread/VyString.h"

// Format ids of the ten pixel formats an image can have.
constexpr int VY_FORMAT_NONE = 1;         // no format
constexpr int VY_FORMAT_MONO = 2;         // 1 bit: set bits are white
constexpr int VY_FORMAT_RGB555 = 3;       // 16 bits: red 10-14, green 5-9, blue 0-4
constexpr int VY_FORMAT_RGB565 = 4;       // 16 bits: red 11-15, green 5-10, blue 0-4
constexpr int VY_FORMAT_RGB24 = 5;        // bytes red, green, blue
constexpr int VY_FORMAT_RGB32 = 6;        // bytes red, green, blue and one ignored byte
constexpr int VY_FORMAT_RGBA32 = 7;       // bytes red, green, blue, alpha
constexpr int VY_FORMAT_GREY8 = 8;        // one grey byte feeds all three colours
constexpr int VY_FORMAT_GREY_ALPHA16 = 9; // grey byte, alpha byte
constexpr int VY_FORMAT_ALPHA8 = 10;      // alpha byte only

// Channel indices of the per-channel tables.
enum VyChannel : int
{
    VY_RED = 0,
    VY_GREEN = 1,
    VY_BLUE = 2,
    VY_ALPHA = 3,
    VY_CHANNELS = 4,
};

// The layout of one pixel: format id, bits per pixel, the mask of all used bits and, for each of
// red, green, blue and alpha, its shift (lowest bit), value mask (largest value) and bit count.
// A channel with 0 bits is absent (its shift is then never used).
class VyPixelFormat
{
public:
    VyPixelFormat() { SetFormat(VY_FORMAT_NONE); }
    explicit VyPixelFormat(int id) { SetFormat(id); }

    // Fills every field for one of the ten ids; any other id throws
    // VyException("VyPixelFormat", "SetFormat", "Unsupported format").
    void SetFormat(int id);
    // Derives the channels from masks and classifies them into an id (1 when nothing fits).
    void SetMasks(int bitsPerPixel, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);

    // "16-bit BGR (565)": bits, "-bit ", R/G/B by rising shift, " (", their bit counts, ")".
    VyString Describe() const;

    int Id() const { return m_nId; }
    int BitsPerPixel() const { return m_bits; }
    int BytesPerPixel() const { return (m_bits + 7) / 8; }
    uint32_t Mask() const { return m_mask; }
    int Shift(int channel) const { return m_shift[channel]; }
    uint32_t ValueMask(int channel) const { return m_valueMask[channel]; }
    int BitCount(int channel) const { return m_bitCount[channel]; }
    bool HasAlpha() const { return m_valueMask[VY_ALPHA] != 0; }

    // Row pitch in bytes for a width under an alignment mode (0/-3 bytes, -1 16-bit, -2 32-bit
    // rows); other modes are not handled here. Returns -1 when the width is negative or too wide.
    int64_t PitchFor(int64_t width, int alignment) const;

    // Decomposes a raw pixel word into 8-bit ARGB, widening each channel by shifting it up
    // (a 5-bit 31 reads 248); a format without alpha reads alpha 255.
    uint32_t WordToColour(uint32_t word) const;
    // Packs 8-bit ARGB into a raw pixel word by keeping each channel's top bits.
    uint32_t ColourToWord(uint32_t colour) const;

    // Widens a value of `bits` bits to 0..255 by repeating its high bits in the low bits,
    // so the largest value becomes 255 (31 in 5 bits -> 255, 16 -> 132).
    static uint32_t Widen(uint32_t value, int bits);

    bool operator==(const VyPixelFormat&) const = default;

private:
    void SetChannel(int channel, int shift, int bits);

    int m_nId = VY_FORMAT_NONE;
    int m_bits = 0;
    uint32_t m_mask = 0;
    int m_shift[VY_CHANNELS] = {};
    uint32_t m_valueMask[VY_CHANNELS] = {};
    int m_bitCount[VY_CHANNELS] = {};
};

// 8-bit components of an ARGB colour value (alpha 24-31, red 16-23, green 8-15, blue 0-7).
inline uint32_t VyAlphaOf(uint32_t colour) { return colour >> 24; }
inline uint32_t VyRedOf(uint32_t colour) { return (colour >> 16) & 0xFF; }
inline uint32_t VyGreenOf(uint32_t colour) { return (colour >> 8) & 0xFF; }
inline uint32_t VyBlueOf(uint32_t colour) { return colour & 0xFF; }
inline uint32_t VyMakeColour(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha = 255)
{
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}
// Component of a colour by channel index (VY_RED...VY_ALPHA).
inline uint32_t VyComponentOf(uint32_t colour, int channel)
{
    static constexpr int shifts[VY_CHANNELS] = {16, 8, 0, 24};
    return (colour >> shifts[channel]) & 0xFF;
}
// Grey level of a colour (weights 77, 150, 29 of 256); white gives 255.
inline uint32_t VyGreyOf(uint32_t colour)
{
    return (VyRedOf(colour) * 77 + VyGreenOf(colour) * 150 + VyBlueOf(colour) * 29) >> 8;
}
