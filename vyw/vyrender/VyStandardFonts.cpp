#include "vyrender/VyStandardFonts.h"

#include "vythread/VyTrace.h"

namespace
{
VyFontDesc Arial(bool bold, bool underline, bool antialiased)
{
    VyFontDesc desc;
    desc.bold = bold;
    desc.underline = underline;
    desc.antialiased = antialiased;
    return desc;
}

// Indexed by the standard font numbers.
const VyStandardFont STANDARD_FONTS[VY_STANDARD_FONT_COUNT] = {
    {Arial(true, false, true)},   // VY_FONT_MENU
    {Arial(false, false, true)},  // VY_FONT_WINDOWTEXT
    {Arial(false, false, false)}, // VY_FONT_CONTROL
    {Arial(false, true, false)},  // VY_FONT_UNDERLINE
};
} // namespace

const VyStandardFont* VyStandardFonts::Find(int id)
{
    if (id >= 0 && id < VY_STANDARD_FONT_COUNT)
        return &STANDARD_FONTS[id];
    VY_ASSERT(false);
    return nullptr;
}
