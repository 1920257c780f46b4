#pragma once

#include <memory>

#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyIO.h"

// Chooses the image codec by file type.
class VyRGBIO
{
public:
    static constexpr int VY_IMAGE_UNKNOWN = 0;
    static constexpr int VY_IMAGE_JPEG = 1;
    static constexpr int VY_IMAGE_BMP = 2;

    // Decodes an image of the type from the stream. Another type raises
    // VyException("VyRGBIO", "Load", "could not determine file type"); codec errors pass through.
    static std::unique_ptr<VyRGBFormat> Load(VyIO& stream, int type);
    // Fetches the resource at path through the resource look-up (VyResourceSource) and decodes it by the
    // type of its name. Throws what the look-up and Load throw, without adding context of its own.
    static std::unique_ptr<VyRGBFormat> LoadResource(const VyString& path);
    // Encodes the image as the type (quality only for JPEG); another type writes nothing.
    static void Save(const VyRGBFormat& image, VyIO& stream, int type, int quality);

    // "jpeg" and "jpg" give JPEG, "bmp" BMP, in any case; anything else VY_IMAGE_UNKNOWN.
    static int TypeFromExtension(const VyString& extension);
    // The type from the extension of a file name (after its last '.' in the last path part).
    static int TypeFromFileName(const VyString& fileName);
};
