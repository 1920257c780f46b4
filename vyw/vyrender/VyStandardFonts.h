#pragma once

#include "vyrender/VyFontDesc.h"

// The fonts every render context creates at start and addresses by number.
constexpr int VY_FONT_MENU = 0;        // arial10ba: bold, antialiased
constexpr int VY_FONT_WINDOWTEXT = 1;  // arial10a: antialiased
constexpr int VY_FONT_CONTROL = 2;     // arial10: plain (also the statistics overlay's font)
constexpr int VY_FONT_UNDERLINE = 3;   // arial10u: plain, underlined
constexpr int VY_STANDARD_FONT_COUNT = 4;

struct VyStandardFont
{
    VyFontDesc desc;
};

class VyStandardFonts
{
public:
    // The standard font of that number; any other number reports the assertion "false" and gives
    // nullptr.
    static const VyStandardFont* Find(int id);
};
