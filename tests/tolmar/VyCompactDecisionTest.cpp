#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TestPositions.h"
#include "TestSets.h"
#include "VyCompactPosition.h"
#include "VyComputerDecision.h"
#include "VyPlainDecision.h"

namespace
{
// A position of a game in play: pieces on random squares, no line won, and for a placement a
// random off-board piece to place.
VyComputerPosition RandomPosition(const VyPieceSet& set, std::mt19937& engine, VyGameState state)
{
    for (;;)
    {
        std::vector<int> squares(set.squares.size());
        std::vector<int> pieces(set.pieces.size());
        for (size_t i = 0; i < squares.size(); ++i)
            squares[i] = static_cast<int>(i);
        for (size_t i = 0; i < pieces.size(); ++i)
            pieces[i] = static_cast<int>(i);
        std::shuffle(squares.begin(), squares.end(), engine);
        std::shuffle(pieces.begin(), pieces.end(), engine);
        const size_t placed = engine() % std::min(squares.size(), pieces.size());
        std::map<int, int> board;
        for (size_t i = 0; i < placed; ++i)
            board[squares[i]] = pieces[i];
        VyComputerPosition position = MakePosition(set, board, VyLevel::EASY, state, pieces[placed]);
        const VyCompactSet compact(position.squares.size(), position.pieces, position.propertyCount,
                                   position.combinations);
        if (!VyCompactPosition(compact, position).HasWin())
            return position;
    }
}

// The classic set with the 2 x 2 blocks as further lines and a first property of three values.
VyPieceSet BlocksAndThreeValues()
{
    VyPieceSet set = ClassicSet();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
        {
            const int corner = 4 * row + column;
            set.combinations.push_back({corner, corner + 1, corner + 4, corner + 5});
        }
    for (size_t piece = 0; piece < set.pieces.size(); ++piece)
        set.pieces[piece].values[0] = static_cast<int>(piece % 3);
    return set;
}

// The levels decided by rule tables, which the plain reference implements (the Expert searches).
constexpr VyLevel RULE_TABLE_LEVELS[] = {VyLevel::BEGINNER, VyLevel::EASY, VyLevel::INTERMEDIATE, VyLevel::HARD,
                                         VyLevel::ADVANCED};

// Both decisions of every rule-table level, plain and compact, from generators in the same state: the
// same choice, and the generators still in step afterwards.
void ExpectSameDecisions(VyComputerPosition position, uint32_t seed)
{
    for (VyLevel level : RULE_TABLE_LEVELS)
    {
        position.level = level;
        VyRandom plainRandom(seed);
        VyRandom compactRandom(seed);
        VyComputerPosition plain = position;
        VyComputerPosition compact = position;
        const int plainChoice = position.state == VyGameState::PLAYER2_PLACES
                                    ? VyPlainDecision::ComputerChooseSquare(plain, plainRandom)
                                    : VyPlainDecision::ComputerChoosePiece(plain, plainRandom);
        const int compactChoice = position.state == VyGameState::PLAYER2_PLACES
                                      ? VyComputerDecision::ComputerChooseSquare(compact, compactRandom)
                                      : VyComputerDecision::ComputerChoosePiece(compact, compactRandom);
        ASSERT_EQ(plainChoice, compactChoice) << LevelName(level) << " seed " << seed;
        ASSERT_EQ(plainRandom.Next(), compactRandom.Next()) << LevelName(level) << " seed " << seed;
    }
}

void CompareOnRandomPositions(const VyPieceSet& set, uint32_t seed, int count)
{
    std::mt19937 engine(seed);
    for (int n = 0; n < count; ++n)
    {
        const VyGameState state = n % 2 == 0 ? VyGameState::PLAYER2_CHOOSES : VyGameState::PLAYER2_PLACES;
        VyComputerPosition position = RandomPosition(set, engine, state);
        if (state == VyGameState::PLAYER2_CHOOSES)
            position.currentPiece = -1;
        ExpectSameDecisions(position, static_cast<uint32_t>(engine()));
        if (testing::Test::HasFatalFailure())
            return;
    }
}
} // namespace

// 300 positions of the classic set, seed 1: every level's piece and square choices.
TEST(CompactDecision, EveryLevelDecidesAsThePlainDecisionsDid)
{
    CompareOnRandomPositions(ClassicSet(), 1, 300);
}

TEST(CompactDecision, LinesAndValuesComeFromTheSet)
{
    CompareOnRandomPositions(BlocksAndThreeValues(), 3, 100);
}

TEST(CompactDecision, AdvancedScoresMatchThePlainCount)
{
    std::mt19937 engine(2);
    for (int n = 0; n < 40; ++n)
    {
        VyComputerPosition position = RandomPosition(ClassicSet(), engine, VyGameState::PLAYER2_CHOOSES);
        for (size_t piece = 0; piece < position.pieces.size(); ++piece)
        {
            if (position.pieces[piece].location != -1)
                continue;
            ASSERT_EQ(VyComputerDecision::AdvancedScore(position, static_cast<int>(piece)),
                      VyPlainDecision::AdvancedScore(position, static_cast<int>(piece)))
                << "position " << n << " piece " << piece;
        }
    }
}
