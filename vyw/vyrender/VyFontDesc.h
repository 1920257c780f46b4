#pragma once

#include <string_view>

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

// A font named in a definition file: either one of the standard fonts or a description of the font
// wanted. The render context turns it into a font:
//     standard >= 0  -> its font list entry of that number
//     otherwise      -> the loaded font whose description equals desc (compare every field),
//                       created with VyFont::CreateFont on first use and kept in its font list
struct VyFontChoice
{
    int standard = -1;
    VyFontDesc desc;

    bool operator==(const VyFontChoice&) const = default;
};

class VyFontParser
{
public:
    // Reads a font from text the caller has upper-cased: "MENU", "WINDOWTEXT" and "CONTROL" name the
    // standard fonts 0, 1 and 2; anything else is split at commas into face (default "Arial"), size
    // (default 100), bold, italic, underline and antialiased as truth values (default false).
    // Never fails.
    static VyFontChoice Parse(std::string_view text);
};
