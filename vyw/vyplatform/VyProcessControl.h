#pragma once

#include "vythread/VyString.h"

// What the platform does with processes: the program's own (its directory, its restart) and the ones it
// starts for the user. POSIX only; nothing here needs the display.
class VyProcessControl
{
public:
    // The path of the running executable; "" when /proc cannot tell it.
    static VyString ProgramPath();
    // Makes the program's directory the working directory, so that every relative path (settings,
    // archive, saved games) is relative to it; a failure goes to the trace and changes nothing.
    static void MakeProgramDirectoryCurrent();
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
