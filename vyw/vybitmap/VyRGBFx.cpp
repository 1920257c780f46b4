#include "vybitmap/VyRGBFx.h"

#include <algorithm>

#include "vythread/VyTrace.h"

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

uint32_t VyRGBFx::TintChannel(int channel, uint32_t value) const
{
    VY_ASSERT(m_pPixelFormat != nullptr);
    const int bits = m_channelBits[channel];
    if (bits == 0)
        return value;
    const uint32_t product = value * m_narrowTint[channel] >> bits;
    if (m_nMode == VY_FX_ADDITIVE)
        return std::min(value + product, m_channelMax[channel]);
    return product;
}

uint32_t VyRGBFx::TintColour(uint32_t colour) const
{
    const int strength = std::min<int>(m_strength, 255);
    auto mix = [strength](int component, int tint) { return static_cast<uint32_t>(component + ((tint - component) * strength >> 8)); };
    return VyMakeColour(mix(static_cast<int>(VyRedOf(colour)), std::min<int>(m_red, 255)),
                                        mix(static_cast<int>(VyGreenOf(colour)), std::min<int>(m_green, 255)),
                                        mix(static_cast<int>(VyBlueOf(colour)), std::min<int>(m_blue, 255)),
                                        VyAlphaOf(colour));
}

uint32_t VyRGBFx::Pack(uint32_t colour) const
{
    VY_ASSERT(m_pPixelFormat != nullptr);
    return m_pPixelFormat != nullptr ? m_pPixelFormat->ColourToWord(colour) : 0;
}
