#include "vyrender/VyFontDesc.h"

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
