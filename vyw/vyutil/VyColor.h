#pragma once

#include "vyutil/VyTexture.h"

// Flag bit 0 of a colour: the value is a colour-scheme slot id, resolved when drawing.
constexpr unsigned char VY_COLOR_FLAG_SLOT = 1;

// A colour value: 24-bit red-green-blue (red in the high byte) or a slot id, an alpha (255 opaque),
// flags, and optionally a texture tiled under it.
class VyColor
{
public:
    VyColor() = default; // opaque black
    explicit VyColor(unsigned int rgb, unsigned char alpha = 255) : m_value(rgb), m_alpha(alpha) {}
    static VyColor FromSlot(int slotId, unsigned char alpha = 255);

    bool IsSlot() const { return (m_flags & VY_COLOR_FLAG_SLOT) != 0; }
    // The slot id when IsSlot(), otherwise 0.
    int GetSlot() const { return IsSlot() ? static_cast<int>(m_value) : 0; }
    // The raw value: 0xRRGGBB, or the slot id when IsSlot().
    unsigned int GetValue() const { return m_value; }
    unsigned char GetRed() const { return static_cast<unsigned char>(m_value >> 16); }
    unsigned char GetGreen() const { return static_cast<unsigned char>(m_value >> 8); }
    unsigned char GetBlue() const { return static_cast<unsigned char>(m_value); }
    unsigned char GetAlpha() const { return m_alpha; }
    unsigned char GetFlags() const { return m_flags; }

    void SetValue(unsigned int rgb) { m_value = rgb; m_flags &= static_cast<unsigned char>(~VY_COLOR_FLAG_SLOT); }
    void SetAlpha(unsigned char alpha) { m_alpha = alpha; }

    // The texture and its size come together in the handle.
    const VyTexture& GetTexture() const { return m_texture; }
    void SetTexture(const VyTexture& texture) { m_texture = texture; }

    bool operator==(const VyColor& other) const
    {
        return m_value == other.m_value && m_alpha == other.m_alpha && m_flags == other.m_flags &&
               m_texture == other.m_texture;
    }

private:
    unsigned int m_value = 0;
    unsigned char m_alpha = 255;
    unsigned char m_flags = 0;
    VyTexture m_texture;
};
