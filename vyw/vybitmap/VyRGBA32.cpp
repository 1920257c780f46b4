#include "vybitmap/VyRGBA32.h"

#include "vybitmap/VyChannels.h"

uint32_t VyRGBA32::ReadColour(int x, int y) const
{
    const uint8_t* pixel = Row(y) + 4 * x;
    return VyMakeColour(pixel[0], pixel[1], pixel[2], pixel[3]);
}

void VyRGBA32::WriteColour(int x, int y, uint32_t colour)
{
    uint8_t* pixel = Row(y) + 4 * x;
    pixel[0] = static_cast<uint8_t>(VyRedOf(colour));
    pixel[1] = static_cast<uint8_t>(VyGreenOf(colour));
    pixel[2] = static_cast<uint8_t>(VyBlueOf(colour));
    pixel[3] = static_cast<uint8_t>(VyAlphaOf(colour));
}

void VyRGBA32::FillArea(const VyBlitArea& area, uint32_t colour, int strength)
{
    if (strength >= 255)
    {
        FillPlain(area, colour);
        return;
    }
    const uint8_t bytes[4] = {static_cast<uint8_t>(VyRedOf(colour)), static_cast<uint8_t>(VyGreenOf(colour)),
                              static_cast<uint8_t>(VyBlueOf(colour)), static_cast<uint8_t>(VyAlphaOf(colour))};
    for (int y = area.destY; y < area.destY + area.height; ++y)
    {
        uint8_t* pixel = Row(y) + 4 * area.destX;
        for (int x = 0; x < area.width; ++x, pixel += 4)
            for (int i = 0; i < 4; ++i)
                pixel[i] = static_cast<uint8_t>(VyChannels::Mix(pixel[i], bytes[i], strength));
    }
}

void VyRGBA32::BlitArea(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx)
{
    if (source.FormatId() != VY_FORMAT_RGBA32)
    {
        BlitGeneric(area, source, fx);
        return;
    }
    const bool neutral = fx.IsNeutral();
    for (int row = 0; row < area.height; ++row)
    {
        const uint8_t* from = source.Row(area.srcY + row) + 4 * area.srcX;
        uint8_t* to = Row(area.destY + row) + 4 * area.destX;
        for (int x = 0; x < area.width; ++x, from += 4, to += 4)
        {
            const uint32_t alpha = fx.ScaleAlpha(from[3]);
            if (alpha == 0)
                continue;
            uint32_t red = from[0], green = from[1], blue = from[2];
            if (!neutral)
            {
                red = fx.TintChannel(VY_RED, red);
                green = fx.TintChannel(VY_GREEN, green);
                blue = fx.TintChannel(VY_BLUE, blue);
            }
            if (alpha == 255)
            {
                to[0] = static_cast<uint8_t>(red);
                to[1] = static_cast<uint8_t>(green);
                to[2] = static_cast<uint8_t>(blue);
                to[3] = 255;
                continue;
            }
            to[0] = static_cast<uint8_t>(VyChannels::Mix(to[0], red, static_cast<int>(alpha)));
            to[1] = static_cast<uint8_t>(VyChannels::Mix(to[1], green, static_cast<int>(alpha)));
            to[2] = static_cast<uint8_t>(VyChannels::Mix(to[2], blue, static_cast<int>(alpha)));
            to[3] = static_cast<uint8_t>(VyChannels::Mix(to[3], 255, static_cast<int>(alpha)));
        }
    }
}
