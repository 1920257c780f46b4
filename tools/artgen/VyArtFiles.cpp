#include "artgen/VyArtFiles.h"

#include <filesystem>

#include "vybitmap/VyBitmap.h"
#include "vyio/VyFile.h"
#include "vythread/VyException.h"

void VyArtFiles::SaveBitmap(const VyArtPicture& picture, const VyString& path)
{
    std::filesystem::path parent = std::filesystem::path(std::string(path)).parent_path();
    std::error_code error;
    if (!parent.empty())
        std::filesystem::create_directories(parent, error);
    std::unique_ptr<VyRGBFormat> image = VyRGBFormat::Create(picture.Width(), picture.Height(), VY_FORMAT_RGB24);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
        {
            VyArtRgb c = picture.Get(x, y);
            image->SetPixel(x, y, 0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b);
        }
    VyFile file(VY_IO_WRITE);
    if (!file.Open(path, VY_FILE_WRITE))
        throw VyFileException("VyArtFiles", "SaveBitmap", "Could not create the file", path);
    VyBitmap::SaveWinBitmap(*image, file);
    file.Close();
}

VyArtPicture VyArtFiles::LoadBitmap(const VyString& path)
{
    VyFile file(VY_IO_READ);
    if (!file.Open(path, VY_FILE_READ))
        throw VyFileException("VyArtFiles", "LoadBitmap", "Could not open the file", path);
    std::unique_ptr<VyRGBFormat> image = VyBitmap::Load(file);
    VyArtPicture picture(image->Width(), image->Height());
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x)
        {
            uint32_t c = image->GetPixel(x, y);
            picture.Set(x, y, {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    return picture;
}
