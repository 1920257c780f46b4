#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "vyio/VyArchiveEntry.h"
#include "vyio/VyIO.h"

// The resource archive: a table of entries and the stream their bytes are read from.
//
// File layout: count (u32) | count entry records (VyArchiveEntry) | the stored bytes of every entry,
// back to back. Records are written in byte order of their names; the reader does not rely on it.
// Names are lower case with backslash separators and a leading backslash ("\strings\strings.txt").
//
// A table whose count, records or offsets do not fit the stream is refused with a VyFileException
// naming the file; the archive is then empty. GetFile may be called from several threads.
class VyArchive
{
public:
    using Table = std::map<VyString, VyArchiveEntry>; // std::string order is byte order

    VyArchive() = default;
    ~VyArchive(); // saves a modified archive; failures are reported, never thrown
    VyArchive(const VyArchive&) = delete;
    VyArchive& operator=(const VyArchive&) = delete;

    // Opens the file "r+b" (falling back to "rb": the archive is only read) and reads its table.
    // False with an empty table when the file cannot be opened; throws on a damaged table.
    bool Open(const VyString& path);
    // Takes the stream (positioned anywhere) and reads the table from it; throws on a damaged table.
    void Attach(std::unique_ptr<VyIO> stream);
    // Saves when modified, then drops the table and the stream.
    void Close();

    bool HasEntries() const;
    int GetEntryCount() const;
    // A copy of the table, in name order.
    Table GetEntries() const;

    // Copies the entry's contents into out (at its position) and rewinds out. The name is looked up
    // lower-cased, then with a backslash in front. False when absent; throws VyFileException
    // "*VyArchive::GetFile : <what> -> File: <entry>" when the entry's compressed bytes are damaged
    // ("damaged compressed data"), end early ("compressed data cut short") or would unpack to more than
    // the record's unpacked size ("expands past its unpacked size": unpacking stops at that size, so a
    // small entry cannot fill the memory). out may hold part of the contents after a throw.
    bool GetFile(const VyString& name, VyIO& out);

    // Rewrites the archive into path with the records and the data in name order (stored bytes are
    // copied, never recompressed), then reads the table back from the new file. Written through
    // VyFile::WriteReplacing (synchronised to the device before and after the rename), whose failures
    // pass on with "*VyArchive::Save -> File: <path>" in front; on those the old file stays byte for byte.
    void Save(const VyString& path);

    // The archive the build linked into the executable (vyw_embed_resources); false when it carries none.
    static bool GetLinkedImage(const unsigned char*& data, int& size);

    // Lays the data out right behind the table in name order: gives every entry of table its starting
    // position there, then writes the count and the records to out.
    static void WriteTable(VyIO& out, Table& table);

    // Marks the archive to be saved to its stream's name when it is closed, re-opened or re-attached.
    void SetModified() { m_bModified = true; }
    bool IsModified() const { return m_bModified; }

private:
    void SaveIfModified();
    void ReadTable();
    void DropTable();
    bool FindEntry(const VyString& name, VyArchiveEntry& entry) const;
    void Unpack(const VyArchiveEntry& entry, VyIO& out);

    mutable std::recursive_mutex m_lock;
    Table m_entries;
    std::unique_ptr<VyIO> m_pStream;
    bool m_bModified = false;
};
