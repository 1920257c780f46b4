#include "vybitmap/VyRGBFx.h"

#include <algorithm>


VyRGBFx::VyRGBFx(uint32_t tint, int strength, int mode)
    : m_red(static_cast<uint16_t>(VyRedOf(tint))),
      m_green(static_cast<uint16_t>(VyGreenOf(tint))),
      m_blue(static_cast<uint16_t>(VyBlueOf(tint))),
      m_strength(static_cast<uint16_t>(std::clamp(strength, 0, 255))),
      m_nMode(mode)
{
}

void VyRGBFx::Prepare(const VyPixelFormat& format)
{
    m_pPixelFormat = &format;
    const uint32_t tint[3] = {std::min<uint32_t>(m_red, 255), std::min<uint32_t>(m_green, 255),
                              std::min<uint32_t>(m_blue, 255)};
    for (int channel = 0; channel < 3; ++channel)
    {
        const int bits = std::min(format.BitCount(channel), 8);
        m_channelBits[channel] = bits;
        m_channelMax[channel] = format.ValueMask(channel);
        m_narrowTint[channel] = bits == 0 ? 0 : tint[channel] >> (8 - bits);
    }
}

uint32_t VyRGBFx::TintColour(uint32_t colour) const
{
    const int strength = std::min<int>(m_strength, 255);
    auto mix = [strength](uint32_t component, uint16_t tint) {
        const int from = static_cast<int>(component);
        return static_cast<uint32_t>(from + ((std::min<int>(tint, 255) - from) * strength >> 8));
    };
    return VyMakeColour(mix(VyRedOf(colour), m_red), mix(VyGreenOf(colour), m_green), mix(VyBlueOf(colour), m_blue),
                        VyAlphaOf(colour));
}
