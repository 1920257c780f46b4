#include "vyio/VyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
const char* StdioMode(int mode)
{
    switch (mode)
    {
    case VY_FILE_READ: return "rb";
    case VY_FILE_WRITE: return "wb";
    case VY_FILE_READWRITE: return "r+b";
    case VY_FILE_CREATE_READWRITE: return "w+b";
    default: return nullptr;
    }
}
} // namespace

VyFile::~VyFile()
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

VyString VyFile::DiskPath(const VyString& name)
{
    VyString path(name);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

void VyFile::WriteReplacing(const VyString& path, const std::function<void(VyFile&)>& write)
{
    const VyString temporary = path + ".tmp";
    VyFile file(VY_IO_WRITE);
    if (!file.Open(temporary, VY_FILE_WRITE))
    {
        const int error = errno;
        throw VyFileException("VyFile", "WriteReplacing", "could not create the file", temporary, error);
    }
    FillTemporary(file, temporary, write);
    // rename replaces the old file in one step, so there is no moment without it.
    if (std::rename(DiskPath(temporary).c_str(), DiskPath(path).c_str()) != 0)
    {
        const int error = errno;
        std::remove(DiskPath(temporary).c_str());
        throw VyFileException("VyFile", "WriteReplacing", "could not replace the file", path, error);
    }
    SyncFolder(path);
}

void VyFile::FillTemporary(VyFile& file, const VyString& temporary, const std::function<void(VyFile&)>& write)
{
    try
    {
        write(file);
        // The bytes reach the device before the rename can make them the file's contents; a full
        // disk shows here at the latest.
        file.Sync();
        file.Close();
    }
    catch (...)
    {
        try
        {
            file.Close();
        }
        catch (VyException&)
        {
            // The first failure is the one passed on.
        }
        std::remove(DiskPath(temporary).c_str());
        throw;
    }
}

void VyFile::SyncFolder(const VyString& path)
{
    const std::filesystem::path folder = std::filesystem::path(DiskPath(path).c()).parent_path();
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    const int handle = open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = handle < 0 ? errno : 0;
    if (handle >= 0)
    {
        // Without this the folder's new entry, and with it the rename, could be lost in a crash.
        if (fsync(handle) != 0 && errno != EINVAL)
            error = errno;
        close(handle);
    }
    if (error != 0)
        throw VyFileException("VyFile", "WriteReplacing", "could not sync the folder", name, error);
}

void VyFile::Sync()
{
    if (m_pFile == nullptr)
        throw VyFileException("VyFile", "Sync", "file not open", m_name);
    // A device or pipe cannot be synchronised (EINVAL) and has nothing to keep.
    if (std::fflush(m_pFile) != 0 || (fsync(fileno(m_pFile)) != 0 && errno != EINVAL))
    {
        const int error = errno;
        throw VyFileException("VyFile", "Sync", {}, m_name, error);
    }
}

bool VyFile::Open(const VyString& name, int mode)
{
    Close();
    m_name = name;
    m_nOpenMode = mode;
    const char* stdioMode = StdioMode(mode);
    if (stdioMode == nullptr)
        throw VyFileException("VyFile", "Open", "unsupported file mode", name);
    m_pFile = std::fopen(DiskPath(name).c_str(), stdioMode);
    return m_pFile != nullptr;
}

void VyFile::Close()
{
    // The name is kept for the message of a failing close, which loses written data.
    VyString name;
    name.swap(m_name);
    if (m_pFile == nullptr)
        return;
    FILE* file = m_pFile;
    m_pFile = nullptr;
    if (std::fclose(file) != 0)
    {
        const int error = errno;
        throw VyFileException("VyFile", "Close", {}, name, error);
    }
}

int VyFile::Read(void* buffer, int count)
{
    if (count <= 0)
        return 0;
    if (m_pFile == nullptr)
        throw VyFileException("VyFile", "Read", "file not open", m_name);
    const size_t got = std::fread(buffer, 1, static_cast<size_t>(count), m_pFile);
    if (std::ferror(m_pFile))
    {
        const int error = errno;
        std::clearerr(m_pFile);
        throw VyFileException("VyFile", "Read", {}, m_name, error);
    }
    if (got == 0 && !std::feof(m_pFile))
        throw VyFileException("VyFile", "Read", {}, m_name);
    return static_cast<int>(got);
}

int VyFile::Write(const void* buffer, int count)
{
    if (count <= 0)
        return 0;
    if (m_pFile == nullptr)
        throw VyFileException("VyFile", "Write", "file not open", m_name);
    const size_t written = std::fwrite(buffer, 1, static_cast<size_t>(count), m_pFile);
    if (written < static_cast<size_t>(count))
    {
        const int error = errno;
        throw VyFileException("VyFile", "Write", {}, m_name, error);
    }
    return count;
}

void VyFile::SeekTo(long offset, int origin, const char* operation)
{
    if (m_pFile == nullptr || std::fseek(m_pFile, offset, origin) != 0)
        throw VyFileException("VyFile", operation, {}, m_name);
}

void VyFile::SeekToBegin()
{
    SeekTo(0, SEEK_SET, "SeekToBegin");
}

void VyFile::SeekToEnd()
{
    SeekTo(0, SEEK_END, "SeekToEnd");
}

void VyFile::Seek(int offset)
{
    SeekTo(offset, SEEK_CUR, "Seek");
}

void VyFile::SetPosition(int position)
{
    SeekTo(position, SEEK_SET, "SetPosition");
}

int VyFile::GetPosition()
{
    const long position = m_pFile != nullptr ? std::ftell(m_pFile) : -1;
    if (position < 0 || position > INT32_MAX)
        throw VyFileException("VyFile", "GetPosition", {}, m_name);
    return static_cast<int>(position);
}

bool VyFile::IsEOF()
{
    return m_pFile == nullptr || std::feof(m_pFile) != 0;
}

long long VyFile::GetBytesLeft()
{
    if (m_pFile == nullptr)
        return -1;
    struct stat info;
    if (fstat(fileno(m_pFile), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    const long position = std::ftell(m_pFile);
    if (position < 0)
        return -1;
    // Bytes written but still buffered are not in st_size yet; they are behind the position anyway.
    return info.st_size > position ? static_cast<long long>(info.st_size - position) : 0;
}
