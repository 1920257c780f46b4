#include "vyutil/VyColorSlots.h"

#include <algorithm>
#include <array>
#include <utility>

namespace
{
// Index = id - 1.
const char* const g_slotNames[VY_COLOR_SLOT_COUNT] = {
#define VY_COLOR_SLOT_NAME(name) #name,
    VY_COLOR_SLOTS(VY_COLOR_SLOT_NAME)
#undef VY_COLOR_SLOT_NAME
};

// Names in byte order with their ids, for the look-up by name.
const std::array<std::pair<std::string_view, int>, VY_COLOR_SLOT_COUNT>& SortedNames()
{
    static const auto sorted = [] {
        std::array<std::pair<std::string_view, int>, VY_COLOR_SLOT_COUNT> table;
        for (int i = 0; i < VY_COLOR_SLOT_COUNT; ++i)
            table[static_cast<size_t>(i)] = {g_slotNames[i], i + 1};
        std::sort(table.begin(), table.end());
        return table;
    }();
    return sorted;
}
} // namespace

const char* VyColorSlots::GetName(int slotId)
{
    return slotId >= 1 && slotId <= VY_COLOR_SLOT_COUNT ? g_slotNames[slotId - 1] : "";
}

int VyColorSlots::GetId(std::string_view name)
{
    const auto& table = SortedNames();
    auto found = std::lower_bound(table.begin(), table.end(), std::pair<std::string_view, int>(name, 0));
    return found != table.end() && found->first == name ? found->second : VY_COLOR_SLOT_NONE;
}
