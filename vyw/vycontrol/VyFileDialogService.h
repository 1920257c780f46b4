#pragma once

#include "vyplatform/VyFileDialogHost.h"

// The platform's way to the framework's file dialog (VyFileDialog), installed with the standard
// controls.
class VyFileDialogService : public VyFileDialogHost
{
public:
    bool AskFileName(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath) override;
};
