// Start-up and frame rate of the game's window on SDL's offscreen display (Mesa's llvmpipe for OpenGL).
//
//   BM_StartupToFirstFrame/<context>  from starting the program to its first presented frame; the
//                                     program reports the moment on the steady clock all processes
//                                     share ("first frame presented at <us>", VYW_TRACE=1)
//   BM_SceneFrame/<context>           one frame of the start-up scene at 640 x 480 (board, sixteen
//                                     pieces, text, cursor), drawn in this process; items/s = fps
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "VyTolmarStartup.h"
#include "e2e/VyProcess.h"
#include "vyio/VyConfigFile.h"
#include "vyplatform/VyScreenSettings.h"
#include "vyplatform/VyWin.h"
#include "vythread/VyClock.h"
#include "vythread/VyTrace.h"

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

#ifdef TOLMAR_EXE
// How long one start may take before it counts as hung (a guard, not a measurement).
constexpr int RUN_LIMIT_MS = 60000;

// Starts a copy of the game for one frame and returns the microseconds to its first presented frame,
// or -1 when it did not report one.
long long TimeToFirstFrame(const Scratch& scratch)
{
    const std::string exe = (scratch.Path() / "tolmar").string();
    const std::string output = (scratch.Path() / "out.txt").string();
    std::filesystem::remove(output);
    scratch.WriteSettings();
    VyProcess game;
    const long long start = static_cast<long long>(VyClock::Microseconds());
    if (!game.Start({exe, "--quit-after-frames", "1"}, {{"VYW_TRACE", "1"}, {"SDL_VIDEODRIVER", "offscreen"}},
                    output))
        return -1;
    game.Wait(RUN_LIMIT_MS);
    std::ifstream in(output);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string marker = "first frame presented at ";
    const size_t at = text.rfind(marker);
    if (at == std::string::npos)
        return -1;
    return std::atoll(text.c_str() + at + marker.size()) - start;
}

void BM_StartupToFirstFrame(benchmark::State& state)
{
    Scratch scratch(CONTEXTS[state.range(0)]);
    std::filesystem::copy_file(TOLMAR_EXE, scratch.Path() / "tolmar");
    for (auto _ : state)
    {
        const long long microseconds = TimeToFirstFrame(scratch);
        if (microseconds < 0)
        {
            state.SkipWithError("the program reported no frame");
            break;
        }
        state.SetIterationTime(static_cast<double>(microseconds) / 1e6);
    }
    state.SetLabel(*CONTEXTS[state.range(0)] ? CONTEXTS[state.range(0)] : "automatic choice (restart included)");
}
BENCHMARK(BM_StartupToFirstFrame)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
#endif

void BM_SceneFrame(benchmark::State& state)
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
        if (!platform.CreateDisplay() || !VyTolmarStartup(platform))
            state.SkipWithError("no display");
        else
        {
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
BENCHMARK(BM_SceneFrame)->DenseRange(1, 3)->UseRealTime()->Unit(benchmark::kMillisecond);
} // namespace
