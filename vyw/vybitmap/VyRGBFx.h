#pragma once

#include <cstdint>

#include "vybitmap/VyPixelFormat.h"

// The colour effect applied by fills and blits.
//
//   enabled     off: the fill or blit does nothing at all
//   tint        a colour the source components are modulated with (white = unchanged)
//   mode        VY_FX_ADDITIVE: c + (c * t >> bits), capped at the channel maximum;
//               anything else (multiplicative): c * t >> bits
//   strength    0..255, the opacity of what is drawn: a fill is written plainly at 255 and
//               blended as d + ((colour - d) * strength >> 8) below; a blit scales the source
//               alpha by it (255 leaves it unchanged)
//
// The tint arithmetic runs in the destination's channel precision: the tint is first narrowed
// to each channel's bit count. m_pPixelFormat names that destination format; the blit code sets
// it on its own copy through Prepare.
class VyRGBFx
{
public:
    static constexpr int VY_FX_ADDITIVE = 1;
    static constexpr int VY_FX_MULTIPLICATIVE = 2;

    VyRGBFx() = default;
    VyRGBFx(uint32_t tint, int strength, int mode = VY_FX_MULTIPLICATIVE);

    // True when the tint is white: the tint step is then skipped (the strength is an opacity and
    // does not tint).
    bool IsNeutral() const { return m_red >= 255 && m_green >= 255 && m_blue >= 255; }

    // Binds the effect to a destination format and caches the tint narrowed to its channels.
    void Prepare(const VyPixelFormat& format);

    // Tints one channel value already narrowed to the prepared format (Prepare first).
    uint32_t TintChannel(int channel, uint32_t value) const
    {
        const int bits = m_channelBits[channel];
        if (bits == 0)
            return value;
        const uint32_t product = value * m_narrowTint[channel] >> bits;
        if (m_nMode == VY_FX_ADDITIVE)
            return value + product < m_channelMax[channel] ? value + product : m_channelMax[channel];
        return product;
    }

    // The single-colour tint, as ARGB: each colour component c becomes
    // c + ((tint - c) * strength >> 8); alpha is kept.
    uint32_t TintColour(uint32_t colour) const;

    // The source alpha scaled by the strength (255 keeps it exactly).
    uint32_t ScaleAlpha(uint32_t alpha) const { return m_strength >= 255 ? alpha : alpha * (m_strength + 1) >> 8; }

    bool m_bEnabled = true;
    uint16_t m_red = 255;
    uint16_t m_green = 255;
    uint16_t m_blue = 255;
    uint16_t m_strength = 255;
    int m_nMode = VY_FX_MULTIPLICATIVE;
    const VyPixelFormat* m_pPixelFormat = nullptr;

private:
    uint32_t m_narrowTint[3] = {};
    uint32_t m_channelMax[3] = {};
    int m_channelBits[3] = {};
};
