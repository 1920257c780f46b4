// Start-up and frame rate of the game's window on SDL's offscreen display (Mesa's llvmpipe for OpenGL).
//
//   BM_StartupToFirstFrame/<context>  from starting the program to its first presented frame; the
//                                     program reports the moment on the steady clock all processes
//                                     share ("first frame presented at <us>", VYW_TRACE=1)
//   BM_StartupToSetDrawn/<context>    from starting the program to the first frame that shows the
//                                     piece set, loaded behind the progress window ("first frame
//                                     with the set drawn at <us>")
//   BM_SceneFrame/<context>           reference: one frame of a still scene of the board and the
//                                     sixteen pictures with a text line at 640 x 480
//   BM_GameFrame/<context>            one frame of the game's screen at 640 x 480: menu bar, board,
//                                     sixteen piece windows, status line, cursor; items/s = fps
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "VyGameWnd.h"
#include "VyPieceSet.h"
#include "VyTolmarMainWnd.h"
#include "VyTolmarStartup.h"
#include "e2e/VyProcess.h"
#include "vyio/VyConfigFile.h"
#include "vyplatform/VyScreenSettings.h"
#include "vyplatform/VyWin.h"
#include "vythread/VyClock.h"
#include "vythread/VyTrace.h"
#include "vyio/VyResourceSource.h"
#include "vywindow/VySceneWnd.h"
#include "vycontrol/VyStandardControls.h"
#include "vythread/VyMessageTarget.h"

namespace
{
const char* const CONTEXTS[] = {"", "OpenGL", "Native", "DirectDraw"};

// A scratch directory with a vyw.cfg naming the context; removed at the end.
class Scratch
{
public:
    explicit Scratch(const char* context) : m_context(context)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vywbenchXXXXXX").string();
        m_path = mkdtemp(pattern.data()) ? pattern : std::string();
        WriteSettings();
    }
    // The automatic choice writes its result into vyw.cfg: each start gets the settings afresh.
    void WriteSettings() const
    {
        std::ofstream(m_path / "vyw.cfg") << "[Screen]\nContext=" << m_context << "\nResX=640\nResY=480\n";
    }
    ~Scratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::string m_context;
    std::filesystem::path m_path;
};

// How long one start may take before it counts as hung (a guard, not a measurement).
constexpr int RUN_LIMIT_MS = 60000;

#ifdef TOLMAR_EXE

// Starts a copy of the game for one frame and returns the microseconds to its first presented frame,
// or -1 when it did not report one.
std::string Slurp(const std::string& path)
{
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Starts a copy of the game and returns the microseconds to the moment its trace reports after
// marker, or -1 when it reported none. The program is ended once the marker appeared.
long long TimeToMarker(const Scratch& scratch, const std::string& marker)
{
    const std::string exe = (scratch.Path() / "tolmar").string();
    const std::string output = (scratch.Path() / "out.txt").string();
    std::filesystem::remove(output);
    std::filesystem::remove(scratch.Path() / "Tolmar.cfg");
    scratch.WriteSettings();
    VyProcess game;
    const long long start = static_cast<long long>(VyClock::Microseconds());
    if (!game.Start({exe, "--quit-after-frames", "1000"}, {{"VYW_TRACE", "1"}, {"SDL_VIDEODRIVER", "offscreen"}},
                    output))
        return -1;
    size_t at = std::string::npos;
    std::string text;
    for (int wait = 0; wait < RUN_LIMIT_MS / 5 && at == std::string::npos; ++wait)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        text = Slurp(output);
        at = text.rfind(marker);
    }
    game.Terminate(RUN_LIMIT_MS);
    if (at == std::string::npos)
        return -1;
    return std::atoll(text.c_str() + at + marker.size()) - start;
}

void MeasureStartup(benchmark::State& state, const std::string& marker)
{
    Scratch scratch(CONTEXTS[state.range(0)]);
    std::filesystem::copy_file(TOLMAR_EXE, scratch.Path() / "tolmar");
    for (auto _ : state)
    {
        const long long microseconds = TimeToMarker(scratch, marker);
        if (microseconds < 0)
        {
            state.SkipWithError("the program reported no frame");
            break;
        }
        state.SetIterationTime(static_cast<double>(microseconds) / 1e6);
    }
    state.SetLabel(*CONTEXTS[state.range(0)] ? CONTEXTS[state.range(0)] : "automatic choice (restart included)");
}

void BM_StartupToFirstFrame(benchmark::State& state)
{
    MeasureStartup(state, "first frame presented at ");
}
BENCHMARK(BM_StartupToFirstFrame)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StartupToSetDrawn(benchmark::State& state)
{
    MeasureStartup(state, "first frame with the set drawn at ");
}
BENCHMARK(BM_StartupToSetDrawn)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
#endif

// The classic set's board and pictures at their start positions as a still scene.
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
    scene.text = "Please select an opponent from the Game menu.";
    return scene;
}

bool StartScene(VyPlatform& platform)
{
    auto pMain = std::make_unique<VyMainWnd>(platform.GetClientWidth(), platform.GetClientHeight());
    pMain->CreateChild(std::make_unique<VySceneWnd>(ClassicScene()),
                       VY_STYLE_VISIBLE | VyAlignStyle(VyAlignment::CLIENT),
                       VyRect{0, platform.GetClientHeight(), platform.GetClientWidth(), 0});
    platform.SetRootWindow(std::move(pMain));
    return true;
}

// Whether the game window's set has loaded (the scene has nothing to wait for).
bool IsReady(VyPlatform& platform)
{
    auto* pMain = dynamic_cast<VyTolmarMainWnd*>(platform.GetRootWindow());
    return pMain == nullptr || pMain->GetGameWindow()->GetRules().GetNumberOfPieces() > 0;
}

void MeasureFrames(benchmark::State& state, VyStartupFunction startup)
{
    Scratch scratch(CONTEXTS[state.range(0)]);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch.Path());
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    VyTrace::Sink previousSink = VyTrace::SetSink([](const VyString&) {}); // quiet while measuring
    // vyw.cfg is read once per process: the context is set through the shared copy.
    VyConfigFile("vyw.cfg").SetString("Screen", "Context", CONTEXTS[state.range(0)]);
    {
        VyWin platform;
        if (!platform.CreateDisplay() || !startup(platform))
            state.SkipWithError("no display");
        else
        {
            for (int round = 0; round < RUN_LIMIT_MS && !IsReady(platform); ++round)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                VyMessageTarget::DispatchMessages();
            }
            platform.RenderFrame(); // textures made
            for (auto _ : state)
                platform.RenderFrame();
            state.SetItemsProcessed(state.iterations());
            state.SetLabel(CONTEXTS[state.range(0)]);
        }
    }
    VyTrace::SetSink(previousSink);
    std::filesystem::current_path(previous);
}

void BM_SceneFrame(benchmark::State& state)
{
    MeasureFrames(state, StartScene);
}
BENCHMARK(BM_SceneFrame)->DenseRange(1, 3)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_GameFrame(benchmark::State& state)
{
    MeasureFrames(state, VyTolmarStartup);
}
BENCHMARK(BM_GameFrame)->DenseRange(1, 3)->UseRealTime()->Unit(benchmark::kMillisecond);
} // namespace
