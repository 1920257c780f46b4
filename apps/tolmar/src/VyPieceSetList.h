#pragma once

#include <vector>

#include "vythread/VyString.h"

class VyArchive;

// The piece sets there are to choose from: every name that VySetLoader::PathOfSet turns into a set
// file the resource look-up finds. The look-up (VyPlatform::GetResourceFile) answers from the archive
// first and then from the disk (VyResourceSource::FetchFromDisk: below the working directory, then
// below [Directories] Resource of vyw.cfg, the exact name before the name in any case), so the list
// holds:
//   - the archive's sets: entries "\sets\<name>\<name>.cfg" (the archive's names are lower case);
//   - the disk's sets: each folder <name> of a folder "sets" (matched in any case) below the working
//     directory and below [Directories] Resource that holds the file <name>.cfg (in any case).
// Only names VySetLoader::IsValidSetName takes are listed. A name equal to one found before but for
// case is left out: the look-up of either finds the same file first. Folders that cannot be read add
// nothing; nothing is thrown.
class VyPieceSetList
{
public:
    // The set names, sorted without regard to case.
    static std::vector<VyString> Find(const VyArchive& archive);

    // The sets of the archive alone, in the archive's name order.
    static std::vector<VyString> FindInArchive(const VyArchive& archive);
    // The sets below one folder of the disk ("" for the working directory), in listing order.
    static std::vector<VyString> FindOnDisk(const VyString& base);

    // The name a menu shows for a set: its first letter in upper case ("squares" -> "Squares").
    static VyString TitleOf(const VyString& name);
};
