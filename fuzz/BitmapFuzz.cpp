// A BMP file through VyBitmap::Load. Checked for every picture it accepts: the sides are within
// VY_MAX_IMAGE_SIDE and the pixels were all there in the input; saving it and loading the saved file
// gives the same picture again.
#include "VyFuzzCheck.h"
#include "vybitmap/VyBitmap.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
void CheckRoundTrip(const VyRGBFormat& image)
{
    VyMemFile saved(VY_IO_WRITE);
    VyBitmap::SaveWinBitmap(image, saved);
    VyMemFile reading(saved.GetData(), saved.GetLength());
    const std::unique_ptr<VyRGBFormat> again = VyBitmap::Load(reading);
    VyFuzzCheck(again->FormatId() == image.FormatId(), "a saved picture reloads in another format");
    VyFuzzCheck(again->Width() == image.Width() && again->Height() == image.Height(), "a saved picture changed size");
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            VyFuzzCheck((again->GetPixel(x, y) & 0xFFFFFF) == (image.GetPixel(x, y) & 0xFFFFFF),
                        "a saved picture reloads with other pixels");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VyMemFile stream(data, static_cast<int>(size));
    std::unique_ptr<VyRGBFormat> image;
    try
    {
        image = VyBitmap::Load(stream);
    }
    catch (const VyException&)
    {
        return 0;
    }
    VyFuzzCheck(image != nullptr && image->HasPixels(), "Load returned no picture");
    VyFuzzCheck(image->Width() <= VyRGBFormat::VY_MAX_IMAGE_SIDE && image->Height() <= VyRGBFormat::VY_MAX_IMAGE_SIDE,
                "a picture above the side limit");
    // One bit per pixel is the densest layout, so the input holds at least that many bits.
    VyFuzzCheck(static_cast<size_t>(image->Width()) * image->Height() <= size * 8 + 7 * 32,
                "more pixels than the input could hold");
    CheckRoundTrip(*image);
    return 0;
}
