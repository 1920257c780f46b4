#pragma once

#include <map>

#include "vyio/VyArchiveEntry.h"
#include "vyio/VyIO.h"

// Makes a new resource archive (the layout of VyArchive) from entries added in any order.
class VyArchiveBuilder
{
public:
    // Adds or replaces the entry. The name is taken as it is given (archives use lower case, backslash
    // separators and a leading backslash). Compressed entries become one bzip2 stream at block size 9.
    void Add(const VyString& name, const void* data, int length, bool compress, const VyString& date);

    // Writes count, records in name order and the data behind them to out.
    void Write(VyIO& out) const;

    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }

private:
    struct Item
    {
        VyArchiveEntry entry;
        VyString bytes; // stored bytes
    };
    std::map<VyString, Item> m_entries;
};
