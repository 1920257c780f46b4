#include "VyTolmarStartup.h"

#include <memory>

#include "VyPieceSet.h"
#include "vyio/VyResourceSource.h"
#include "vyplatform/VyPlatform.h"
#include "vywindow/VyMainWnd.h"

namespace
{
// The classic set's board and its sixteen pieces at their start positions.
VyMainWndScene ClassicScene()
{
    const VyPieceSet set = VyPieceSet::Classic();
    const VyString directory = VyResourceSource::JoinPath("sets", set.name);
    VyMainWndScene scene;
    scene.boardPath = VyResourceSource::JoinPath(directory, set.board);
    scene.boardSize = set.boardSize;
    scene.keyColor = set.colorMask;
    for (const VyPieceInfo& piece : set.pieces)
        scene.pictures.push_back({VyResourceSource::JoinPath(directory, piece.bitmap), piece.start});
    scene.text = "Tolmar  -  Control+P saves a screenshot";
    return scene;
}
} // namespace

bool VyTolmarStartup(VyPlatform& platform)
{
    platform.SetTitle("Tolmar");
    platform.SetFixedSize(true);
    platform.SetRootWindow(std::make_unique<VyMainWnd>(ClassicScene()));
    return true;
}
