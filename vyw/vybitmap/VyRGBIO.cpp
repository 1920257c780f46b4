#include "vybitmap/VyRGBIO.h"

#include "vybitmap/VyBitmap.h"
#include "vybitmap/VyJpeg.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vythread/VyException.h"

std::unique_ptr<VyRGBFormat> VyRGBIO::Load(VyIO& stream, int type)
{
    switch (type)
    {
    case VY_IMAGE_JPEG:
        return VyJpeg::Load(stream);
    case VY_IMAGE_BMP:
        return VyBitmap::Load(stream);
    default:
        throw VyException("VyRGBIO", "Load", "could not determine file type");
    }
}

std::unique_ptr<VyRGBFormat> VyRGBIO::LoadResource(const VyString& path)
{
    VyMemFile file(VY_IO_READ);
    VyResourceSource::Fetch(path, file);
    return Load(file, TypeFromFileName(path));
}

void VyRGBIO::Save(const VyRGBFormat& image, VyIO& stream, int type, int quality)
{
    if (type == VY_IMAGE_JPEG)
        VyJpeg::SaveJpeg(image, stream, quality);
    else if (type == VY_IMAGE_BMP)
        VyBitmap::SaveWinBitmap(image, stream);
}

int VyRGBIO::TypeFromExtension(const VyString& extension)
{
    const VyString lower = extension.Lower();
    if (lower == "jpeg" || lower == "jpg")
        return VY_IMAGE_JPEG;
    if (lower == "bmp")
        return VY_IMAGE_BMP;
    return VY_IMAGE_UNKNOWN;
}

int VyRGBIO::TypeFromFileName(const VyString& fileName)
{
    const size_t separator = fileName.find_last_of("/\\");
    const size_t dot = fileName.rfind('.');
    if (dot == VyString::npos || (separator != VyString::npos && dot < separator))
        return VY_IMAGE_UNKNOWN;
    return TypeFromExtension(VyString(fileName.substr(dot + 1)));
}
