#include "VyChunkPlan.h"

#include <algorithm>

VyChunkPlan::VyChunkPlan(VyFuzzInput& input)
{
    const size_t count = input.TakeByte() % VY_MAX_PLAN;
    for (size_t i = 0; i < count; ++i)
        m_sizes.push_back(static_cast<size_t>(input.TakeByte()) + 1);
}

size_t VyChunkPlan::NextSize(size_t left)
{
    if (m_sizes.empty())
        return left;
    const size_t size = m_sizes[m_next];
    m_next = (m_next + 1) % m_sizes.size();
    return std::min(size, left);
}

size_t VyChunkPlan::MaxSize() const
{
    if (m_sizes.empty())
        return SIZE_MAX;
    return *std::max_element(m_sizes.begin(), m_sizes.end());
}
