#pragma once

#include "vyio/VyIO.h"

// Where resources come from. The platform (a higher module) implements it and installs itself, so that
// lower modules (configuration files, fonts, images) fetch resources without knowing the platform.
class VyResourceSource
{
public:
    virtual ~VyResourceSource() = default;

    // Copies the resource at path (a relative path with backslash separators) into out and rewinds out.
    // Throws VyFileException "*VyPlatform::GetResourceFile : Could not locate resource file -> File: <path>"
    // when it is found nowhere.
    virtual void GetResourceFile(const VyString& path, VyIO& out) = 0;

    // The installed source, or null. Installing null restores the disk look-up.
    static VyResourceSource* GetCurrent();
    static void SetCurrent(VyResourceSource* source);

    // The one way lower modules fetch a resource: through the installed source, or without one from
    // the disk (see FetchFromDisk).
    static void Fetch(const VyString& path, VyIO& out);

    // The disk part of the look-up: path below the working directory, then below [Directories] Resource
    // of vyw.cfg (read with an empty default, which adds the key to a writable file); where neither
    // holds the exact name, the same two folders again with the path's letters in any case
    // (VyCaseBlindPath: nothing outside the folders is reached that way); throws as above.
    static void FetchFromDisk(const VyString& path, VyIO& out);

    // Throws VyFileException "*VyPlatform::GetResourceFile : Could not locate resource file -> File: <path>".
    [[noreturn]] static void ThrowNotFound(const VyString& path);

    // directory + one backslash + name; no backslash is doubled when the directory already ends in one,
    // none is dropped for an empty directory: JoinPath("", "x") is "\x".
    static VyString JoinPath(const VyString& directory, const VyString& name);
};
