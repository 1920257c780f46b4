// The computer's most expensive decisions: the Advanced piece choice (a look-ahead count per safe
// piece) and the Hard square choice (a safety test per empty square), on an empty board and in a
// mid-game position.
#include <benchmark/benchmark.h>

#include <map>

#include "TestPositions.h"
#include "VyComputerDecision.h"
#include "VyGameTypes.h"
#include "vyio/VyArchiveSource.h"

namespace
{
// The classic set as the game ships it, from the archive linked into this program.
const VyPieceSet& ClassicSet()
{
    static VyArchiveSource resources;
    static const VyPieceSet set = VyPieceSet::Classic();
    return set;
}

VyComputerPosition MakePosition(const std::map<int, int>& squareToPiece, VyLevel level, VyGameState state,
                                int currentPiece)
{
    return MakePosition(ClassicSet(), squareToPiece, level, state, currentPiece);
}

// Six pieces placed without a line; several pieces are still safe to hand over.
const std::map<int, int> MID_GAME = {{0, 0}, {5, 6}, {10, 11}, {3, 12}, {9, 5}, {14, 3}};

void AdvancedPieceChoice(benchmark::State& state, const std::map<int, int>& board)
{
    VyComputerPosition position = MakePosition(board, VyLevel::ADVANCED, VyGameState::PLAYER2_CHOOSES, -1);
    VyRandom random(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(VyComputerDecision::ComputerChoosePiece(position, random));
}

void HardSquareChoice(benchmark::State& state, const std::map<int, int>& board, int piece)
{
    VyComputerPosition position = MakePosition(board, VyLevel::HARD, VyGameState::PLAYER2_PLACES, piece);
    VyRandom random(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(VyComputerDecision::ComputerChooseSquare(position, random));
}

void BM_AdvancedPieceEmptyBoard(benchmark::State& state) { AdvancedPieceChoice(state, {}); }
void BM_AdvancedPieceMidGame(benchmark::State& state) { AdvancedPieceChoice(state, MID_GAME); }
void BM_HardSquareEmptyBoard(benchmark::State& state) { HardSquareChoice(state, {}, 7); }
void BM_HardSquareMidGame(benchmark::State& state) { HardSquareChoice(state, MID_GAME, 8); }
} // namespace

BENCHMARK(BM_AdvancedPieceEmptyBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdvancedPieceMidGame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HardSquareEmptyBoard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HardSquareMidGame)->Unit(benchmark::kMicrosecond);
