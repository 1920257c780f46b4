#include "TestSets.h"

#include <sstream>

#include "VySetLoader.h"
#include "vyio/VyMemFile.h"

TestResources& TestResources::Get()
{
    static TestResources resources;
    return resources;
}

void TestResources::Add(const VyString& path, const VyString& text)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_files[path] = text;
}

void TestResources::GetResourceFile(const VyString& path, VyIO& out)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const auto found = m_files.find(path);
        if (found != m_files.end())
        {
            out.Write(found->second.data(), static_cast<int>(found->second.size()));
            out.SeekToBegin();
            return;
        }
    }
    const size_t slash = path.find_last_of('\\');
    const bool picture = path.size() > 4 && path.compare(path.size() - 4, 4, ".bmp") == 0;
    if (picture && path.rfind("sets\\", 0) == 0 && !GetArchive().GetFile(path, out))
    {
        VyArchiveSource::GetResourceFile("sets\\classic" + path.substr(slash), out);
        return;
    }
    VyArchiveSource::GetResourceFile(path, out);
}

VyString TestResources::ArchiveText(const VyString& path)
{
    VyMemFile file(VY_IO_READ);
    VyArchiveSource::GetResourceFile(path, file);
    return VyString(file.GetView());
}

const VyPieceSet& ClassicSet()
{
    TestResources::Get();
    static const VyPieceSet set = VyPieceSet::Classic();
    return set;
}

const VyPieceSet& SquaresSet()
{
    TestResources::Get();
    static const VyPieceSet set = [] {
        VyArchiveSource archiveOnly; // installed over the test look-up while it lives
        return VySetLoader::Load(VySetLoader::PathOfSet("squares"));
    }();
    return set;
}

VyString ClassicText()
{
    return TestResources::Get().ArchiveText("sets\\classic\\classic.cfg");
}

VyString EditSetText(const VyString& text, const VyString& section, const VyString& key, const char* value)
{
    std::istringstream in(text);
    std::string line;
    VyString out;
    VyString current;
    bool done = false;
    auto addKey = [&]() {
        if (!done && current == section && value != nullptr)
            out += key + "=" + value + "\n";
        done = done || current == section;
    };
    while (std::getline(in, line))
    {
        const VyString trimmed = VyString(line).Trimmed();
        if (trimmed.size() > 2 && trimmed.front() == '[' && trimmed.back() == ']')
        {
            addKey();
            current = trimmed.substr(1, trimmed.size() - 2);
        }
        else if (current == section && trimmed.rfind(key + "=", 0) == 0)
        {
            if (value != nullptr)
                out += key + "=" + value + "\n";
            done = true;
            continue;
        }
        out += line + "\n";
    }
    addKey();
    return out;
}

std::vector<VyString> RecordingProgress::Calls()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_calls;
}

int RecordingProgress::Count(const char* prefix)
{
    int count = 0;
    for (const VyString& call : Calls())
        count += call.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

void RecordingProgress::Add(const VyString& call)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_calls.push_back(call);
}
