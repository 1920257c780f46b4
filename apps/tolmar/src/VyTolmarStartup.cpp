#include "VyTolmarStartup.h"

#include <memory>

#include "VyCommandLine.h"
#include "VyPieceSet.h"
#include "vycontrol/VyStandardControls.h"
#include "vyio/VyResourceSource.h"
#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VySceneWnd.h"

namespace
{
VyStartRequest& StartRequest()
{
    static VyStartRequest request;
    return request;
}

// The classic set's board and its sixteen pieces at their start positions.
VySceneWndScene ClassicScene()
{
    const VyPieceSet set = VyPieceSet::Classic();
    const VyString directory = VyResourceSource::JoinPath("sets", set.name);
    VySceneWndScene scene;
    scene.boardPath = VyResourceSource::JoinPath(directory, set.board);
    scene.boardSize = set.boardSize;
    scene.keyColor = set.colorMask;
    for (const VyPieceInfo& piece : set.pieces)
        scene.pictures.push_back({VyResourceSource::JoinPath(directory, piece.bitmap), piece.start});
    scene.text = "Tolmar  -  Control+P saves a screenshot";
    return scene;
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
    const int width = platform.GetClientWidth();
    const int height = platform.GetClientHeight();
    auto pMain = std::make_unique<VyMainWnd>(width, height);
    pMain->CreateChild(std::make_unique<VySceneWnd>(ClassicScene()),
                       VY_STYLE_VISIBLE | VyAlignStyle(VyAlignment::CLIENT), VyRect{0, height, width, 0});
    platform.SetRootWindow(std::move(pMain));
    return true;
}
