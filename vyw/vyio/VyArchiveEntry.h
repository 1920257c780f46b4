#pragma once

#include "vythread/VyString.h"

class VyIO;

// Flag bit 0 of an entry: the stored bytes are one complete bzip2 stream.
constexpr unsigned int VY_ARCHIVE_COMPRESSED = 1;
// The smallest record: two empty strings (one length byte each) and the four numbers.
constexpr long long VY_ARCHIVE_MIN_RECORD = 1 + 16 + 1;

// One record of the archive's entry table. On the stream (all u32 little-endian):
//     name (VyString) | starting position | stored size | flags | unpacked size | date (VyString)
// The starting position counts from the start of the archive. The unpacked size bounds what a compressed
// entry may unpack to (more is damage, see VyArchive::GetFile); the date ("MM/DD/YYYY HH:MM:SS") is
// informational.
struct VyArchiveEntry
{
    VyString m_name;
    unsigned int m_startingPos = 0;
    unsigned int m_storedSize = 0;
    unsigned int m_flags = 0;
    unsigned int m_unpackedSize = 0;
    VyString m_date;

    bool IsCompressed() const { return (m_flags & VY_ARCHIVE_COMPRESSED) != 0; }
    void WriteRecord(VyIO& out) const;
    // Reads one record; throws VyFileException when the stream ends inside it.
    void ReadRecord(VyIO& in);
};
