#include "vyrender/VyFontParser.h"

#include <vector>

#include "vyrender/VyStandardFonts.h"
#include "vyutil/VyStringHelper.h"

VyFontChoice VyFontParser::Parse(std::string_view text)
{
    VyFontChoice choice;
    if (text == "MENU")
        choice.standard = VY_FONT_MENU;
    else if (text == "WINDOWTEXT")
        choice.standard = VY_FONT_WINDOWTEXT;
    else if (text == "CONTROL")
        choice.standard = VY_FONT_CONTROL;
    if (choice.standard >= 0)
    {
        choice.desc = VyStandardFonts::Find(choice.standard)->desc;
        return choice;
    }
    const std::vector<VyString> parts = VyStringHelper::Split(VyString(text));
    VyFontDesc& desc = choice.desc;
    // An empty face or size part keeps its default: a font needs a face and a size to have a file.
    if (parts.size() > 0 && !parts[0].empty())
        desc.face = parts[0];
    if (parts.size() > 1 && !parts[1].empty())
        desc.size = parts[1].ToInt();
    bool* flags[] = {&desc.bold, &desc.italic, &desc.underline, &desc.antialiased};
    for (size_t i = 0; i < 4 && i + 2 < parts.size(); ++i)
        *flags[i] = VyStringHelper::ParseBool(parts[i + 2]);
    return choice;
}
