#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vyio/VyIO.h"

// Reading helpers for decoders of untrusted data (images, strings, saved games). A stream's Read may
// deliver fewer bytes than asked, so these loop until the count is reached or the stream gives nothing
// more; stream exceptions pass.

// Reads up to `count` bytes into `buffer`; returns how many arrived.
size_t VyReadUpTo(VyIO& stream, void* buffer, size_t count);

// Reads exactly `count` bytes into `bytes` (resized). When the stream cannot tell how much it
// holds, the buffer grows in steps of a megabyte as data arrives, so a size taken from a hostile
// header costs no more memory than the bytes really there. False when the stream ran dry first
// (`bytes` then holds what arrived) or says up front that it holds fewer bytes.
bool VyReadExactly(VyIO& stream, size_t count, std::vector<uint8_t>& bytes);
bool VyReadExactly(VyIO& stream, size_t count, std::string& bytes);

// Everything the stream still yields.
std::vector<uint8_t> VyReadToEnd(VyIO& stream);
