#include "vyplatform/VySystemColors.h"

#include <iterator>

namespace
{

using S = VySystemColor;

// How a slot's default is made.
struct Recipe
{
    enum Kind { SYSTEM, AVERAGE, AVERAGE_WITH_AVERAGE, UNSET, BLACK };
    Kind kind = UNSET;
    S a = S::WINDOW;
    S b = S::WINDOW;
};

constexpr Recipe Sys(S a) { return {Recipe::SYSTEM, a, a}; }
constexpr Recipe Avg(S a, S b) { return {Recipe::AVERAGE, a, b}; }
constexpr Recipe UNSET{Recipe::UNSET};

// Slot defaults by id (index 0 is id 1), in the order of the slot table. The frame quadruples of
// windows, buttons, edits, menus, labels, scroll-bar buttons and dialogs are all
// 3D dark shadow, button shadow, button highlight, 3D light.
#define FRAME Sys(S::DARK_SHADOW_3D), Sys(S::BUTTON_SHADOW), Sys(S::BUTTON_HIGHLIGHT), Sys(S::LIGHT_3D)
#define FACE_HIGHLIGHT Avg(S::BUTTON_FACE, S::BUTTON_HIGHLIGHT)
constexpr Recipe RECIPES[] = {
    Sys(S::WINDOW), FRAME,                                                           // 1-5
    Sys(S::BUTTON_TEXT), UNSET, Sys(S::BUTTON_SHADOW), Sys(S::BUTTON_HIGHLIGHT),        // 6-9
    Sys(S::BUTTON_TEXT), UNSET, Sys(S::BUTTON_TEXT), UNSET,                              // 10-13
    Sys(S::BUTTON_FACE), Avg(S::BUTTON_FACE, S::BUTTON_SHADOW), FACE_HIGHLIGHT, FACE_HIGHLIGHT, // 14-17
    FRAME, FRAME,                                                                     // 18-25
    Sys(S::WINDOW), Sys(S::HIGHLIGHT), Sys(S::BUTTON_FACE), Sys(S::WINDOW_TEXT), UNSET,  // 26-30
    Sys(S::HIGHLIGHT_TEXT), UNSET, Sys(S::BUTTON_SHADOW), Sys(S::BUTTON_HIGHLIGHT),     // 31-34
    Sys(S::WINDOW_TEXT), UNSET, FRAME,                                                // 35-40
    Sys(S::MENU), Sys(S::HIGHLIGHT), Sys(S::BUTTON_TEXT), UNSET, Sys(S::HIGHLIGHT_TEXT), UNSET, // 41-46
    Sys(S::BUTTON_SHADOW), Sys(S::BUTTON_HIGHLIGHT), Sys(S::BUTTON_SHADOW), Sys(S::BUTTON_HIGHLIGHT), // 47-50
    FRAME,                                                                            // 51-54
    Sys(S::BUTTON_FACE), Sys(S::WINDOW_TEXT), UNSET, Sys(S::BUTTON_SHADOW), Sys(S::BUTTON_HIGHLIGHT), // 55-59
    FRAME,                                                                            // 60-63
    FACE_HIGHLIGHT, {Recipe::AVERAGE_WITH_AVERAGE, S::BUTTON_FACE, S::BUTTON_HIGHLIGHT},  // 64-65
    Sys(S::BUTTON_TEXT), UNSET, Sys(S::BUTTON_SHADOW), Sys(S::BUTTON_HIGHLIGHT),        // 66-69
    Sys(S::BUTTON_TEXT), UNSET,                                                       // 70-71
    Sys(S::BUTTON_FACE), Avg(S::BUTTON_FACE, S::BUTTON_SHADOW), FACE_HIGHLIGHT, FACE_HIGHLIGHT, // 72-75
    FRAME, FRAME,                                                                     // 76-83
    Sys(S::BUTTON_FACE), FACE_HIGHLIGHT, FRAME,                                       // 84-89
    Sys(S::ACTIVE_CAPTION), Sys(S::CAPTION_TEXT), UNSET,                                // 90-92
    Sys(S::INACTIVE_CAPTION), Sys(S::BUTTON_FACE), UNSET,                               // 93-95
    Sys(S::BUTTON_FACE), FRAME,                                                       // 96-100
    {Recipe::BLACK}, Sys(S::WINDOW_TEXT), Sys(S::WINDOW), Sys(S::HOT_TRACKING),          // 101-104
    Sys(S::ACTIVE_CAPTION), Sys(S::BUTTON_FACE), FACE_HIGHLIGHT, FACE_HIGHLIGHT,         // 105-108
    Sys(S::WINDOW), Sys(S::HIGHLIGHT), UNSET, Sys(S::WINDOW_TEXT), UNSET,                // 109-113
    Sys(S::HIGHLIGHT_TEXT), UNSET, Sys(S::HOT_TRACKING), UNSET,                         // 114-117
};
static_assert(std::size(RECIPES) == 117, "one default per slot up to LAST_ENTRY");
#undef FRAME
#undef FACE_HIGHLIGHT

} // namespace

unsigned int VySystemColors::Get(VySystemColor color)
{
    switch (color)
    {
    case S::WINDOW: return 0xFCF8F0;
    case S::WINDOW_TEXT: return 0x2A2018;
    case S::BUTTON_FACE: return 0xE6D8BC;
    case S::BUTTON_SHADOW: return 0x947A5C;
    case S::BUTTON_HIGHLIGHT: return 0xFFFCF4;
    case S::LIGHT_3D: return 0xE6D8BC;
    case S::DARK_SHADOW_3D: return 0x4A3424;
    case S::HIGHLIGHT: return 0x8C5A28;
    case S::HIGHLIGHT_TEXT: return 0xFFFFFF;
    case S::MENU: return 0xEFE4CE;
    case S::ACTIVE_CAPTION: return 0x5E3C26;
    case S::INACTIVE_CAPTION: return 0x9A8670;
    case S::CAPTION_TEXT: return 0xFFEFCF;
    case S::BUTTON_TEXT: return 0x2A2018;
    case S::HOT_TRACKING: return 0x8C5A28;
    }
    return 0;
}

unsigned int VySystemColors::Average(unsigned int a, unsigned int b)
{
    unsigned int result = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        result |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return result;
}

unsigned int VySystemColors::DefaultOf(int slotId)
{
    if (slotId < 1 || slotId > static_cast<int>(std::size(RECIPES)))
        return VY_COLOR_UNSET;
    const Recipe& recipe = RECIPES[slotId - 1];
    switch (recipe.kind)
    {
    case Recipe::SYSTEM: return Get(recipe.a);
    case Recipe::AVERAGE: return Average(Get(recipe.a), Get(recipe.b));
    case Recipe::AVERAGE_WITH_AVERAGE:
        return Average(Get(recipe.b), Average(Get(recipe.a), Get(recipe.b)));
    case Recipe::BLACK: return 0x000000;
    case Recipe::UNSET: break;
    }
    return VY_COLOR_UNSET;
}
