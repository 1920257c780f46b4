// A JPEG file through VyJpeg::Load. Checked for every picture it accepts: it has pixels, its sides
// are within VY_MAX_IMAGE_SIDE, and its format is one that Load documents.
#include "VyFuzzCheck.h"
#include "vybitmap/VyJpeg.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VyMemFile stream(data, static_cast<int>(size));
    std::unique_ptr<VyRGBFormat> image;
    try
    {
        image = VyJpeg::Load(stream);
    }
    catch (const VyException&)
    {
        return 0;
    }
    VyFuzzCheck(image != nullptr && image->HasPixels(), "Load returned no picture");
    VyFuzzCheck(image->Width() <= VyRGBFormat::VY_MAX_IMAGE_SIDE && image->Height() <= VyRGBFormat::VY_MAX_IMAGE_SIDE,
                "a picture above the side limit");
    const int id = image->FormatId();
    VyFuzzCheck(id == VY_FORMAT_RGB24 || id == VY_FORMAT_RGB32 || id == VY_FORMAT_GREY8, "a format Load does not make");
    return 0;
}
