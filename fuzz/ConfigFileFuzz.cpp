// A configuration file's text, parsed read-only by VyConfigFile from a stream, then read back through
// every typed getter. The sections asked for are the bracketed names that occur in the text. Checked:
// GetSection's keys are sorted and unique, GetString gives the value GetSection listed, GetInt and
// GetBool read that value as documented, and nothing a read-only object does changes what it holds.
#include <cstdlib>
#include <set>
#include <vector>

#include "VyFuzzCheck.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"

namespace
{
constexpr char VY_FUZZ_NAME[] = "fuzz.cfg";

// Every "[...]" of the text, trimmed as the parser trims lines; a superset of the parsed sections.
std::set<VyString> SectionNames(const VyString& text)
{
    std::set<VyString> names;
    size_t open = text.find('[');
    while (open != VyString::npos)
    {
        const size_t close = text.find(']', open);
        if (close == VyString::npos)
            break;
        names.insert(VyString(text.substr(open + 1, close - open - 1)));
        open = text.find('[', open + 1);
    }
    return names;
}

bool ReadsTrue(const VyString& value)
{
    return value.EqualsNoCase("true") || value.EqualsNoCase("t") || value == "1";
}

void CheckKey(VyConfigFile& config, const VyString& section, const VyString& key, const VyString& value)
{
    VyFuzzCheck(!key.empty(), "an empty key was kept");
    VyFuzzCheck(config.GetString(section, key, "?") == value, "GetString differs from GetSection");
    VyFuzzCheck(config.GetInt(section, key, 7) == std::atoi(value.c_str()), "GetInt is not atoi");
    VyFuzzCheck(config.GetBool(section, key, false) == ReadsTrue(value), "GetBool misreads");
    VyFuzzCheck(config.GetBool(section, key, true) == ReadsTrue(value), "GetBool used its default");
}

void CheckSection(VyConfigFile& config, const VyString& section)
{
    std::vector<VyString> keys, values;
    config.GetSection(section, keys, values);
    VyFuzzCheck(keys.size() == values.size(), "keys and values differ in number");
    for (size_t i = 0; i < keys.size(); ++i)
    {
        VyFuzzCheck(i == 0 || keys[i - 1] < keys[i], "keys are not sorted and unique");
        CheckKey(config, section, keys[i], values[i]);
    }
    VyFuzzCheck(config.GetString(section, "\n", "default") == "default", "a key holds a line feed");
    std::vector<VyString> again, againValues;
    config.GetSection(section, again, againValues);
    VyFuzzCheck(again == keys && againValues == values, "a read-only object changed");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const VyString text(reinterpret_cast<const char*>(data), size);
    VyMemFile stream(data, static_cast<int>(size));
    {
        VyConfigFile config(VY_FUZZ_NAME, stream);
        VyFuzzCheck(config.IsReadOnly(), "a stream-bound object is writable");
        for (const VyString& section : SectionNames(text))
            CheckSection(config, section);
        VyFuzzCheck(!config.IsModified(), "reading modified the object");
    }
    VyConfigFile::Forget(VY_FUZZ_NAME);
    return 0;
}
