#include "vybitmap/VyGreyAlpha16.h"

uint32_t VyGreyAlpha16::ReadColour(int x, int y) const
{
    const uint8_t* pixel = Row(y) + 2 * x;
    return VyMakeColour(pixel[0], pixel[0], pixel[0], pixel[1]);
}

void VyGreyAlpha16::WriteColour(int x, int y, uint32_t colour)
{
    uint8_t* pixel = Row(y) + 2 * x;
    pixel[0] = static_cast<uint8_t>(VyGreyOf(colour));
    pixel[1] = static_cast<uint8_t>(VyAlphaOf(colour));
}
