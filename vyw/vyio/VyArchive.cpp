#include "vyio/VyArchive.h"

#include <algorithm>
#include <climits>

#include "vyio/VyBzipStream.h"
#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

// Put there by the build (resources/CMakeLists.txt) in executables that embed the archive; weak, so
// that any other program links and sees null.
extern "C" {
extern const unsigned char vyw_resource_archive_begin[] __attribute__((weak));
extern const unsigned char vyw_resource_archive_end[] __attribute__((weak));
}

VyArchive::~VyArchive()
{
    try
    {
        Close();
    }
    catch (VyException& error)
    {
        error.Report();
    }
}

void VyArchive::SaveIfModified()
{
    if (!m_bModified || m_pStream == nullptr)
        return;
    const VyString name = m_pStream->GetName();
    if (!name.empty())
        Save(name);
}

void VyArchive::DropTable()
{
    m_entries.clear();
    m_pStream.reset();
}

void VyArchive::Close()
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    SaveIfModified();
    DropTable();
}

bool VyArchive::Open(const VyString& path)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    Close();
    auto file = std::make_unique<VyFile>(VY_IO_READ);
    if (!file->Open(path, VY_FILE_READWRITE) && !file->Open(path, VY_FILE_READ))
        return false;
    m_pStream = std::move(file);
    ReadTable();
    return true;
}

void VyArchive::Attach(std::unique_ptr<VyIO> stream)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    Close();
    m_pStream = std::move(stream);
    if (m_pStream != nullptr)
        ReadTable();
}

void VyArchive::ReadTable()
{
    VyIO& in = *m_pStream;
    const VyString name = in.GetName();
    try
    {
        in.SeekToBegin();
        const long long size = in.GetBytesLeft();
        unsigned int count = 0;
        in >> count;
        // Every record takes at least VY_ARCHIVE_MIN_RECORD bytes, so a count the file cannot hold is
        // refused before anything is read or allocated.
        if (size < 4 || static_cast<long long>(count) * VY_ARCHIVE_MIN_RECORD > size - 4)
            throw VyFileException("VyArchive", "ReadTable", VyString::Format("%u entries do not fit", count), name);
        for (unsigned int i = 0; i < count; ++i)
        {
            VyArchiveEntry entry;
            entry.ReadRecord(in);
            const long long end = static_cast<long long>(entry.m_startingPos) + entry.m_storedSize;
            if (end > size || end > INT_MAX)
                throw VyFileException("VyArchive", "ReadTable",
                                      "the data of " + entry.m_name + " lies beyond the end", name);
            m_entries[entry.m_name] = entry;
        }
    }
    catch (VyException& error)
    {
        error.AddContext("VyArchive", "ReadTable", "damaged archive", name);
        DropTable();
        throw;
    }
}

bool VyArchive::HasEntries() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return !m_entries.empty();
}

int VyArchive::GetEntryCount() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return static_cast<int>(m_entries.size());
}

VyArchive::Table VyArchive::GetEntries() const
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_entries;
}

bool VyArchive::FindEntry(const VyString& name, VyArchiveEntry& entry) const
{
    const VyString lower = name.Lower();
    auto found = m_entries.find(lower);
    if (found == m_entries.end())
        found = m_entries.find("\\" + lower);
    if (found == m_entries.end())
        return false;
    entry = found->second;
    return true;
}

bool VyArchive::GetFile(const VyString& name, VyIO& out)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    VyArchiveEntry entry;
    if (m_pStream == nullptr || !FindEntry(name, entry))
        return false;
    m_pStream->SetPosition(static_cast<int>(entry.m_startingPos));
    if (entry.IsCompressed())
        Unpack(entry, out);
    else
        out.CopyFrom(*m_pStream, static_cast<int>(entry.m_storedSize));
    out.SeekToBegin();
    return true;
}

void VyArchive::Unpack(const VyArchiveEntry& entry, VyIO& out)
{
    VyMemFile packed;
    packed.CopyFrom(*m_pStream, static_cast<int>(entry.m_storedSize));
    packed.SeekToBegin();
    VyBzipStream unpacker(packed, VY_BZIP_DECOMPRESS);
    // The record's unpacked size bounds the output, so that a small entry cannot fill the memory.
    out.CopyFrom(unpacker, static_cast<int>(std::min<unsigned int>(entry.m_unpackedSize, INT_MAX)));
    char more = 0;
    const bool expandsPast = !unpacker.HasFailed() && unpacker.Read(&more, 1) > 0;
    if (expandsPast)
        throw VyFileException("VyArchive", "GetFile", "expands past its unpacked size", entry.m_name);
    if (unpacker.HasFailed())
        throw VyFileException("VyArchive", "GetFile",
                              unpacker.IsTruncated() ? "compressed data cut short" : "damaged compressed data",
                              entry.m_name);
}

bool VyArchive::GetLinkedImage(const unsigned char*& data, int& size)
{
    const unsigned char* begin = vyw_resource_archive_begin;
    const unsigned char* end = vyw_resource_archive_end;
    if (begin == nullptr || end == nullptr || end <= begin || end - begin > INT_MAX)
        return false;
    data = begin;
    size = static_cast<int>(end - begin);
    return true;
}

void VyArchive::WriteTable(VyIO& out, Table& table)
{
    VyMemFile records;
    for (const auto& [name, entry] : table)
        entry.WriteRecord(records);
    unsigned int next = 4u + static_cast<unsigned int>(records.GetLength());
    out << static_cast<unsigned int>(table.size());
    for (auto& [name, entry] : table)
    {
        entry.m_startingPos = next;
        next += entry.m_storedSize;
        entry.WriteRecord(out);
    }
}

void VyArchive::Save(const VyString& path)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_pStream == nullptr)
        return;
    // The new offsets go into a copy, so that a failed save leaves this archive as it was; the data is
    // read from where the archive's own table says it lies.
    Table table = m_entries;
    VyMemFile image;
    WriteTable(image, table);
    for (const auto& [name, entry] : table)
    {
        m_pStream->SetPosition(static_cast<int>(m_entries.at(name).m_startingPos));
        VY_ASSERT(image.GetPosition() == static_cast<int>(entry.m_startingPos));
        image.CopyFrom(*m_pStream, static_cast<int>(entry.m_storedSize));
    }
    image.SeekToBegin();

    try
    {
        VyFile::WriteReplacing(path, [&](VyFile& file) { file.CopyAll(image); });
    }
    catch (VyException& error)
    {
        error.AddContext("VyArchive", "Save", {}, path);
        throw;
    }
    m_bModified = false;
    DropTable();
    Open(path);
}
