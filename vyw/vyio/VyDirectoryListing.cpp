#include "vyio/VyDirectoryListing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
// Orders names without regard to ASCII case; names equal that way go in byte order.
bool NameBefore(const VyString& a, const VyString& b)
{
    const VyString lowerA = a.Lower();
    const VyString lowerB = b.Lower();
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

bool EntryBefore(const VyDirectoryEntry& a, const VyDirectoryEntry& b)
{
    if (a.bDirectory != b.bDirectory)
        return a.bDirectory;
    return NameBefore(a.name, b.name);
}

VyString ErrorText(int error)
{
    char buffer[256] = {};
    return strerror_r(error, buffer, sizeof buffer);
}

VyDirectoryEntry Describe(const VyString& directory, const char* name)
{
    VyDirectoryEntry entry;
    entry.name = name;
    struct stat info{};
    if (stat(VyDirectoryListing::Join(directory, entry.name).c_str(), &info) == 0)
    {
        entry.bDirectory = S_ISDIR(info.st_mode);
        entry.size = entry.bDirectory ? 0 : static_cast<std::uint64_t>(info.st_size);
        entry.modified = info.st_mtime;
    }
    return entry;
}
} // namespace

bool VyDirectoryListing::Read(const VyString& directory, std::vector<VyDirectoryEntry>& entries, VyString& error)
{
    entries.clear();
    DIR* pDir = opendir(directory.c_str());
    if (pDir == nullptr)
    {
        error = ErrorText(errno);
        return false;
    }
    std::vector<VyDirectoryEntry> found;
    while (const dirent* pEntry = readdir(pDir))
        if (pEntry->d_name[0] != '.')
            found.push_back(Describe(directory, pEntry->d_name));
    closedir(pDir);
    std::sort(found.begin(), found.end(), EntryBefore);
    if (Absolute(directory) != "/")
        entries.push_back({"..", true, 0, 0});
    entries.insert(entries.end(), found.begin(), found.end());
    return true;
}

VyString VyDirectoryListing::Join(const VyString& directory, const VyString& name)
{
    if (name == "..")
    {
        const VyString absolute = Absolute(directory);
        const size_t cut = absolute.find_last_of('/');
        return cut == 0 || cut == VyString::npos ? VyString("/") : absolute.substr(0, cut);
    }
    if (!name.empty() && name[0] == '/')
        return name;
    if (directory.empty() || directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

VyString VyDirectoryListing::Absolute(const VyString& path)
{
    VyString full = path;
    if (full.empty() || full[0] != '/')
    {
        std::vector<char> buffer(4096);
        const VyString current = getcwd(buffer.data(), buffer.size()) != nullptr ? VyString(buffer.data()) : "/";
        full = current + "/" + full;
    }
    std::vector<VyString> parts;
    size_t start = 0;
    while (start <= full.size())
    {
        const size_t end = std::min(full.find('/', start), full.size());
        const VyString part = full.substr(start, end - start);
        if (part == ".." && !parts.empty())
            parts.pop_back();
        else if (!part.empty() && part != "." && part != "..")
            parts.push_back(part);
        start = end + 1;
    }
    VyString tidy;
    for (const VyString& part : parts)
        tidy += "/" + part;
    return tidy.empty() ? VyString("/") : tidy;
}

bool VyDirectoryListing::IsDirectory(const VyString& path)
{
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool VyDirectoryListing::Exists(const VyString& path)
{
    struct stat info{};
    return stat(path.c_str(), &info) == 0;
}
