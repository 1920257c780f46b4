#pragma once

#include <memory>
#include <vector>

#include "vybitmap/VyRGBFormat.h"
#include "vythread/VyTrace.h"

// Collects every assertion report while it lives.
class VyTraceCapture
{
public:
    VyTraceCapture()
    {
        m_previous = VyTrace::SetSink([this](const VyString& text) { m_text += text; });
    }
    ~VyTraceCapture() { VyTrace::SetSink(m_previous); }
    const VyString& Text() const { return m_text; }
    // Number of reports naming `expression`.
    int Count(const char* expression) const
    {
        int count = 0;
        const VyString needle = VyString("Assertion Failed:") + expression + "\n";
        for (size_t at = m_text.find(needle); at != VyString::npos; at = m_text.find(needle, at + 1))
            ++count;
        return count;
    }

private:
    VyTrace::Sink m_previous;
    VyString m_text;
};

// A deterministic pseudo-random sequence for test pictures.
class VyTestNoise
{
public:
    explicit VyTestNoise(uint32_t seed) : m_state(seed) {}
    uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8 ^ m_state << 13;
    }

private:
    uint32_t m_state;
};

// Fills every pixel with noise colours (alpha included).
inline void VyFillNoise(VyRGBFormat& image, uint32_t seed)
{
    VyTestNoise noise(seed);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.SetPixel(x, y, noise.Next());
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

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "vyio/VyMemFile.h"

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
    VyTempDir(const VyTempDir&) = delete;
    VyTempDir& operator=(const VyTempDir&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline std::string VySlurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void VyPutFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The bytes a memory stream holds.
inline std::string VyBytesOf(const VyMemFile& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetData()), static_cast<size_t>(file.GetLength()));
}

// True when a shell command runs and exits with 0 (its output is discarded).
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
        {
            const uint32_t colour = image.GetPixel(x, y);
            bytes += static_cast<char>(VyRedOf(colour));
            bytes += static_cast<char>(VyGreenOf(colour));
            bytes += static_cast<char>(VyBlueOf(colour));
        }
    VyPutFile(path, bytes);
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
