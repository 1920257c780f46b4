#include "vybitmap/VyRGBMono.h"

uint32_t VyRGBMono::ReadColour(int x, int y) const
{
    const bool set = (Row(y)[x >> 3] >> (7 - (x & 7))) & 1;
    return set ? 0xFFFFFFFFu : 0xFF000000u;
}

void VyRGBMono::WriteColour(int x, int y, uint32_t colour)
{
    uint8_t& byte = Row(y)[x >> 3];
    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
    byte = VyGreyOf(colour) >= 128 ? static_cast<uint8_t>(byte | bit) : static_cast<uint8_t>(byte & ~bit);
}
