#include "vybitmap/VyRGB32.h"

uint32_t VyRGB32::ReadColour(int x, int y) const
{
    const uint8_t* pixel = Row(y) + 4 * x;
    return VyMakeColour(pixel[0], pixel[1], pixel[2]);
}

void VyRGB32::WriteColour(int x, int y, uint32_t colour)
{
    uint8_t* pixel = Row(y) + 4 * x;
    pixel[0] = static_cast<uint8_t>(VyRedOf(colour));
    pixel[1] = static_cast<uint8_t>(VyGreenOf(colour));
    pixel[2] = static_cast<uint8_t>(VyBlueOf(colour));
    pixel[3] = 0;
}
