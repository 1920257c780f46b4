#include "vythread/VyRandom.h"

#include <ctime>

void VyRandom::Seed(uint32_t seed)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_state = seed;
}

int VyRandom::Next()
{
    std::lock_guard<std::mutex> guard(m_lock);
    // Linear congruential step; the high bits are the better ones.
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
}

int VyRandom::Below(int count)
{
    if (count < 1)
        return 0;
    return Next() % count;
}

VyRandom& VyRandom::Global()
{
    static VyRandom generator(static_cast<uint32_t>(std::time(nullptr)));
    return generator;
}
