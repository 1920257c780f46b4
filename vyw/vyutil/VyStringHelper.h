#pragma once

#include <cstdint>
#include <vector>

#include "vythread/VyPoint.h"
#include "vythread/VyRect.h"
#include "vythread/VySize.h"
#include "vythread/VyString.h"
#include "vyutil/VyColor.h"

// Dialog results and control ids named in definition files.
constexpr int VY_IDOK = 1;
constexpr int VY_IDCANCEL = 2;
constexpr int VY_IDYES = 6;
constexpr int VY_IDNO = 7;
// A numeric id in a definition file is offset by this ("ID=1" is control 201).
constexpr int VY_ID_OFFSET = 200;

// Turning the text of configuration and definition files into values, and back; the string table.
// Parsers never throw: ParsePoint, ParseSize and ParseRect report a wrong number of parts as an
// assertion and give zeros; ParseRgb says false.
class VyStringHelper
{
public:
    // The string table's entry (section "Strings" of "strings\strings.txt"); a missing key is added with
    // the default (and the table saved, when its folder exists below the working directory).
    static VyString GetString(const VyString& key, const VyString& defaultValue);

    // Cuts at every separator: each separator ends a part (also an empty one); the text after the last
    // separator is a part only when not empty. "a,,b" -> a,"",b; "a,b," -> a,b; "" -> nothing.
    static std::vector<VyString> Split(const VyString& text, char separator = ',');

    // False for "", "0", "F" and "FALSE" exactly; true for anything else ("false" too).
    static bool ParseBool(const VyString& text);
    // "x,y" read with atoi; zeros (and an assertion report) for any other number of parts.
    static VyPoint ParsePoint(const VyString& text);
    static VySize ParseSize(const VyString& text);
    // "left,top,right,bottom"; zeros (and an assertion report) for any other number of parts.
    static VyRect ParseRect(const VyString& text);
    // "IDOK" 1, "IDCANCEL" 2, "IDYES" 6, "IDNO" 7; anything else atoi + 200.
    static int ParseId(const VyString& text);
    // The first three parts as 0xRRGGBB, each atoi's low 8 bits; false (rgb untouched) with fewer parts.
    static bool ParseRgb(const std::vector<VyString>& parts, uint32_t& rgb);
    // "SLOT_NAME[,alpha[,bitmap]]" or "r,g,b[,alpha[,bitmap]]": components and alpha are atoi's low
    // 8 bits; the bitmap name is trimmed and its texture asked of the current texture source.
    static VyColor ParseColor(const VyString& text);

    static VyString ToText(unsigned int value); // "%u"
    static VyString ToText(int value);          // "%d"
    static VyString ToText(bool value);         // "TRUE" / "FALSE"
};
