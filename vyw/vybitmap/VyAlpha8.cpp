#include "vybitmap/VyAlpha8.h"

uint32_t VyAlpha8::ReadColour(int x, int y) const
{
    return VyMakeColour(255, 255, 255, Row(y)[x]);
}

void VyAlpha8::WriteColour(int x, int y, uint32_t colour)
{
    Row(y)[x] = static_cast<uint8_t>(VyAlphaOf(colour));
}
