#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "vybitmap/VyRGBFormat.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
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

inline std::string VyBytesOf(const VyMemFile& file)
{
    return std::string(file.GetView());
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
    std::ofstream(path, std::ios::binary) << bytes;
}
