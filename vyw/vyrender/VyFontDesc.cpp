#include "vyrender/VyFontDesc.h"

#include "vythread/VyTrace.h"

VyString VyFontDesc::FileName() const
{
    VyString name = face + VyString::Format("%d", size);
    if (bold)
        name += 'b';
    if (italic)
        name += 'i';
    if (antialiased)
        name += 'a';
    return name + ".vyf";
}

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

const VyStandardFont STANDARD_FONTS[VY_STANDARD_FONT_COUNT] = {
    {VY_FONT_MENU, "arial10ba", Arial(true, false, true)},
    {VY_FONT_WINDOWTEXT, "arial10a", Arial(false, false, true)},
    {VY_FONT_CONTROL, "arial10", Arial(false, false, false)},
    {VY_FONT_UNDERLINE, "arial10u", Arial(false, true, false)},
};

} // namespace

const VyStandardFont* VyStandardFonts::Find(int id)
{
    if (id >= 0 && id < VY_STANDARD_FONT_COUNT)
        return &STANDARD_FONTS[id];
    VY_ASSERT(false);
    return nullptr;
}
