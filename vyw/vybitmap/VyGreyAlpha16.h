#pragma once

#include "vybitmap/VyRGBFormat.h"

// Format 9: a grey byte (read as red, green and blue alike) followed by an alpha byte.
class VyGreyAlpha16 : public VyRGBFormat
{
public:
    VyGreyAlpha16() : VyRGBFormat(VY_FORMAT_GREY_ALPHA16) {}

protected:
    uint32_t ReadColour(int x, int y) const override;
    void WriteColour(int x, int y, uint32_t colour) override;
};
