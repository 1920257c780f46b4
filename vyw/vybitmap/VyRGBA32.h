#pragma once

#include "vybitmap/VyRGBFormat.h"

// Format 7: bytes red, green, blue, alpha. Fills and blits from another RGBA image take a direct
// path over the bytes; other sources take the generic per-pixel path.
class VyRGBA32 : public VyRGBFormat
{
public:
    VyRGBA32() : VyRGBFormat(VY_FORMAT_RGBA32) {}

protected:
    uint32_t ReadColour(int x, int y) const override;
    void WriteColour(int x, int y, uint32_t colour) override;
    void BlitArea(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx) override;
    void FillArea(const VyBlitArea& area, uint32_t colour, int strength) override;
};
