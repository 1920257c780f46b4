#include "vycontrol/VyFileDialogService.h"

#include "vycontrol/VyFileDialog.h"

bool VyFileDialogService::AskFileName(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath)
{
    return VyFileDialog::Ask(mode, defaultName, outPath);
}
