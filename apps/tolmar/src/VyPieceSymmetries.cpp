#include "VyPieceSymmetries.h"

#include <algorithm>

VyPieceSymmetries::VyPieceSymmetries(const VyCompactSet& set, size_t limit)
    : m_set(set), m_limit(std::max<size_t>(limit, 1))
{
    for (int piece = 0; piece < set.PieceCount(); ++piece)
        m_pieceOfCode.emplace(set.Code(piece), piece);
    const auto properties = static_cast<size_t>(set.PropertyCount());
    m_target.assign(properties, -1);
    m_flip.assign(properties, false);
    m_taken.assign(properties, false);
}

std::vector<VySymmetryMap> VyPieceSymmetries::Derive(const VyCompactSet& set, size_t limit)
{
    VyPieceSymmetries search(set, limit);
    search.m_found.push_back(VySymmetryMap::Identity(set.PieceCount()));
    if (search.m_pieceOfCode.size() == static_cast<size_t>(set.PieceCount()))
        search.AssignProperty(0);
    return std::move(search.m_found);
}

void VyPieceSymmetries::AssignProperty(int property)
{
    if (property == m_set.PropertyCount())
    {
        AssignFlips(0);
        return;
    }
    const auto p = static_cast<size_t>(property);
    for (int target = 0; target < m_set.PropertyCount() && m_found.size() < m_limit; ++target)
    {
        const auto t = static_cast<size_t>(target);
        if (m_taken[t] || m_set.ValueCount(target) != m_set.ValueCount(property))
            continue;
        m_taken[t] = true;
        m_target[p] = target;
        AssignProperty(property + 1);
        m_taken[t] = false;
    }
}

void VyPieceSymmetries::AssignFlips(int property)
{
    if (property == m_set.PropertyCount())
    {
        TryMap();
        return;
    }
    const auto p = static_cast<size_t>(property);
    m_flip[p] = false;
    AssignFlips(property + 1);
    if (m_set.ValueCount(property) == 2 && m_found.size() < m_limit)
    {
        m_flip[p] = true;
        AssignFlips(property + 1);
        m_flip[p] = false;
    }
}

uint64_t VyPieceSymmetries::MapCode(uint64_t code) const
{
    uint64_t image = 0;
    for (int p = 0; p < m_set.PropertyCount(); ++p)
    {
        const auto index = static_cast<size_t>(p);
        const int target = m_target[index];
        for (int value = 0; value < m_set.ValueCount(p); ++value)
        {
            if ((code >> (m_set.FirstBit(p) + value) & 1) == 0)
                continue;
            const int mapped = m_flip[index] ? 1 - value : value;
            image |= uint64_t{1} << (m_set.FirstBit(target) + mapped);
        }
    }
    return image;
}

void VyPieceSymmetries::TryMap()
{
    const int n = m_set.PieceCount();
    VySymmetryMap map;
    for (int piece = 0; piece < n; ++piece)
    {
        const auto found = m_pieceOfCode.find(MapCode(m_set.Code(piece)));
        if (found == m_pieceOfCode.end())
            return;
        map.image[static_cast<size_t>(piece)] = static_cast<uint8_t>(found->second);
    }
    // Distinct codes map to distinct codes, so the images are a permutation.
    map.Invert(n);
    if (map.image != m_found.front().image && m_found.size() < m_limit)
        m_found.push_back(map);
}
