#pragma once

#include <memory>

#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyIO.h"

// Windows BMP files, little-endian: a 14-byte file header ("BM", file size, two reserved words,
// offset of the pixel data), an info header (40 bytes as written; the 108- and 124-byte forms and
// others from 40 bytes up are read), an optional palette or channel masks, and pixel rows bottom
// row first (a negative height stores the top row first), each padded to 4 bytes.
//
//   bits  read as                            written from
//   1     id 2, set bits white by palette     id 2 (palette black, white)
//   8     id 8 when every palette entry grey  id 8 (256 grey entries)
//   16    id 3 or 4 by the masks; without     ids 3, 4 with masks, red in the low bits
//         masks 5-5-5, red high
//   24    id 5                                id 5
//   32    id 6 (the fourth byte ignored)      id 6
//
// Sizes above VyRGBFormat::VY_MAX_IMAGE_SIDE, zero sizes, short data and unknown layouts raise
// VyException("VyBitmap", "Load", ...); no image is returned half-built.
class VyBitmap
{
public:
    // Decodes a BMP from the stream's position; the stream is left open after the pixel data.
    static std::unique_ptr<VyRGBFormat> Load(VyIO& stream);

    // Writes the image as a BMP with a 40-byte info header. Formats without a BMP layout raise
    // VyException("VyBitmap", "SaveWinBitmap", "Unsupported bitmap format") before anything is
    // written; so does an image without pixels.
    static void SaveWinBitmap(const VyRGBFormat& image, VyIO& stream);
};
