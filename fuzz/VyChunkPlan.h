#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "VyFuzzInput.h"

// How a byte stream is cut into chunks, as a socket's reads would deliver it. Laid out at the front
// of a fuzz input: one byte n (taken modulo 16), then n bytes whose values plus one are the chunk
// sizes, used in turn and again from the first. With n = 0 the stream comes in one chunk.
class VyChunkPlan
{
public:
    static constexpr size_t VY_MAX_PLAN = 16;

    // Takes the plan from the front of input.
    explicit VyChunkPlan(VyFuzzInput& input);
    // The size of the next chunk of a stream with left bytes still to deliver.
    size_t NextSize(size_t left);
    // The largest chunk the plan can deliver.
    size_t MaxSize() const;

private:
    std::vector<size_t> m_sizes;
    size_t m_next = 0;
};
