// Loading the classic set as the game does behind its progress display: the set file and its 17
// pictures from the archive linked into this program, decoded, each piece greyed into its RGBA copy.
#include <benchmark/benchmark.h>

#include "VySetLoader.h"
#include "vyio/VyArchiveSource.h"

namespace
{
void LoadClassicSet(benchmark::State& state)
{
    VyArchiveSource resources;
    const VyString path = VySetLoader::PathOfSet("classic");
    for (auto _ : state)
    {
        VyPieceSet set = VySetLoader::Load(path);
        benchmark::DoNotOptimize(set.images);
    }
}
} // namespace

BENCHMARK(LoadClassicSet)->Unit(benchmark::kMillisecond);
