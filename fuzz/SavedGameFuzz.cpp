// A saved game loaded by VyGameRules::LoadGame on the classic set, with the recording host of the
// game tests. Checked: a refused or broken file leaves the game as it was; a loaded game has a
// history of exactly the placed pieces, one piece at most per square, and saving it and loading what
// was saved gives the same file again. A file naming another set is only read (VySavedGame::Read):
// its load would run on the set loader's thread.

#include "GameTestHost.h"
#include "TestSets.h"
#include "VyFuzzCheck.h"
#include "VyFuzzPosition.h"
#include "VyGameRules.h"
#include "VySavedGame.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyException.h"

namespace
{
VyString Saved(const VyGameRules& rules)
{
    VyMemFile file(VY_IO_WRITE);
    rules.SaveGame(file);
    return VyString(file.GetView());
}

// Whether the file reads as a saved game of the classic set.
bool NamesClassic(const uint8_t* data, size_t size)
{
    VyMemFile file(data, static_cast<int>(size));
    VySavedGame saved;
    try
    {
        return saved.Read(file) == VySavedGame::VY_SAVED_GAME_READ && saved.setName == "classic";
    }
    catch (const VyException&)
    {
        return true; // a broken file is refused by LoadGame before the set matters
    }
}

bool Load(VyGameRules& rules, const uint8_t* data, size_t size)
{
    VyMemFile file(data, static_cast<int>(size));
    try
    {
        return rules.LoadGame(file);
    }
    catch (const VyException&)
    {
        return false;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!NamesClassic(data, size))
        return 0;
    GameTestHost host;
    VyRandom random(1);
    VyGameRules rules(host, random);
    rules.SetPieceSet(ClassicSet());
    const VyString before = Saved(rules);
    if (!Load(rules, data, size))
    {
        VyFuzzCheck(Saved(rules) == before, "a refused file changed the game");
        return 0;
    }
    VyFuzzCheck(!rules.IsSetLoading(), "a classic game started a set load");
    VyFuzzCheckPosition(rules);
    const VyString first = Saved(rules);
    GameTestHost otherHost;
    VyGameRules other(otherHost, random);
    other.SetPieceSet(ClassicSet());
    VyFuzzCheck(Load(other, reinterpret_cast<const uint8_t*>(first.data()), first.size()), "a saved game is refused");
    VyFuzzCheck(Saved(other) == first, "loading a saved game changes it");
    return 0;
}
