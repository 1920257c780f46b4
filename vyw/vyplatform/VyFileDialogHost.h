#pragma once

#include "vythread/VyString.h"

// Whether the file dialog picks a file to read or names one to write.
enum class VyFileDialogMode
{
    OPEN,
    SAVE,
};

// The file dialog as the platform reaches it: the dialog is made of windows and controls, which live
// above the platform, so the module that builds it installs itself here (VyPlatform::SetFileDialogHost).
class VyFileDialogHost
{
public:
    virtual ~VyFileDialogHost() = default;

    // Asks the user for a file, starting from defaultName; true with the chosen path in outPath, false
    // (outPath untouched) when the user cancels.
    virtual bool AskFileName(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath) = 0;
};
