// The computer's most expensive decisions: the Advanced piece choice (a look-ahead count per safe
// piece) and the Hard square choice (a safety test per empty square), on an empty board and in a
// mid-game position. Beside them: the same Advanced choice made the plain way (a full-board win test
// per trial placement), a plain loop over the 57,600 trial placements of that choice on the empty
// board, and a count of random positions on which the two ways decide alike.
#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <random>

#include "TestPositions.h"
#include "VyCompactPosition.h"
#include "VyComputerDecision.h"
#include "VyPlainDecision.h"
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

void PlainAdvancedPieceChoice(benchmark::State& state, const std::map<int, int>& board)
{
    VyComputerPosition position = MakePosition(board, VyLevel::ADVANCED, VyGameState::PLAYER2_CHOOSES, -1);
    VyRandom random(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(VyPlainDecision::ComputerChoosePiece(position, random));
}

// The plain reference: every piece on every square, every other piece on every other square, and
// after each trial placement the lines through it tested value by value. 57,600 trials.
void BM_PlainTrialLoopEmptyBoard(benchmark::State& state)
{
    const VyPieceSet& set = ClassicSet();
    std::array<int, 16> board;
    for (auto _ : state)
    {
        board.fill(-1);
        int wins = 0;
        for (int piece = 0; piece < 16; ++piece)
            for (int i = 0; i < 16; ++i)
            {
                board[static_cast<size_t>(i)] = piece;
                for (int j = 0; j < 16; ++j)
                    for (int k = 0; k < 16 && j != piece; ++k)
                    {
                        if (k == i)
                            continue;
                        board[static_cast<size_t>(k)] = j;
                        for (const std::vector<int>& line : set.combinations)
                        {
                            bool full = true;
                            for (int square : line)
                                full = full && board[static_cast<size_t>(square)] != -1;
                            if (!full)
                                continue;
                            for (size_t p = 0; p < set.properties.size(); ++p)
                            {
                                bool shared = true;
                                for (int square : line)
                                    shared = shared && set.pieces[static_cast<size_t>(board[static_cast<size_t>(square)])].values[p] ==
                                                           set.pieces[static_cast<size_t>(board[static_cast<size_t>(line[0])])].values[p];
                                wins += shared;
                            }
                        }
                        board[static_cast<size_t>(k)] = -1;
                    }
                board[static_cast<size_t>(i)] = -1;
            }
        benchmark::DoNotOptimize(wins);
    }
}

// Random positions on which the compact and the plain decisions of every level agree; the counter
// "differ" must stay 0.
void BM_CompactAgreesWithPlain(benchmark::State& state)
{
    std::mt19937 engine(7);
    int compared = 0;
    int differ = 0;
    for (auto _ : state)
    {
        std::vector<int> order(16);
        for (int i = 0; i < 16; ++i)
            order[static_cast<size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), engine);
        std::map<int, int> board;
        const int placed = static_cast<int>(engine() % 15);
        for (int i = 0; i < placed; ++i)
            board[i] = order[static_cast<size_t>(i)];
        VyComputerPosition position = MakePosition(board, VyLevel::EASY, VyGameState::PLAYER2_CHOOSES, -1);
        const VyCompactSet compact(16, position.pieces, position.propertyCount, position.combinations);
        if (VyCompactPosition(compact, position).HasWin())
            continue;
        const uint32_t seed = static_cast<uint32_t>(engine());
        // The rule-table levels, which the plain reference implements (the Expert searches).
        for (VyLevel level : {VyLevel::BEGINNER, VyLevel::EASY, VyLevel::INTERMEDIATE, VyLevel::HARD, VyLevel::ADVANCED})
        {
            position.level = level;
            VyRandom a(seed);
            VyRandom b(seed);
            differ += VyPlainDecision::ComputerChoosePiece(position, a) != VyComputerDecision::ComputerChoosePiece(position, b);
            ++compared;
        }
    }
    state.counters["compared"] = compared;
    state.counters["differ"] = differ;
}

void BM_AdvancedPieceEmptyBoard(benchmark::State& state) { AdvancedPieceChoice(state, {}); }
void BM_PlainAdvancedPieceEmptyBoard(benchmark::State& state) { PlainAdvancedPieceChoice(state, {}); }
void BM_AdvancedPieceMidGame(benchmark::State& state) { AdvancedPieceChoice(state, MID_GAME); }
void BM_HardSquareEmptyBoard(benchmark::State& state) { HardSquareChoice(state, {}, 7); }
void BM_HardSquareMidGame(benchmark::State& state) { HardSquareChoice(state, MID_GAME, 8); }
} // namespace

BENCHMARK(BM_AdvancedPieceEmptyBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainAdvancedPieceEmptyBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTrialLoopEmptyBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompactAgreesWithPlain)->Unit(benchmark::kMillisecond)->Iterations(2000);
BENCHMARK(BM_AdvancedPieceMidGame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HardSquareEmptyBoard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HardSquareMidGame)->Unit(benchmark::kMicrosecond);
