#include "vyio/VyReadBytes.h"

#include <algorithm>
#include <climits>

namespace
{
constexpr size_t VY_READ_STEP = size_t{1} << 20;

template <typename Bytes>
bool ReadExactlyInto(VyIO& stream, size_t count, Bytes& bytes)
{
    bytes.clear();
    const long long left = stream.GetBytesLeft();
    if (left >= 0)
    {
        if (static_cast<unsigned long long>(left) < count)
            return false;
        bytes.resize(count);
        return VyReadUpTo(stream, bytes.data(), count) == count;
    }
    while (bytes.size() < count)
    {
        const size_t have = bytes.size();
        const size_t step = std::min(count - have, std::max(VY_READ_STEP, have));
        bytes.resize(have + step);
        const size_t got = VyReadUpTo(stream, bytes.data() + have, step);
        if (got < step)
        {
            bytes.resize(have + got);
            return false;
        }
    }
    return true;
}
} // namespace

size_t VyReadUpTo(VyIO& stream, void* buffer, size_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count)
    {
        const int ask = static_cast<int>(std::min<size_t>(count - done, INT_MAX));
        const int got = stream.Read(bytes + done, ask);
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

bool VyReadExactly(VyIO& stream, size_t count, std::vector<uint8_t>& bytes)
{
    return ReadExactlyInto(stream, count, bytes);
}

bool VyReadExactly(VyIO& stream, size_t count, std::string& bytes)
{
    return ReadExactlyInto(stream, count, bytes);
}

std::vector<uint8_t> VyReadToEnd(VyIO& stream)
{
    std::vector<uint8_t> bytes;
    const long long left = stream.GetBytesLeft();
    size_t step = left > 0 ? static_cast<size_t>(std::min<long long>(left, INT_MAX)) + 1 : 65536;
    for (;;)
    {
        const size_t have = bytes.size();
        bytes.resize(have + step);
        const size_t got = VyReadUpTo(stream, bytes.data() + have, step);
        bytes.resize(have + got);
        if (got < step)
            return bytes;
        step = std::max<size_t>(step, 65536);
    }
}
