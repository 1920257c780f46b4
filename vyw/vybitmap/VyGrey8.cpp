#include "vybitmap/VyGrey8.h"

uint32_t VyGrey8::ReadColour(int x, int y) const
{
    const uint32_t grey = Row(y)[x];
    return VyMakeColour(grey, grey, grey);
}

void VyGrey8::WriteColour(int x, int y, uint32_t colour)
{
    Row(y)[x] = static_cast<uint8_t>(VyGreyOf(colour));
}
