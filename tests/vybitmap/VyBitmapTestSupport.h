#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyTraceCapture.h"

// Fills every pixel with deterministic noise colours (alpha included).
inline void VyFillNoise(VyRGBFormat& image, uint32_t seed)
{
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
        {
            seed = seed * 1664525u + 1013904223u;
            image.SetPixel(x, y, seed >> 8 ^ seed << 13);
        }
}

// Every pixel of an image, row 0 first.
inline std::vector<uint32_t> VyPixels(const VyRGBFormat& image)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            pixels.push_back(image.GetPixel(x, y));
    return pixels;
}

// A smooth picture with a different colour in each corner, so a flip or a channel swap shows.
inline std::unique_ptr<VyRGBFormat> VySmoothPicture(int width, int height, int formatId = VY_FORMAT_RGB24)
{
    auto image = VyRGBFormat::Create(width, height, formatId);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, VyMakeColour(static_cast<uint32_t>(40 + 180 * x / width),
                                               static_cast<uint32_t>(30 + 200 * y / height),
                                               static_cast<uint32_t>(200 - 150 * (x + y) / (width + height))));
    return image;
}

// A fresh temporary directory, removed with everything in it at the end.
class VyTempDir
{
public:
    VyTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vybitmapXXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~VyTempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline void VyPutFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string VyBytesOf(const VyMemFile& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetData()), static_cast<size_t>(file.GetLength()));
}

// True when a shell command exits with 0 (its output is discarded).
inline bool VyRuns(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Writes the picture as a binary PPM, top row first, for outside tools.
inline void VyWritePpm(const std::string& path, const VyRGBFormat& image)
{
    std::string bytes = "P6\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
    for (int y = image.Height() - 1; y >= 0; --y)
        for (int x = 0; x < image.Width(); ++x)
            for (uint32_t component : {VyRedOf(image.GetPixel(x, y)), VyGreenOf(image.GetPixel(x, y)),
                                       VyBlueOf(image.GetPixel(x, y))})
                bytes += static_cast<char>(component);
    VyPutFile(path, bytes);
}
