#pragma once

#include "vybitmap/VyRGBFormat.h"

// Format 10: alpha only. Pixels read as white with their alpha, so a tinted blit of an alpha
// mask (a glyph sheet) draws in the tint colour; writing keeps only the colour's alpha.
class VyAlpha8 : public VyRGBFormat
{
public:
    VyAlpha8() : VyRGBFormat(VY_FORMAT_ALPHA8) {}

protected:
    uint32_t ReadColour(int x, int y) const override;
    void WriteColour(int x, int y, uint32_t colour) override;
};
