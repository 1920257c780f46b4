#pragma once

#include <cstdint>
#include <memory>

#include "vybitmap/VyRGBFormat.h"
#include "vythread/VyString.h"

// Images with a transparent key colour (pieces, cursors, the window icon): every pixel of the key
// colour becomes fully transparent in a 32-bit RGBA copy, the others opaque.
class VyKeyedImage
{
public:
    // An RGBA copy (VY_FORMAT_RGBA32) of image in which pixels of keyRgb (0xRRGGBB) have alpha 0.
    static std::unique_ptr<VyRGBFormat> Make(const VyRGBFormat& image, uint32_t keyRgb);
    // Loads a BMP or JPEG (by the extension) through the resource look-up and keys it. Throws what the
    // look-up and the codecs throw.
    static std::unique_ptr<VyRGBFormat> Load(const VyString& path, uint32_t keyRgb);
};
