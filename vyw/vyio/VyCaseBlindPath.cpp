#include "vyio/VyCaseBlindPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace
{
namespace fs = std::filesystem;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The parts between separators, "." parts dropped; false for a path that may not be followed.
bool SplitParts(const VyString& relative, std::vector<VyString>& parts)
{
    if (relative.empty() || relative.front() == '\\' || relative.front() == '/')
        return false;
    VyString part;
    for (size_t at = 0; at <= relative.size(); ++at)
    {
        if (at < relative.size() && relative[at] != '\\' && relative[at] != '/')
        {
            part.push_back(relative[at]);
            continue;
        }
        if (part == "..")
            return false;
        if (!part.empty() && part != ".")
            parts.push_back(part);
        part.clear();
    }
    return !parts.empty();
}

// The entries of folder that part names: the exact name first (when it exists), then the others
// equal but for case, in byte order.
std::vector<fs::path> Candidates(const fs::path& folder, const VyString& part)
{
    std::vector<VyString> blind;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    {
        const VyString name = it->path().filename().string();
        if (name != part && VyCaseBlindPath::SameBlind(name, part))
            blind.push_back(name);
    }
    std::sort(blind.begin(), blind.end());
    std::vector<fs::path> candidates;
    if (fs::exists(folder / part.c_str(), error))
        candidates.push_back(folder / part.c_str());
    for (const VyString& name : blind)
        candidates.push_back(folder / name.c_str());
    return candidates;
}

// What a walk looks for at its end.
enum class EntryKind
{
    FILE,
    FOLDER,
};

bool IsKind(const fs::path& at, EntryKind kind)
{
    std::error_code error;
    return kind == EntryKind::FILE ? fs::is_regular_file(at, error) : fs::is_directory(at, error);
}

// The first entry of the kind below at that parts[next...] name, trying the candidates of each level
// in turn; false for none.
bool Walk(const fs::path& at, const std::vector<VyString>& parts, size_t next, EntryKind kind, fs::path& found)
{
    if (next == parts.size())
    {
        found = at;
        return IsKind(at, kind);
    }
    for (const fs::path& candidate : Candidates(at, parts[next]))
        if (Walk(candidate, parts, next + 1, kind, found))
            return true;
    return false;
}

VyString FindEntry(const VyString& folder, const VyString& relative, EntryKind kind)
{
    std::vector<VyString> parts;
    if (!SplitParts(relative, parts))
        return {};
    fs::path found;
    if (!Walk(folder.empty() ? fs::path(".") : fs::path(folder.c_str()), parts, 0, kind, found))
        return {};
    const VyString path = found.string();
    return folder.empty() ? VyString(path.substr(2)) : path; // without the "./" in front
}
} // namespace

bool VyCaseBlindPath::SameBlind(const VyString& a, const VyString& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

VyString VyCaseBlindPath::Find(const VyString& folder, const VyString& relative)
{
    return FindEntry(folder, relative, EntryKind::FILE);
}

VyString VyCaseBlindPath::FindFolder(const VyString& folder, const VyString& relative)
{
    return FindEntry(folder, relative, EntryKind::FOLDER);
}
