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

std::vector<VyFuzzPiece> VyFuzzInput::SplitRest(std::string_view marker) const
{
    const std::string_view rest(reinterpret_cast<const char*>(Rest()), Left());
    std::vector<VyFuzzPiece> pieces;
    size_t start = 0;
    for (size_t at = rest.find(marker); at != std::string_view::npos; at = rest.find(marker, start))
    {
        pieces.push_back({Rest() + start, at - start});
        start = at + marker.size();
    }
    pieces.push_back({Rest() + start, rest.size() - start});
    return pieces;
}
