#include "VyFuzzInput.h"

#include <algorithm>

uint8_t VyFuzzInput::TakeByte()
{
    if (m_position >= m_size)
        return 0;
    return m_pData[m_position++];
}

const uint8_t* VyFuzzInput::Take(size_t& count)
{
    count = std::min(count, Left());
    const uint8_t* start = Rest();
    m_position += count;
    return start;
}
