#pragma once

#include <vector>

#include "artgen/VyArtImage.h"
#include "vythread/VyString.h"

// Pictures with their coverage to and from PNG files through libpng: 8-bit sRGB red, green and blue
// with the coverage as straight alpha, for the desktop's icons.
class VyArtPng
{
public:
    // The image's pixels top row first, four bytes each (red, green, blue, alpha).
    static std::vector<unsigned char> Pixels(const VyArtImage& image);
    // Writes the image, making the file's directory first. Throws VyFileException with libpng's
    // message when the file cannot be written.
    static void Save(const VyArtImage& image, const VyString& path);
    // Reads a PNG back as pixels in the layout of Pixels (to confirm what was written); the sides go
    // to width and height. Throws VyFileException with libpng's message when it cannot be read.
    static std::vector<unsigned char> Load(const VyString& path, int& width, int& height);
};
