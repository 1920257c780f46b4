#include "vyio/VyResourceSource.h"

#include <atomic>

#include "vyio/VyCaseBlindPath.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyFile.h"
#include "vythread/VyException.h"

namespace
{
std::atomic<VyResourceSource*> g_pCurrentSource{nullptr};

bool CopyFromDisk(const VyString& path, VyIO& out)
{
    VyFile file(VY_IO_READ);
    if (path.empty() || !file.Open(path, VY_FILE_READ))
        return false;
    out.CopyAll(file);
    out.SeekToBegin();
    file.Close();
    return true;
}

// The path below folder ("" for the working directory) whatever the case of its letters; "" for none.
VyString FindBlind(const VyString& folder, const VyString& path)
{
    return VyCaseBlindPath::Find(VyFile::DiskPath(folder), path);
}
} // namespace

VyResourceSource* VyResourceSource::GetCurrent()
{
    return g_pCurrentSource.load();
}

void VyResourceSource::SetCurrent(VyResourceSource* source)
{
    g_pCurrentSource.store(source);
}

void VyResourceSource::Fetch(const VyString& path, VyIO& out)
{
    if (VyResourceSource* source = GetCurrent())
        source->GetResourceFile(path, out);
    else
        FetchFromDisk(path, out);
}

void VyResourceSource::FetchFromDisk(const VyString& path, VyIO& out)
{
    if (CopyFromDisk(path, out))
        return;
    const VyString directory = VyConfigFile("vyw.cfg").GetString("Directories", "Resource", "");
    // An empty directory would turn the path into one below the file-system root: not looked at.
    if (!directory.empty() && CopyFromDisk(JoinPath(directory, path), out))
        return;
    // Names from files written for a system blind to letter case, once no exact name exists.
    if (CopyFromDisk(FindBlind("", path), out))
        return;
    if (!directory.empty() && CopyFromDisk(FindBlind(directory, path), out))
        return;
    ThrowNotFound(path);
}

void VyResourceSource::ThrowNotFound(const VyString& path)
{
    throw VyFileException("VyPlatform", "GetResourceFile", "Could not locate resource file", path);
}

VyString VyResourceSource::JoinPath(const VyString& directory, const VyString& name)
{
    VyString path(directory);
    if (path.empty() || path.back() != '\\')
        path.push_back('\\');
    path += name;
    return path;
}
