#include "VyTranspositionTable.h"

VyTranspositionTable::VyTranspositionTable(int log2Entries) : m_log2Entries(log2Entries)
{
}

void VyTranspositionTable::Allocate()
{
    if (m_entries.empty())
        m_entries.resize(size_t{1} << m_log2Entries);
}

const VyTranspositionTable::Entry* VyTranspositionTable::Find(uint64_t key)
{
    Allocate();
    ++m_probes;
    const size_t slot = static_cast<size_t>(key) & (m_entries.size() - 2);
    for (size_t i = slot; i < slot + 2; ++i)
        if (m_entries[i].bound != Bound::NONE && m_entries[i].key == key)
        {
            ++m_hits;
            return &m_entries[i];
        }
    return nullptr;
}

void VyTranspositionTable::Store(const Entry& entry)
{
    Allocate();
    const size_t slot = static_cast<size_t>(entry.key) & (m_entries.size() - 2);
    Entry& deep = m_entries[slot];
    Entry& recent = m_entries[slot + 1];
    if (deep.key == entry.key || deep.bound == Bound::NONE || entry.depth >= deep.depth)
    {
        if (deep.key != entry.key && deep.bound != Bound::NONE)
            recent = deep;
        deep = entry;
    }
    else
        recent = entry;
}

void VyTranspositionTable::Clear()
{
    m_entries.assign(size_t{1} << m_log2Entries, Entry());
    m_probes = 0;
    m_hits = 0;
}
