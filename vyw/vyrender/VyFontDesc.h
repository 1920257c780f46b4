#pragma once

#include "vythread/VyString.h"

// What a font is asked for by: face, size and the four flags. The file of a font is named after it
// ("Arial" 100 bold antialiased -> "Arial100ba.vyf"); the underline flag selects no different file.
struct VyFontDesc
{
    VyString face = "Arial";
    int size = 100;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool antialiased = false;

    bool operator==(const VyFontDesc&) const = default;

    // face + size in decimal + "b" if bold + "i" if italic + "a" if antialiased + ".vyf".
    VyString FileName() const;
};

// A font named in a definition file (read by VyFontParser): either one of the standard fonts
// (VyStandardFonts) or a description of the font wanted. The render context turns it into a font:
//     standard >= 0  -> its font list entry of that number
//     otherwise      -> the loaded font whose description equals desc (compare every field),
//                       created with VyFont::CreateFont on first use and kept in its font list
struct VyFontChoice
{
    int standard = -1;
    VyFontDesc desc;

    bool operator==(const VyFontChoice&) const = default;
};
