#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "GameTestHost.h"
#include "TestPositions.h"
#include "TestSets.h"
#include "VyComputerDecision.h"
#include "VyGameTypes.h"
#include "vythread/VyMessageTarget.h"

namespace
{
// A position of the classic set with the given pieces on the given squares.
VyComputerPosition MakePosition(const std::map<int, int>& squareToPiece, VyLevel level,
                                VyGameState state = VyGameState::PLAYER2_CHOOSES, int currentPiece = -1)
{
    return MakePosition(ClassicSet(), squareToPiece, level, state, currentPiece);
}

// The choices one level makes in a position over a range of seeds.
std::set<int> Choices(VyComputerPosition position, bool choosePiece, int seeds = 24)
{
    std::set<int> choices;
    for (int seed = 1; seed <= seeds; ++seed)
    {
        VyRandom random(static_cast<uint32_t>(seed));
        VyComputerPosition copy = position;
        choices.insert(choosePiece ? VyComputerDecision::ComputerChoosePiece(copy, random)
                                   : VyComputerDecision::ComputerChooseSquare(copy, random));
        EXPECT_EQ(copy.squares.size(), position.squares.size());
        for (size_t s = 0; s < copy.squares.size(); ++s)
            EXPECT_EQ(copy.squares[s].piece, position.squares[s].piece) << "the position is left as it was";
    }
    return choices;
}

std::set<int> PiecesOffBoard(const VyComputerPosition& position)
{
    std::set<int> pieces;
    for (size_t i = 0; i < position.pieces.size(); ++i)
        if (position.pieces[i].location == -1)
            pieces.insert(static_cast<int>(i));
    return pieces;
}

bool Contains(const std::set<int>& all, const std::set<int>& part)
{
    return std::includes(all.begin(), all.end(), part.begin(), part.end());
}

// Row 1 holds Dark Tall pieces, row 2 Dark Short ones: piece 10 (Dark Tall Square Flat) wins on
// square 3 (row 1) and on square 7 (row 2).
const std::map<int, int> TWO_WINNING_SQUARES = {{0, 0}, {1, 2}, {2, 8}, {4, 5}, {5, 7}, {6, 13}};
// Row 1 holds three Tall Round pieces: only the Short Square pieces 12..15 are safe.
const std::map<int, int> FOUR_SAFE_PIECES = {{0, 0}, {1, 1}, {2, 2}};
// Every piece off the board (1, 3, 7, 8, 9, 10, 13, 14) can win at once.
const std::map<int, int> NO_SAFE_PIECE = {{0, 15}, {8, 11}, {12, 2}, {6, 0}, {5, 4}, {13, 12}, {9, 5}, {15, 6}};
// With piece 11 to place, only square 0 leaves a safe piece to hand over.
const std::map<int, int> ONE_SAFE_SQUARE = {{1, 13}, {7, 3}, {2, 5}, {8, 9}, {15, 1}, {5, 10}, {3, 15}};
// With piece 1 to place, no square leaves a safe piece; empty squares 2, 5, 8, 12, 13, 15.
const std::map<int, int> NO_SAFE_SQUARE = {{4, 11}, {11, 14}, {7, 10}, {6, 13}, {14, 3},
                                           {9, 2},  {0, 0},   {10, 4}, {3, 15}, {1, 8}};
} // namespace

TEST(ComputerDecision, EasyAndAboveTakeTheLowestWinningSquareBeginnerDoesNot)
{
    for (VyLevel level : {VyLevel::EASY, VyLevel::INTERMEDIATE, VyLevel::HARD, VyLevel::ADVANCED})
        EXPECT_EQ(Choices(MakePosition(TWO_WINNING_SQUARES, level, VyGameState::PLAYER2_PLACES, 10), false),
                  std::set<int>{3})
            << LevelName(level);

    VyComputerPosition beginner =
        MakePosition(TWO_WINNING_SQUARES, VyLevel::BEGINNER, VyGameState::PLAYER2_PLACES, 10);
    std::set<int> squares = Choices(beginner, false);
    EXPECT_GT(squares.size(), 3u) << "Beginner places at random";
    for (int square : squares)
        EXPECT_EQ(beginner.squares[static_cast<size_t>(square)].piece, -1) << "only empty squares";
}

TEST(ComputerDecision, IntermediateAndAboveHandOverOnlySafePieces)
{
    for (VyLevel level : {VyLevel::INTERMEDIATE, VyLevel::HARD, VyLevel::ADVANCED})
    {
        std::set<int> pieces = Choices(MakePosition(FOUR_SAFE_PIECES, level), true);
        EXPECT_TRUE(Contains({12, 13, 14, 15}, pieces)) << LevelName(level);
        if (level != VyLevel::ADVANCED)
        {
            EXPECT_GT(pieces.size(), 1u) << LevelName(level) << " draws among the safe pieces";
        }
    }
    // The lower levels do hand over losing pieces.
    std::set<int> easy = Choices(MakePosition(FOUR_SAFE_PIECES, VyLevel::EASY), true);
    EXPECT_FALSE(Contains({12, 13, 14, 15}, easy));
}

