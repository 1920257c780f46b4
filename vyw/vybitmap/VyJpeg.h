#pragma once

#include <memory>

#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyIO.h"

// JPEG files through libjpeg's version 6 interface, in memory (no scratch file). libjpeg errors
// never end the process: they come back as VyException("VyJpeg", "Load", "Error reading jpeg") or
// VyException("VyJpeg", "SaveJpeg", "Error saving jpeg"). Warnings go to VyTrace; a file that ends
// early or whose entropy data is damaged counts as an error, so no half-grey picture is returned.
// A frame header naming a side above VY_MAX_IMAGE_SIDE, or more than 4096 pixels for each byte of
// the file (more than its data can code), raises "Could not allocate jpeg image buffer" before the
// picture's memory is taken.
class VyJpeg
{
public:
    // Decodes everything the stream still yields. Grey files give id 8 images, colour files id 5,
    // CMYK files id 6 (converted to RGB). The top row of the picture lands in image row height - 1.
    static std::unique_ptr<VyRGBFormat> Load(VyIO& stream);

    // Writes the image as a baseline JFIF at `quality` (1..100), top row of the picture first. An
    // image without pixels raises "Could not save jpeg".
    static void SaveJpeg(const VyRGBFormat& image, VyIO& stream, int quality);
};
