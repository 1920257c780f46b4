#pragma once

#include <algorithm>
#include <cstdint>

#include "vybitmap/VyPixelFormat.h"
#include "vybitmap/VyRGBFx.h"

// One colour held as red, green, blue and alpha values in a destination format's own channel
// precision (a 5-bit channel holds 0..31). Fills and blits do their arithmetic on it, so every
// path (generic and fast) rounds the same way.
struct VyChannels
{
    uint32_t value[VY_CHANNELS] = {};

    static int Bits(const VyPixelFormat& format, int channel) { return std::min(format.BitCount(channel), 8); }

    // Each 8-bit component of an ARGB colour cut down to the format's bit count (0 when absent).
    static VyChannels Narrow(uint32_t colour, const VyPixelFormat& format)
    {
        VyChannels channels;
        for (int channel = 0; channel < VY_CHANNELS; ++channel)
        {
            const int bits = Bits(format, channel);
            channels.value[channel] = bits == 0 ? 0 : VyComponentOf(colour, channel) >> (8 - bits);
        }
        return channels;
    }

    // Back to ARGB with the low bits zero, so the format's own packing restores the same values.
    uint32_t Widen(const VyPixelFormat& format) const
    {
        static constexpr int colourShifts[VY_CHANNELS] = {16, 8, 0, 24};
        uint32_t colour = format.HasAlpha() ? 0 : 0xFF000000u;
        for (int channel = 0; channel < VY_CHANNELS; ++channel)
        {
            const int bits = Bits(format, channel);
            if (bits > 0)
                colour |= (value[channel] << (8 - bits)) << colourShifts[channel];
        }
        return colour;
    }

    void Tint(const VyRGBFx& fx)
    {
        for (int channel = 0; channel < 3; ++channel)
            value[channel] = fx.TintChannel(channel, value[channel]);
    }

    // Every channel moves towards `target` by strength / 256: d + ((t - d) * s >> 8).
    void MixTowards(const VyChannels& target, int strength)
    {
        for (int channel = 0; channel < VY_CHANNELS; ++channel)
            value[channel] = Mix(value[channel], target.value[channel], static_cast<int>(strength));
    }

    // Draws `source` over these values with coverage `alpha` (0..255): colours d + (a * (s - d) >> 8),
    // and the alpha channel gains coverage: d + (a * (max - d) >> 8).
    void BlendOver(const VyChannels& source, uint32_t alpha, uint32_t alphaMax)
    {
        for (int channel = 0; channel < 3; ++channel)
            value[channel] = Mix(value[channel], source.value[channel], static_cast<int>(alpha));
        value[VY_ALPHA] = Mix(value[VY_ALPHA], alphaMax, static_cast<int>(alpha));
    }

    static uint32_t Mix(uint32_t from, uint32_t to, int amount)
    {
        const int difference = static_cast<int>(to) - static_cast<int>(from);
        return static_cast<uint32_t>(static_cast<int>(from) + (amount * difference >> 8));
    }
};
