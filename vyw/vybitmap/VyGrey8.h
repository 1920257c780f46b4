#pragma once

#include "vybitmap/VyRGBFormat.h"

// Format 8: one grey byte that reads as red, green and blue alike; a colour is written as its
// grey level (weights 77, 150, 29 of 256).
class VyGrey8 : public VyRGBFormat
{
public:
    VyGrey8() : VyRGBFormat(VY_FORMAT_GREY8) {}

protected:
    uint32_t ReadColour(int x, int y) const override;
    void WriteColour(int x, int y, uint32_t colour) override;
};
