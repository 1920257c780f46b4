#pragma once

#include "vybitmap/VyRGBFormat.h"

// Formats 3 (5-5-5) and 4 (5-6-5): one little-endian 16-bit word per pixel. Fast paths: fills,
// blits between two images of the same 16-bit format and blits from RGBA images; any other
// source takes the generic per-pixel path with the same arithmetic.
class VyRGB16 : public VyRGBFormat
{
public:
    // formatId is VY_FORMAT_RGB555 or VY_FORMAT_RGB565.
    explicit VyRGB16(int formatId) : VyRGBFormat(formatId) {}

protected:
    void BlitArea(const VyBlitArea& area, const VyRGBFormat& source, const VyRGBFx& fx) override;
    void FillArea(const VyBlitArea& area, uint32_t colour, int strength) override;

private:
    uint32_t Word(int x, int y) const;
    void SetWord(int x, int y, uint32_t word);
};
