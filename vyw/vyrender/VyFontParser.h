#pragma once

#include <string_view>

#include "vyrender/VyFontDesc.h"

// Reads the fonts of definition files.
class VyFontParser
{
public:
    // Reads a font from text the caller has upper-cased: "MENU", "WINDOWTEXT" and "CONTROL" name the
    // standard fonts 0, 1 and 2; anything else is split at commas into face (default "Arial"), size
    // (default 100), bold, italic, underline and antialiased as truth values (default false).
    // Never fails.
    static VyFontChoice Parse(std::string_view text);
};
