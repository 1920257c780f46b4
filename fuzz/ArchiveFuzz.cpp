// A resource archive (table and entries) attached from the input, then every entry fetched as the
// resource look-up fetches it. Checked: a refused table leaves the archive empty; every entry of an
// accepted table with a lower-case name is found by it; a stored entry gives exactly its stored bytes, a compressed one
// at most its unpacked size; fetching an entry twice gives the same bytes or the same refusal.
#include <memory>

#include "VyFuzzCheck.h"
#include "vyio/VyArchive.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
// The entry's bytes, or "!" and the refusal's text.
VyString Fetch(VyArchive& archive, const VyArchiveEntry& entry)
{
    VyMemFile out;
    try
    {
        VyFuzzCheck(archive.GetFile(entry.m_name, out), "an entry of the table is not found by its name");
    }
    catch (const VyFileException& e)
    {
        VyFuzzCheck(entry.IsCompressed(), "a stored entry is refused");
        return "!" + VyString(e.what());
    }
    const unsigned int length = static_cast<unsigned int>(out.GetLength());
    if (entry.IsCompressed())
        VyFuzzCheck(length <= entry.m_unpackedSize, "an entry unpacks past its unpacked size");
    else
        VyFuzzCheck(length == entry.m_storedSize, "a stored entry gives other than its stored bytes");
    return VyString(out.GetView());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VyArchive archive;
    try
    {
        archive.Attach(std::make_unique<VyMemFile>(data, static_cast<int>(size)));
    }
    catch (const VyFileException&)
    {
        VyFuzzCheck(!archive.HasEntries() && archive.GetEntryCount() == 0, "a refused table left entries");
        return 0;
    }
    for (const auto& [name, entry] : archive.GetEntries())
    {
        // Look-ups are lower-cased: a name of the table in other letters is out of reach, harmlessly.
        if (name != name.Lower())
            continue;
        const VyString first = Fetch(archive, entry);
        VyFuzzCheck(Fetch(archive, entry) == first, "an entry fetched twice gives other bytes");
    }
    return 0;
}
