#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A stretch of a fuzz input.
struct VyFuzzPiece
{
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Hands out a fuzz input from its front: single bytes that steer the harness, then the rest as the
// data under test. Reads past the end give 0 and consume nothing.
class VyFuzzInput
{
public:
    VyFuzzInput(const uint8_t* data, size_t size) : m_pData(data), m_size(size) {}

    // The next byte, or 0 when none is left.
    uint8_t TakeByte();
    // Up to count bytes from the front; their start (count is cut to what is left).
    const uint8_t* Take(size_t& count);
    const uint8_t* Rest() const { return m_pData + m_position; }
    size_t Left() const { return m_size - m_position; }
    // What is left, cut at every occurrence of marker (the markers dropped): n markers give n + 1
    // pieces, some of them perhaps empty.
    std::vector<VyFuzzPiece> SplitRest(std::string_view marker) const;

private:
    const uint8_t* m_pData;
    size_t m_size;
    size_t m_position = 0;
};
