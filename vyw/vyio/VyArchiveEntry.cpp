#include "vyio/VyArchiveEntry.h"

#include "vyio/VyIO.h"
#include "vythread/VyException.h"

void VyArchiveEntry::WriteRecord(VyIO& out) const
{
    out << m_name << m_startingPos << m_storedSize << m_flags << m_unpackedSize << m_date;
}

void VyArchiveEntry::ReadRecord(VyIO& in)
{
    // Operators do not notice a short read, so the four numbers are checked against the bytes left;
    // the strings check their own lengths.
    in >> m_name;
    const long long left = in.GetBytesLeft();
    if (left >= 0 && left < VY_ARCHIVE_MIN_RECORD - 1) // the rest of a record after its name
        throw VyFileException("VyArchiveEntry", "ReadRecord", "the entry table is cut short", in.GetName());
    in >> m_startingPos >> m_storedSize >> m_flags >> m_unpackedSize >> m_date;
}
