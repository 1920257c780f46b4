#include "vyio/VyArchiveBuilder.h"

#include "vyio/VyArchive.h"
#include "vyio/VyBzipStream.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

void VyArchiveBuilder::Add(const VyString& name, const void* data, int length, bool compress, const VyString& date)
{
    Item item;
    item.entry.m_name = name;
    item.entry.m_unpackedSize = static_cast<unsigned int>(length);
    item.entry.m_date = date;
    if (compress)
    {
        VyMemFile packed;
        {
            VyBzipStream packer(packed, VY_BZIP_COMPRESS);
            if (packer.Write(data, length) < 0)
                throw VyException("VyArchiveBuilder", "Add", "compression failed", name);
            packer.Close();
            if (packer.HasFailed())
                throw VyException("VyArchiveBuilder", "Add", "compression failed", name);
        }
        item.bytes.assign(packed.GetView());
        item.entry.m_flags = VY_ARCHIVE_COMPRESSED;
    }
    else
        item.bytes.assign(static_cast<const char*>(data), static_cast<size_t>(length));
    item.entry.m_storedSize = static_cast<unsigned int>(item.bytes.size());
    m_entries[name] = std::move(item);
}

void VyArchiveBuilder::Write(VyIO& out) const
{
    VyArchive::Table table;
    for (const auto& [name, item] : m_entries)
        table[name] = item.entry;
    VyArchive::WriteTable(out, table);
    for (const auto& [name, item] : m_entries)
        out.Write(item.bytes.data(), static_cast<int>(item.bytes.size()));
}
