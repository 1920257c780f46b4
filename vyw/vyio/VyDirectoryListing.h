#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

#include "vythread/VyString.h"

// One entry of a directory as the file dialog lists it.
struct VyDirectoryEntry
{
    VyString name;            // the bytes of the name as the file system holds them
    bool bDirectory = false;  // a folder (or a link to one)
    std::uint64_t size = 0;   // bytes; 0 for folders
    std::time_t modified = 0; // last change, seconds since 1970
};

// Reads the entries of one directory of the disk (paths with '/', as the system names them).
class VyDirectoryListing
{
public:
    // The directory's entries: ".." first (except at "/"), then the folders, then the files, each group
    // sorted by name without regard to ASCII case (names equal but for case in byte order). Names that
    // begin with a dot are left out. False, with the system's reason in error, when the directory
    // cannot be read; entries is then empty.
    static bool Read(const VyString& directory, std::vector<VyDirectoryEntry>& entries, VyString& error);

    // The path of name inside directory: ".." goes up one level ("/a/b" -> "/a", "/" stays "/").
    static VyString Join(const VyString& directory, const VyString& name);
    // The absolute, tidy form of a path: relative ones start at the working directory, "." and ".."
    // parts and doubled slashes are resolved by the text alone (no links are followed).
    static VyString Absolute(const VyString& path);
    // Whether path names an existing directory / an existing entry of any kind.
    static bool IsDirectory(const VyString& path);
    static bool Exists(const VyString& path);
};
