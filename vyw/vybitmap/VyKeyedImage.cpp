#include "vybitmap/VyKeyedImage.h"

#include "vybitmap/VyPixelFormat.h"
#include "vybitmap/VyRGBIO.h"

std::unique_ptr<VyRGBFormat> VyKeyedImage::Make(const VyRGBFormat& image, uint32_t keyRgb)
{
    std::unique_ptr<VyRGBFormat> pKeyed = VyRGBFormat::Create(image.Width(), image.Height(), VY_FORMAT_RGBA32);
    *pKeyed = image;
    for (int y = 0; y < pKeyed->Height(); ++y)
        for (int x = 0; x < pKeyed->Width(); ++x)
        {
            const uint32_t rgb = pKeyed->GetPixel(x, y) & 0xFFFFFF;
            pKeyed->SetPixel(x, y, rgb == (keyRgb & 0xFFFFFF) ? rgb : (rgb | 0xFF000000));
        }
    return pKeyed;
}

std::unique_ptr<VyRGBFormat> VyKeyedImage::Load(const VyString& path, uint32_t keyRgb)
{
    return Make(*VyRGBIO::LoadResource(path), keyRgb);
}
