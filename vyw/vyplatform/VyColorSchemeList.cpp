#include "vyplatform/VyColorSchemeList.h"

#include <algorithm>

#include "vyio/VyArchive.h"
#include "vyio/VyCaseBlindPath.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyDirectoryListing.h"
#include "vyio/VyFile.h"

namespace
{
constexpr const char* SCHEME_EXTENSION = ".color";

bool IsListed(const std::vector<VyColorSchemeEntry>& schemes, const VyString& fileName)
{
    return std::any_of(schemes.begin(), schemes.end(), [&fileName](const VyColorSchemeEntry& scheme) {
        return VyCaseBlindPath::SameBlind(scheme.fileName, fileName);
    });
}

void Add(std::vector<VyColorSchemeEntry>& schemes, const VyString& fileName)
{
    if (VyColorSchemeList::IsSchemeFile(fileName) && !IsListed(schemes, fileName))
        schemes.push_back({fileName, VyColorSchemeList::TitleOf(fileName)});
}

// The archive's entries directly inside the folder; its names are lower case with a leading backslash.
void AddFromArchive(std::vector<VyColorSchemeEntry>& schemes, const VyArchive& archive, const VyString& folder)
{
    VyString prefix = "\\" + folder.Lower() + "\\";
    std::replace(prefix.begin(), prefix.end(), '/', '\\');
    for (const auto& [name, entry] : archive.GetEntries())
    {
        const bool bInside = name.compare(0, prefix.size(), prefix) == 0;
        if (bInside && name.find('\\', prefix.size()) == VyString::npos)
            Add(schemes, name.substr(prefix.size()));
    }
}

// The files of the folder below base ("" for the working directory), the folder matched blind to case.
void AddFromDisk(std::vector<VyColorSchemeEntry>& schemes, const VyString& base, const VyString& folder)
{
    const VyString found = VyCaseBlindPath::FindFolder(VyFile::DiskPath(base), folder);
    std::vector<VyDirectoryEntry> entries;
    VyString error;
    if (found.empty() || !VyDirectoryListing::Read(found, entries, error))
        return;
    for (const VyDirectoryEntry& entry : entries)
        if (!entry.bDirectory)
            Add(schemes, entry.name);
}
} // namespace

std::vector<VyColorSchemeEntry> VyColorSchemeList::Find(const VyArchive& archive)
{
    VyConfigFile config("vyw.cfg");
    const VyString folder = config.GetString("Directories", "Colors", "Colors");
    const VyString resource = config.GetString("Directories", "Resource", "");
    std::vector<VyColorSchemeEntry> schemes;
    if (folder.empty())
        return schemes;
    AddFromArchive(schemes, archive, folder);
    AddFromDisk(schemes, "", folder);
    if (!resource.empty())
        AddFromDisk(schemes, resource, folder);
    std::stable_sort(schemes.begin(), schemes.end(), [](const VyColorSchemeEntry& a, const VyColorSchemeEntry& b) {
        return a.title.Lower() < b.title.Lower();
    });
    return schemes;
}

VyString VyColorSchemeList::TitleOf(const VyString& fileName)
{
    const size_t extension = IsSchemeFile(fileName) ? std::string_view(SCHEME_EXTENSION).size() : 0;
    VyString title = fileName.substr(0, fileName.size() - extension);
    std::replace(title.begin(), title.end(), '_', ' ');
    if (!title.empty() && title[0] >= 'a' && title[0] <= 'z')
        title[0] = static_cast<char>(title[0] - 'a' + 'A');
    return title;
}

bool VyColorSchemeList::IsSchemeFile(const VyString& fileName)
{
    const VyString extension = SCHEME_EXTENSION;
    return fileName.size() > extension.size() &&
           VyCaseBlindPath::SameBlind(fileName.substr(fileName.size() - extension.size()), extension);
}