TEST(ComputerDecision, WithoutASafePieceTheHighestIndexIsHandedOver)
{
    VyComputerPosition position = MakePosition(NO_SAFE_PIECE, VyLevel::HARD);
    for (int piece : PiecesOffBoard(position))
        ASSERT_FALSE(VyComputerDecision::IsSafe(position, piece)) << piece;
    for (VyLevel level : {VyLevel::INTERMEDIATE, VyLevel::HARD, VyLevel::ADVANCED})
        EXPECT_EQ(Choices(MakePosition(NO_SAFE_PIECE, level), true), std::set<int>{14}) << LevelName(level);
}

TEST(ComputerDecision, TheLastPieceIsAlwaysHandedOver)
{
    // Fifteen pieces placed without a line; piece 7 is left and wins on square 15.
    const int board[15] = {4, 11, 10, 13, 12, 3, 6, 0, 1, 15, 14, 5, 2, 8, 9};
    std::map<int, int> placed;
    for (int square = 0; square < 15; ++square)
        placed[square] = board[square];
    for (VyLevel level : VY_ALL_LEVELS)
        EXPECT_EQ(Choices(MakePosition(placed, level), true, 4), std::set<int>{7}) << LevelName(level);
}

TEST(ComputerDecision, HardAndAdvancedPlaceOnSafeSquares)
{
    for (VyLevel level : {VyLevel::HARD, VyLevel::ADVANCED})
        EXPECT_EQ(Choices(MakePosition(ONE_SAFE_SQUARE, level, VyGameState::PLAYER2_PLACES, 11), false),
                  std::set<int>{0})
            << LevelName(level);
    std::set<int> intermediate =
        Choices(MakePosition(ONE_SAFE_SQUARE, VyLevel::INTERMEDIATE, VyGameState::PLAYER2_PLACES, 11), false);
    EXPECT_GT(intermediate.size(), 1u) << "Intermediate does not look for safe squares";

    // Without a safe square Hard places at random.
    std::set<int> squares =
        Choices(MakePosition(NO_SAFE_SQUARE, VyLevel::HARD, VyGameState::PLAYER2_PLACES, 1), false);
    EXPECT_TRUE(Contains({2, 5, 8, 12, 13, 15}, squares));
    EXPECT_GT(squares.size(), 1u);
}

TEST(ComputerDecision, AdvancedHandsOverTheFirstBestScoringSafePiece)
{
    VyComputerPosition position = MakePosition(FOUR_SAFE_PIECES, VyLevel::ADVANCED);
    std::vector<int> scores;
    for (int piece : {12, 13, 14, 15})
        scores.push_back(VyComputerDecision::AdvancedScore(position, piece));
    const int best = *std::max_element(scores.begin(), scores.end());
    ASSERT_GT(best, 0);
    const int expected = 12 + static_cast<int>(std::find(scores.begin(), scores.end(), best) - scores.begin());
    EXPECT_EQ(Choices(position, true), std::set<int>{expected});

    // On an empty board no pair of pieces makes a line: every score is 0 and the pick is random.
    VyComputerPosition empty = MakePosition({}, VyLevel::ADVANCED);
    EXPECT_EQ(VyComputerDecision::AdvancedScore(empty, 0), 0);
    EXPECT_GT(Choices(empty, true, 8).size(), 1u);
}

TEST(ComputerDecision, DecideAnswersTheStateWithTheGeneration)
{
    VyRandom random(3);
    VyMessageTarget target;
    VyMessage answer;
    VyComputerPosition choose = MakePosition(FOUR_SAFE_PIECES, VyLevel::HARD, VyGameState::PLAYER2_CHOOSES);
    choose.generation = 41;
    ASSERT_TRUE(VyComputerDecision::Decide(choose, random, &target, answer));
    EXPECT_EQ(answer.pTarget, &target);
    EXPECT_EQ(answer.id, MSG_COMPUTER_PIECE);
    EXPECT_GE(answer.param1, 12);
    EXPECT_EQ(answer.param2, 41);

    VyComputerPosition place = MakePosition(TWO_WINNING_SQUARES, VyLevel::HARD, VyGameState::PLAYER2_PLACES, 10);
    ASSERT_TRUE(VyComputerDecision::Decide(place, random, &target, answer));
    EXPECT_EQ(answer.id, MSG_COMPUTER_SQUARE);
    EXPECT_EQ(answer.param1, 3);

    VyTraceCapture trace;
    VyComputerPosition wrong = MakePosition({}, VyLevel::HARD, VyGameState::PLAYER1_CHOOSES);
    EXPECT_FALSE(VyComputerDecision::Decide(wrong, random, &target, answer));
    EXPECT_TRUE(trace.Has("Assertion Failed:false\n"));
    VyComputerPosition noPiece = MakePosition({}, VyLevel::HARD, VyGameState::PLAYER2_PLACES, -1);
    EXPECT_FALSE(VyComputerDecision::Decide(noPiece, random, &target, answer));
    EXPECT_TRUE(trace.Has("Assertion Failed:option>=0 && option<game.GetNumberOfSquares()\n"));
}
