#pragma once

#include "vybitmap/VyRGBFormat.h"

// Format 6: bytes red, green, blue and a fourth byte that is written as 0 and ignored when read.
class VyRGB32 : public VyRGBFormat
{
public:
    VyRGB32() : VyRGBFormat(VY_FORMAT_RGB32) {}

protected:
    uint32_t ReadColour(int x, int y) const override;
    void WriteColour(int x, int y, uint32_t colour) override;
};
