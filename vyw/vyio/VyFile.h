#pragma once

#include <cstdio>
#include <functional>

#include "vyio/VyIO.h"

// Open modes of VyFile.
constexpr int VY_FILE_READ = 1;       // "rb"
constexpr int VY_FILE_WRITE = 2;      // "wb": create or truncate
constexpr int VY_FILE_READWRITE = 3;  // "r+b": an existing file
constexpr int VY_FILE_CREATE_READWRITE = 4; // "w+b": create or truncate

// A stream over a stdio file. Every failure except Open throws VyFileException naming the file
// ("*VyFile::<operation> -> File: <name>"); one of a read, write, close or sync also carries the
// system's error number (VyFileException::GetSystemError, GetReason).
class VyFile : public VyIO
{
public:
    explicit VyFile(int direction = VY_IO_ANY) : VyIO(direction) {}
    ~VyFile() override; // closes; a failing close is reported to the trace, never thrown

    // Closes any open file, then opens name (see DiskPath). False when the file cannot be opened; a mode other than
    // 1..4 throws "*VyFile::Open : unsupported file mode -> File: <name>".
    bool Open(const VyString& name, int mode);
    bool IsOpen() const { return m_pFile != nullptr; }
    // The name as the disk sees it: backslash separators of resource paths become slashes.
    static VyString DiskPath(const VyString& name);
    // Replaces path in one step that survives a crash: write fills "<path>.tmp" (a file left there by
    // an interrupted save is overwritten), which is flushed, synchronised to the device and closed, then
    // renamed over path, and path's folder is synchronised so that the rename is kept too. Throws
    // "*VyFile::WriteReplacing : could not create the file -> File: <path>.tmp" when the temporary file
    // cannot be made, "... : could not replace the file -> File: <path>" when the rename fails, and
    // passes on the exceptions of write, of Sync ("*VyFile::Sync -> File: <path>.tmp") and of Close; on
    // all of those the temporary file is removed (whatever blocked its creation excepted) and path stays
    // byte for byte as it was. "... : could not sync the folder -> File: <folder>" is the one failure
    // after the rename: path already holds the new contents, which a crash might still take back.
    // Every exception raised at a failed system call carries its error number (GetSystemError, GetReason).
    static void WriteReplacing(const VyString& path, const std::function<void(VyFile&)>& write);

    void Close() override;
    // Hands the buffered bytes to the system and waits until the device holds them. Throws
    // "*VyFile::Sync -> File: <name>" when either fails, "*VyFile::Sync : file not open -> File: <name>"
    // when closed; a device or pipe, which cannot be synchronised, counts as done.
    void Sync();
    // Returns the bytes read; a short count at the end of the file is no error.
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    void SeekToBegin() override;
    void SeekToEnd() override;
    void Seek(int offset) override;
    void SetPosition(int position) override;
    int GetPosition() override;
    bool IsEOF() override;
    VyString GetName() const override { return m_name; }
    // Size of a regular file less the position; -1 for pipes and devices or when closed.
    long long GetBytesLeft() override;

private:
    static void FillTemporary(VyFile& file, const VyString& temporary, const std::function<void(VyFile&)>& write);
    static void SyncFolder(const VyString& path);
    void SeekTo(long offset, int origin, const char* operation);

    int m_nOpenMode = 0;
    FILE* m_pFile = nullptr;
    VyString m_name;
};
