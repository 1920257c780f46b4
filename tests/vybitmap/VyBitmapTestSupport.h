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
