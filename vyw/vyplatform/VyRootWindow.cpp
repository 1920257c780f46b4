#include "vyplatform/VyRootWindow.h"

#include "vyplatform/VyPlatform.h"

void VyRootWindow::OnCloseRequest()
{
    if (VyPlatform* pPlatform = VyPlatform::Get())
        pPlatform->Quit();
}

bool VyRootWindow::ShowFatalError(const VyString&, const VyString&)
{
    return false;
}
