#pragma once

#include "artgen/VyArtPicture.h"
#include "vythread/VyString.h"

// Pictures to and from BMP files, through the framework's own image and BMP classes (24-bit
// red-green-blue images, format id 5).
class VyArtFiles
{
public:
    // Writes the picture, making the file's directory first. Throws VyFileException when the file
    // cannot be opened and passes on the BMP writer's exceptions.
    static void SaveBitmap(const VyArtPicture& picture, const VyString& path);
    // Reads a BMP back into a picture (to confirm what was written). Throws VyException.
    static VyArtPicture LoadBitmap(const VyString& path);
};
