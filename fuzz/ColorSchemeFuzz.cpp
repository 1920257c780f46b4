// A colour-scheme file applied by VyColorScheme::LoadFile, fetched through the resource look-up.
// Checked: without blending every alpha stays 255; every slot keeps its name and id; applying the
// same file to a fresh table again gives the same colours.
#include "VyFuzzCheck.h"
#include "VyFuzzResourceSource.h"
#include "vyio/VyConfigFile.h"
#include "vyplatform/VyColorScheme.h"

namespace
{
constexpr char VY_FUZZ_PATH[] = "colors\\fuzz.color";

void Apply(VyColorScheme& scheme)
{
    scheme.LoadFile(VY_FUZZ_PATH, VyAlphaBlending::UNSUPPORTED);
    VyConfigFile::Forget(VY_FUZZ_PATH);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VyFuzzResourceSource source(VY_FUZZ_PATH, data, size);
    VyColorScheme first;
    VyColorScheme second;
    Apply(first);
    Apply(second);
    for (int id = 1; id <= VY_COLOR_SLOT_COUNT; ++id)
    {
        const VyColorSchemeSlot& slot = first.GetSlot(id);
        VyFuzzCheck(slot.id == id && first.FindSlot(slot.name) == &slot, "a slot lost its name");
        VyFuzzCheck(slot.alpha == 255, "an alpha without blending");
        VyFuzzCheck(slot.color == second.GetSlot(id).color, "the same file gave another colour");
    }
    return 0;
}
