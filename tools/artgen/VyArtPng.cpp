#include "artgen/VyArtPng.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "vythread/VyException.h"

std::vector<unsigned char> VyArtPng::Pixels(const VyArtImage& image)
{
    std::vector<unsigned char> pixels;
    pixels.reserve(static_cast<size_t>(image.Width()) * image.Height() * 4);
    for (int y = image.Height() - 1; y >= 0; --y) // the image's rows run bottom-up
        for (int x = 0; x < image.Width(); ++x)
        {
            const VyArtRgb rgb = ToRgb(image.Color(x, y));
            const double coverage = std::clamp(image.Coverage(x, y), 0.0, 1.0);
            const unsigned char alpha = static_cast<unsigned char>(std::lround(coverage * 255.0));
            // An empty pixel is black as well as transparent, whatever colour it was left with.
            const VyArtRgb shown = alpha == 0 ? VyArtRgb{} : rgb;
            pixels.insert(pixels.end(), {shown.r, shown.g, shown.b, alpha});
        }
    return pixels;
}

void VyArtPng::Save(const VyArtImage& image, const VyString& path)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path.c_str()).parent_path(), ignored);
    const std::vector<unsigned char> pixels = Pixels(image);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_RGBA;
    if (png_image_write_to_file(&png, path.c_str(), 0, pixels.data(), 0, nullptr) == 0)
        throw VyFileException("VyArtPng", "Save", png.message, path);
}

std::vector<unsigned char> VyArtPng::Load(const VyString& path, int& width, int& height)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0)
        throw VyFileException("VyArtPng", "Load", png.message, path);
    png.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr) == 0)
        throw VyFileException("VyArtPng", "Load", png.message, path);
    width = static_cast<int>(png.width);
    height = static_cast<int>(png.height);
    return pixels;
}
