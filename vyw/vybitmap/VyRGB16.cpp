#include "vybitmap/VyRGB16.h"

#include "vybitmap/VyChannels.h"

namespace
{
// Red, green and blue of a 16-bit word in the format's own precision.
struct Layout
{
    int shift[3];
    uint32_t max[3];
    int bits[3];

    explicit Layout(const VyPixelFormat& format)
    {
        for (int channel = 0; channel < 3; ++channel)
        {
            shift[channel] = format.Shift(channel);
            max[channel] = format.ValueMask(channel);
            bits[channel] = format.BitCount(channel);
        }
    }
    uint32_t Get(uint32_t word, int channel) const { return (word >> shift[channel]) & max[channel]; }
    uint32_t Make(const uint32_t value[3]) const
    {
        return (value[0] << shift[0]) | (value[1] << shift[1]) | (value[2] << shift[2]);
    }
};
} // namespace

uint32_t VyRGB16::Word(int x, int y) const
{
    const uint8_t* pixel = Row(y) + 2 * x;
    return pixel[0] | (static_cast<uint32_t>(pixel[1]) << 8);
}

void VyRGB16::SetWord(int x, int y, uint32_t word)
{
    uint8_t* pixel = Row(y) + 2 * x;
    pixel[0] = static_cast<uint8_t>(word);
    pixel[1] = static_cast<uint8_t>(word >> 8);
}

void VyRGB16::FillArea(const VyBlitArea& area, uint32_t colour, int strength)
{
    if (strength >= 255)
    {
        FillPlain(area, colour);
        return;
    }
    // Bit 15 of a 5-5-5 word lies outside the format and keeps its value.
    const Layout layout(PixelFormat());
    const VyChannels target = VyChannels::Narrow(colour, PixelFormat());
    for (int y = area.destY; y < area.destY + area.height; ++y)
        for (int x = area.destX; x < area.destX + area.width; ++x)
        {
            const uint32_t word = Word(x, y);
            uint32_t value[3];
            for (int channel = 0; channel < 3; ++channel)
                value[channel] = VyChannels::Mix(layout.Get(word, channel), target.value[channel], strength);
            SetWord(x, y, (word & ~PixelFormat().Mask()) | layout.Make(value));
        }
}

void VyRGB16::BlitArea(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx)
{
    const bool sameFormat = source.FormatId() == FormatId();
    if (!sameFormat && source.FormatId() != VY_FORMAT_RGBA32)
    {
        BlitGeneric(area, source, fx);
        return;
    }
    const Layout layout(PixelFormat());
    const bool neutral = fx.IsNeutral();
    const uint32_t keep = ~PixelFormat().Mask() & 0xFFFF;
    for (int row = 0; row < area.height; ++row)
    {
        const uint8_t* from = source.Row(area.srcY + row) + (sameFormat ? 2 : 4) * area.srcX;
        const int y = area.destY + row;
        for (int column = 0; column < area.width; ++column)
        {
            uint32_t value[3];
            uint32_t alpha;
            if (sameFormat)
            {
                const uint32_t word = from[0] | (static_cast<uint32_t>(from[1]) << 8);
                for (int channel = 0; channel < 3; ++channel)
                    value[channel] = layout.Get(word, channel);
                alpha = fx.ScaleAlpha(255);
                from += 2;
            }
            else
            {
                for (int channel = 0; channel < 3; ++channel)
                    value[channel] = static_cast<uint32_t>(from[channel]) >> (8 - layout.bits[channel]);
                alpha = fx.ScaleAlpha(from[3]);
                from += 4;
            }
            if (alpha == 0)
                continue;
            if (!neutral)
                for (int channel = 0; channel < 3; ++channel)
                    value[channel] = fx.TintChannel(channel, value[channel]);
            const int x = area.destX + column;
            const uint32_t word = Word(x, y);
            if (alpha != 255)
                for (int channel = 0; channel < 3; ++channel)
                    value[channel] = VyChannels::Mix(layout.Get(word, channel), value[channel], static_cast<int>(alpha));
            SetWord(x, y, (word & keep) | layout.Make(value));
        }
    }
}
