#pragma once

#include "vybitmap/VyRGBFormat.h"

// Format 2: one bit per pixel, the leftmost pixel in the most significant bit of its byte. A set
// bit is white, a clear bit black; a colour is written as set when its grey level is 128 or more.
class VyRGBMono : public VyRGBFormat
{
public:
    VyRGBMono() : VyRGBFormat(VY_FORMAT_MONO) {}

protected:
    uint32_t ReadColour(int x, int y) const override;
    void WriteColour(int x, int y, uint32_t colour) override;
};
