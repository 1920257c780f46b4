#include "VyPieceSetList.h"

#include <algorithm>

#include "VySetLoader.h"
#include "vyio/VyArchive.h"
#include "vyio/VyCaseBlindPath.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyDirectoryListing.h"
#include "vyio/VyFile.h"

namespace
{
constexpr const char* SETS_FOLDER = "sets";

bool IsListed(const std::vector<VyString>& names, const VyString& name)
{
    return std::any_of(names.begin(), names.end(),
                       [&name](const VyString& listed) { return VyCaseBlindPath::SameBlind(listed, name); });
}

void AddAll(std::vector<VyString>& names, const std::vector<VyString>& found)
{
    for (const VyString& name : found)
        if (!IsListed(names, name))
            names.push_back(name);
}

// The set named by an archive entry "\sets\<name>\<name>.cfg"; empty for any other entry.
VyString SetOfEntry(const VyString& entry)
{
    const VyString prefix = VyString("\\") + SETS_FOLDER + "\\";
    if (entry.compare(0, prefix.size(), prefix) != 0)
        return VyString();
    const size_t slash = entry.find('\\', prefix.size());
    if (slash == VyString::npos)
        return VyString();
    const VyString name = entry.substr(prefix.size(), slash - prefix.size());
    return entry.substr(slash + 1) == name + ".cfg" ? name : VyString();
}
} // namespace

std::vector<VyString> VyPieceSetList::Find(const VyArchive& archive)
{
    const VyString resource = VyConfigFile("vyw.cfg").GetString("Directories", "Resource", "");
    std::vector<VyString> names;
    AddAll(names, FindInArchive(archive));
    AddAll(names, FindOnDisk(""));
    if (!resource.empty())
        AddAll(names, FindOnDisk(resource));
    std::stable_sort(names.begin(), names.end(),
                     [](const VyString& a, const VyString& b) { return a.Lower() < b.Lower(); });
    return names;
}

std::vector<VyString> VyPieceSetList::FindInArchive(const VyArchive& archive)
{
    std::vector<VyString> names;
    for (const auto& [entry, record] : archive.GetEntries())
    {
        const VyString name = SetOfEntry(entry);
        if (VySetLoader::IsValidSetName(name))
            names.push_back(name);
    }
    return names;
}

std::vector<VyString> VyPieceSetList::FindOnDisk(const VyString& base)
{
    std::vector<VyString> names;
    const VyString diskBase = VyFile::DiskPath(base);
    const VyString folder = VyCaseBlindPath::FindFolder(diskBase, SETS_FOLDER);
    std::vector<VyDirectoryEntry> entries;
    VyString error;
    if (folder.empty() || !VyDirectoryListing::Read(folder, entries, error))
        return names;
    for (const VyDirectoryEntry& entry : entries)
    {
        const bool bSet = entry.bDirectory && VySetLoader::IsValidSetName(entry.name) &&
                          !VyCaseBlindPath::Find(diskBase, VySetLoader::PathOfSet(entry.name)).empty();
        if (bSet && !IsListed(names, entry.name))
            names.push_back(entry.name);
    }
    return names;
}

VyString VyPieceSetList::TitleOf(const VyString& name)
{
    VyString title = name;
    if (!title.empty() && title[0] >= 'a' && title[0] <= 'z')
        title[0] = static_cast<char>(title[0] - 'a' + 'A');
    return title;
}
