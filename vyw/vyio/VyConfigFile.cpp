#include "vyio/VyConfigFile.h"

#include <map>
#include <mutex>

#include "vyio/VyFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
// std::string orders by unsigned bytes, which is the order of sections and keys in a saved file.
using VyKeys = std::map<VyString, VyString>;
using VySections = std::map<VyString, VyKeys>;

// The process-wide cache: file name -> sections. Never destroyed, so that objects living in other
// static storage can still save at exit.
struct VyConfigCache
{
    std::recursive_mutex lock;
    std::map<VyString, VySections> files;
};

VyConfigCache& Cache()
{
    static VyConfigCache* cache = new VyConfigCache;
    return *cache;
}

VySections* Find(const VyString& name)
{
    auto found = Cache().files.find(name);
    return found == Cache().files.end() ? nullptr : &found->second;
}

void ParseLine(const VyString& rawLine, VySections& sections, VyKeys*& current)
{
    const VyString line = rawLine.Trimmed();
    if (line.empty() || line[0] == '*' || line[0] == '\\')
        return;
    if (line[0] == '[' && line.back() == ']')
    {
        const VyString name = line.size() > 2 ? VyString(line.substr(1, line.size() - 2)) : VyString();
        if (!name.empty())
            current = &sections[name];
        return;
    }
    const size_t equals = line.find('=');
    const VyString key = VyString(line.substr(0, equals)).Trimmed();
    const VyString value = equals == VyString::npos ? VyString() : VyString(line.substr(equals + 1)).Trimmed();
    if (key.empty() || current == nullptr)
        return;
    (*current)[key] = value;
}

// Creates the (empty) cache entry for name, then applies the lines of the stream.
void Parse(const VyString& name, VyIO* stream)
{
    VySections& sections = Cache().files[name];
    if (stream == nullptr)
        return;
    VyKeys* current = nullptr;
    VyString line;
    while (stream->ReadLine(line))
        ParseLine(line, sections, current);
}

void WriteSections(VyIO& out, const VySections& sections)
{
    for (const auto& [section, keys] : sections)
    {
        out.WriteLine("[" + section + "]");
        for (const auto& [key, value] : keys)
            out.WriteLine(key + "=" + value);
        out.Write("\n", 1);
    }
}

void SaveFile(const VyString& name)
{
    const VySections* sections = Find(name);
    if (sections == nullptr)
        return;
    try
    {
        VyFile::WriteReplacing(name, [sections](VyFile& file) { WriteSections(file, *sections); });
    }
    catch (VyFileException& error)
    {
        // The old file stays untouched.
        error.AddContext("VyConfigFile", "Save", "not saved", name);
        const VyString reason = error.GetReason();
        VyTrace::Write(error.GetMessage() + "\n" + (reason.empty() ? VyString() : "Reason: " + reason + "\n"));
    }
    catch (VyException& error)
    {
        error.AddContext("VyConfigFile", "Save", "not saved", name);
        error.Report();
    }
}
} // namespace

VyConfigFile::VyConfigFile(const VyString& name) : m_name(name)
{
    Load();
}

VyConfigFile::VyConfigFile(const VyString& name, VyIO& stream)
{
    SetFile(name, stream);
}

VyConfigFile::~VyConfigFile()
{
    try
    {
        SaveIfModified();
    }
    catch (VyException& error)
    {
        error.Report();
    }
}

void VyConfigFile::Load()
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    if (Find(m_name) != nullptr)
        return;
    if (m_name == "vyw.cfg")
    {
        VyFile file(VY_IO_READ);
        if (!file.Open(m_name, VY_FILE_READ))
            file.Open(m_name, VY_FILE_CREATE_READWRITE);
        Parse(m_name, file.IsOpen() ? &file : nullptr);
        return;
    }
    VyMemFile contents(VY_IO_READ);
    VyResourceSource::Fetch(m_name, contents);
    Parse(m_name, &contents);
}

void VyConfigFile::SaveIfModified()
{
    if (m_bModified)
        Save();
}

void VyConfigFile::Save()
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    SaveFile(m_name);
}

void VyConfigFile::SetFile(const VyString& name)
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    SaveIfModified();
    m_name = name;
    m_bReadOnly = false;
    Load();
}

void VyConfigFile::SetFile(const VyString& name, VyIO& stream)
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    SaveIfModified();
    m_name = name;
    m_bReadOnly = true;
    if (Find(name) == nullptr)
        Parse(name, &stream);
}

VyString VyConfigFile::GetString(const VyString& section, const VyString& key, const VyString& defaultValue)
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    Load();
    VySections& sections = *Find(m_name);
    auto foundSection = sections.find(section);
    if (foundSection != sections.end())
    {
        auto foundKey = foundSection->second.find(key);
        if (foundKey != foundSection->second.end())
            return foundKey->second;
    }
    if (!m_bReadOnly)
    {
        sections[section][key] = defaultValue;
        Save();
    }
    return defaultValue;
}

int VyConfigFile::GetInt(const VyString& section, const VyString& key, int defaultValue)
{
    return GetString(section, key, VyString::Format("%d", defaultValue)).ToInt();
}

bool VyConfigFile::GetBool(const VyString& section, const VyString& key, bool defaultValue)
{
    const VyString value = GetString(section, key, defaultValue ? "TRUE" : "FALSE");
    return value.EqualsNoCase("true") || value.EqualsNoCase("t") || value == "1";
}

void VyConfigFile::SetString(const VyString& section, const VyString& key, const VyString& value)
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    VY_ASSERT(!m_bReadOnly);
    if (m_bReadOnly)
        return;
    Load();
    (*Find(m_name))[section][key] = value;
    m_bModified = true;
}

void VyConfigFile::SetInt(const VyString& section, const VyString& key, int value, VyConfigSave save)
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    Load();
    (*Find(m_name))[section][key] = VyString::Format("%d", value);
    if (save == VY_CONFIG_SAVE_NOW)
        Save();
}

void VyConfigFile::GetSection(const VyString& section, std::vector<VyString>& keys, std::vector<VyString>& values)
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    keys.clear();
    values.clear();
    Load();
    const VySections& sections = *Find(m_name);
    auto found = sections.find(section);
    if (found == sections.end())
        return;
    for (const auto& [key, value] : found->second)
    {
        keys.push_back(key);
        values.push_back(value);
    }
}

void VyConfigFile::Forget(const VyString& name)
{
    std::lock_guard<std::recursive_mutex> guard(Cache().lock);
    Cache().files.erase(name);
}
