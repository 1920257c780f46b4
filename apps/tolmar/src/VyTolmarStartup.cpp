#include "VyTolmarStartup.h"

#include <memory>

#include "VyCommandLine.h"
#include "VyGameWnd.h"
#include "VyProgressDisplay.h"
#include "VyTolmarMainWnd.h"
#include "vycontrol/VyStandardControls.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"

namespace
{
VyStartRequest& StartRequest()
{
    static VyStartRequest request;
    return request;
}
} // namespace

void VySetStartRequest(const VyStartRequest& request)
{
    StartRequest() = request;
}

const VyStartRequest& VyGetStartRequest()
{
    return StartRequest();
}

bool VyTolmarStartup(VyPlatform& platform)
{
    VyTrace::Write("VyTolmarStartup : start request: " + VyCommandLine::Describe(VyGetStartRequest()) + "\n");
    VyStandardControls::Install();
    platform.SetTitle("Tolmar");
    platform.SetFixedSize(true);
    auto pMain = std::make_unique<VyTolmarMainWnd>(platform.GetClientWidth(), platform.GetClientHeight());
    VyTolmarMainWnd* pRaw = pMain.get();
    platform.SetRootWindow(std::move(pMain));
    return pRaw->CreateGameWindow(VyGetStartRequest()) != nullptr;
}
