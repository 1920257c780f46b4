#pragma once

#include "vythread/VyString.h"

// Finds a file that a resource path names below a folder whatever the case of its letters, as on the
// system the game's settings, set and dialog files were written for: "Colors\Plum.Color" finds
// colors/plum.color.
//
// Only what lies below the folder can be reached: a path that is absolute (it starts with a separator)
// or has a ".." part finds nothing, whatever is on disk.
class VyCaseBlindPath
{
public:
    // The disk path (slash separators, the folder in front unless it is empty, which stands for the
    // working directory) of the regular file `relative` (backslash or slash separators) names below
    // folder. Where the exact name exists it is the answer; otherwise each part is matched without
    // regard to ASCII letter case: at each level the exact part is tried first, then the other
    // matches in byte order, and the first that leads to a file wins. Empty when nothing matches or the
    // path may not be followed; never throws.
    static VyString Find(const VyString& folder, const VyString& relative);
    // The same for a folder: the disk path of the directory `relative` names below folder, matched as
    // Find matches a file; empty when none matches or the path may not be followed.
    static VyString FindFolder(const VyString& folder, const VyString& relative);

    // Whether two names are equal but for ASCII letter case.
    static bool SameBlind(const VyString& a, const VyString& b);
};
