#pragma once

#include <vector>

#include "vythread/VyString.h"

class VyArchive;

// One colour scheme a player can choose: its file in the colours folder and the name a menu shows.
struct VyColorSchemeEntry
{
    VyString fileName; // "plum.color": what [Preferences] Color Scheme of vyw.cfg names
    VyString title;    // "Plum"
};

// The colour schemes there are to choose from: the *.color files (the extension in any case) of the
// colours folder ([Directories] Colors of vyw.cfg, "Colors" when unset) in the resource archive,
// below the working directory and below [Directories] Resource, the folder's name matched whatever the
// case of its letters, as the look-up of a scheme matches it. Where several folders match, the first in
// byte order of their names is listed. A file whose name equals one found before but for case is left
// out, since the look-up of that name finds the earlier one. Folders that cannot be read add nothing;
// nothing is thrown.
class VyColorSchemeList
{
public:
    // The schemes, sorted by title without regard to case.
    static std::vector<VyColorSchemeEntry> Find(const VyArchive& archive);

    // The name a menu shows for a scheme file: the name without its extension, underscores as spaces,
    // the first letter in upper case ("plum.color" -> "Plum", "deep_sea.Color" -> "Deep sea").
    static VyString TitleOf(const VyString& fileName);

    // Whether the name ends in ".color" in any case.
    static bool IsSchemeFile(const VyString& fileName);
};
