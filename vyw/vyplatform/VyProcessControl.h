#pragma once

#include "vythread/VyString.h"

// How the program lies on disk: in a folder of its own, or installed among the system's programs.
enum class VyProgramLayout
{
    PORTABLE,
    INSTALLED,
};

// What the platform does with processes: the program's own (its directory, its restart) and the ones it
// starts for the user. POSIX only; nothing here needs the display.
class VyProcessControl
{
public:
    // The path of the running executable; "" when /proc cannot tell it.
    static VyString ProgramPath();
    // INSTALLED when the folder "../share/<the program's file name>" lies beside the program's folder
    // (what an install and the package lay out: /usr/bin/tolmar beside /usr/share/tolmar), PORTABLE
    // otherwise (the build tree, an unpacked folder, a copy anywhere). Only the layout decides: neither
    // whether the folder can be written nor where the build meant to install.
    static VyProgramLayout LayoutOf(const VyString& programPath);
    // Makes the folder the program works in the working directory, so that every relative path
    // (settings, archive, saved games, screenshots) is relative to it: the program's own folder when
    // it is portable; when installed, the per-user folder SDL names for it (SDL_GetPrefPath with an
    // empty organisation: <XDG data home>/<program name>/), created on first start. A folder that
    // cannot be made or entered goes to the trace, and the program's folder is tried instead.
    static void MakeWorkingDirectoryCurrent();
    // The working directory; "" when it cannot be read.
    static VyString GetCurrentDirectory();

    // Starts program (looked up in PATH) with one argument, without a shell, as a process of its own
    // that init adopts, so that no child is left to reap. 0, or the errno of the failure to start it.
    static int SpawnDetached(const char* program, const char* argument);
    // Replaces the process by a new run of its executable with the same arguments; a non-null
    // markerVariable is set to "1" in the new run's environment. Returns only when the new run cannot
    // start (the reason goes to standard error).
    static void RestartProgram(char** argv, const char* markerVariable);
};
