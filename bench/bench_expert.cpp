// The Expert's search: the time to solve positions with 10, 12 and 14 empty squares exactly, with
// the nodes per second and the table's hit rate as counters; its values against the plain search's
// with 8 empty squares; and how soon a stop request ends it (two checks: the search runs one check's
// worth of nodes, then stops at the next).
#include <benchmark/benchmark.h>

#include "ExpertPositions.h"
#include "VyExpertSearch.h"
#include "VyPieceSet.h"
#include "vyio/VyArchiveSource.h"

namespace
{
const VyCompactSet& Classic()
{
    static VyArchiveSource resources;
    static const VyPieceSet set = VyPieceSet::Classic();
    static const VyCompactSet compact(set.squares.size(), set.pieces, set.properties.size(), set.combinations);
    return compact;
}

// Solves a played position with `empty` squares left, from an empty table.
void BM_SolveExactly(benchmark::State& state)
{
    const int empty = static_cast<int>(state.range(0));
    const auto seed = static_cast<uint32_t>(state.range(1));
    int hand = -1;
    const VyCompactPosition board = PlayedPosition(Classic(), 16 - empty, seed, hand);
    uint64_t nodes = 0;
    uint64_t probes = 0;
    uint64_t hits = 0;
    VyOutcome outcome = VyOutcome::UNKNOWN;
    VyRandom random(1);
    VyExpertSearch search(Classic(), random);
    for (auto _ : state)
    {
        state.PauseTiming();
        search.ClearTable();
        state.ResumeTiming();
        const VyExpertResult result = search.Place(board, hand, VyExpertLimits{0, {}});
        nodes += result.nodes;
        probes += result.tableProbes;
        hits += result.tableHits;
        outcome = result.outcome;
    }
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    state.counters["hit%"] = probes == 0 ? 0.0 : 100.0 * static_cast<double>(hits) / static_cast<double>(probes);
    state.counters["nodes"] = static_cast<double>(nodes) / static_cast<double>(state.iterations());
    state.SetLabel(OutcomeName(outcome));
}
// Positions with 8 empty squares: the Expert's value against the plain exhaustive search's; the
// counter "differ" must stay 0.
void BM_ExactAgainstPlainWithEightEmpty(benchmark::State& state)
{
    VyRandom random(1);
    VyExpertSearch search(Classic(), random);
    uint32_t seed = 0;
    int differ = 0;
    for (auto _ : state)
    {
        int hand = -1;
        const VyCompactPosition board = PlayedPosition(Classic(), 8, ++seed, hand);
        differ += search.Place(board, hand, VyExpertLimits{0, {}}).outcome != VyExpertSearch::PlainValue(board, hand);
    }
    state.counters["compared"] = seed;
    state.counters["differ"] = differ;
}

// From a stop request to the end of a search of the empty board: at most one check's worth of nodes.
void BM_StopLatency(benchmark::State& state)
{
    VyRandom random(1);
    VyExpertSearch search(Classic(), random);
    const VyCompactPosition board(Classic());
    for (auto _ : state)
    {
        bool first = true;
        const VyExpertLimits limits{0, [&first] {
                                        const bool stop = !first;
                                        first = false;
                                        return stop;
                                    }};
        benchmark::DoNotOptimize(search.Place(board, 0, limits));
    }
}
} // namespace

BENCHMARK(BM_ExactAgainstPlainWithEightEmpty)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_StopLatency)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveExactly)
    ->ArgsProduct({{10, 12, 14}, {1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
