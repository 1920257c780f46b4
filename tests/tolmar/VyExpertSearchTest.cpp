#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ExpertPositions.h"
#include "TestPositions.h"
#include "TestSets.h"
#include "VyBoardSymmetries.h"
#include "VyCanonicalForm.h"
#include "VyComputerDecision.h"
#include "VyExpertPlayer.h"
#include "VyExpertSearch.h"
#include "VyPieceSymmetries.h"

namespace
{
const VyCompactSet& Classic()
{
    static const VyCompactSet compact(ClassicSet().squares.size(), ClassicSet().pieces,
                                      ClassicSet().properties.size(), ClassicSet().combinations);
    return compact;
}

VyCompactPosition Board(const std::map<int, int>& squareToPiece)
{
    VyCompactPosition board(Classic());
    for (auto [square, piece] : squareToPiece)
        board.Place(piece, square);
    return board;
}

VyOutcome Opposite(VyOutcome outcome)
{
    return outcome == VyOutcome::WIN ? VyOutcome::LOSS : outcome == VyOutcome::LOSS ? VyOutcome::WIN : outcome;
}

// The value of a placement and hand-over for the player who made it, by the plain search.
VyOutcome ValueOfMove(VyCompactPosition board, int hand, int square, int piece)
{
    if (board.WinsAt(hand, square))
        return VyOutcome::WIN;
    board.Place(hand, square);
    if (board.EmptySquares() == 0 || board.OffBoardPieces() == 0)
        return VyOutcome::DRAW;
    return Opposite(VyExpertSearch::PlainValue(board, piece));
}

const VyExpertLimits NO_LIMITS{0, {}};

// With piece 7 in hand the player to act wins: placed on square 9, with piece 15 handed over, every
// reply of the opponent leaves the player a line at the next placement.
const std::map<int, int> WIN_IN_TWO = {{0, 8}, {1, 4}, {2, 12}, {4, 3}, {6, 5}, {11, 2}, {14, 9}, {15, 11}};
} // namespace

TEST(ExpertSearch, FindsAForcedWinTwoMovesDeepThatAdvancedMisses)
{
    const VyCompactPosition board = Board(WIN_IN_TWO);
    ASSERT_EQ(board.WinningSquare(7), -1) << "no win at once";
    VyRandom random(1);
    VyExpertSearch search(Classic(), random, 16);
    const VyExpertResult result = search.Place(board, 7, NO_LIMITS);
    EXPECT_EQ(result.outcome, VyOutcome::WIN);
    EXPECT_LE(result.depth, 2);
    EXPECT_EQ(ValueOfMove(board, 7, result.square, result.piece), VyOutcome::WIN);

    for (uint32_t seed = 1; seed <= 24; ++seed)
    {
        VyComputerPosition advanced =
            MakePosition(ClassicSet(), WIN_IN_TWO, VyLevel::ADVANCED, VyGameState::PLAYER2_PLACES, 7);
        VyRandom draws(seed);
        const int square = VyComputerDecision::ComputerChooseSquare(advanced, draws);
        advanced.squares[static_cast<size_t>(square)].piece = 7;
        advanced.pieces[7].location = square;
        const int piece = VyComputerDecision::ComputerChoosePiece(advanced, draws);
        EXPECT_NE(ValueOfMove(board, 7, square, piece), VyOutcome::WIN) << "Advanced, seed " << seed;
    }
}

// Positions of random safe play with 6 and 7 empty squares, 20 of each, and 8 with 8 (among them
// seed 14, whose search once met a position whose table key another position had): the Expert's
// placement and hand-over are worth exactly what the position is worth, by the plain exhaustive
// search. Each from a new search.
TEST(ExpertSearch, KeepsTheExactValueOfPositionsWithSixToEightEmptySquares)
{
    std::map<VyOutcome, int> seen;
    struct Seeds
    {
        int empty;
        uint32_t first;
        uint32_t last;
    };
    for (const Seeds& seeds : {Seeds{6, 1, 20}, Seeds{7, 1, 20}, Seeds{8, 11, 18}})
        for (uint32_t seed = seeds.first; seed <= seeds.last; ++seed)
        {
            const int empty = seeds.empty;
            VyRandom random(1);
            VyExpertSearch search(Classic(), random, 18);
            int hand = -1;
            const VyCompactPosition board = PlayedPosition(Classic(), 16 - empty, seed, hand);
            const VyOutcome value = VyExpertSearch::PlainValue(board, hand);
            const VyExpertResult result = search.Place(board, hand, NO_LIMITS);
            ASSERT_EQ(result.outcome, value) << empty << " empty, seed " << seed;
            ASSERT_EQ(ValueOfMove(board, hand, result.square, result.piece), value) << empty << " empty, seed " << seed;
            ++seen[value];
        }
    EXPECT_GE(seen.size(), 2u) << "the positions are not all of one value";
}

// The hand-over never gives the opponent a win at once while a safe piece exists, solved or not.
TEST(ExpertSearch, NeverHandsOverAPieceThatWinsAtOnceWhileASafeOneExists)
{
    VyRandom random(3);
    VyExpertSearch search(Classic(), random, 16);
    for (uint32_t seed = 1; seed <= 30; ++seed)
    {
        int hand = -1;
        VyCompactPosition board = PlayedPosition(Classic(), 6 + static_cast<int>(seed % 5), seed, hand);
        const VyExpertLimits shallow{0, [] { return true; }}; // ends at the first check
        for (const VyExpertLimits* pLimits : {&NO_LIMITS, &shallow})
        {
            const VyExpertResult placed = search.Place(board, hand, *pLimits);
            if (placed.square < 0 || board.WinsAt(hand, placed.square))
                continue;
            VyCompactPosition after = board;
            after.Place(hand, placed.square);
            const VyExpertResult chosen = search.Choose(after, *pLimits);
            if (chosen.piece < 0)
                continue;
            const uint64_t safe = after.SafePieces();
            EXPECT_TRUE(safe == 0 || (safe >> chosen.piece & 1)) << "seed " << seed;
            EXPECT_TRUE(safe == 0 || placed.piece < 0 || (safe >> placed.piece & 1)) << "seed " << seed;
        }
    }
}

TEST(ExpertSearch, AStopRequestEndsTheSearchAtItsNextCheck)
{
    int hand = -1;
    const VyCompactPosition board = PlayedPosition(Classic(), 2, 11, hand);
    VyRandom random(1);
    VyExpertSearch search(Classic(), random, 16);
    int checks = 0;
    const VyExpertLimits limits{0, [&checks] { return ++checks >= 3; }};
    const VyExpertResult result = search.Place(board, hand, limits);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(checks, 3);
    EXPECT_EQ(result.nodes, 3 * VyExpertSearch::VY_CHECK_NODES) << "not one node after the third check";
    EXPECT_EQ(result.outcome, VyOutcome::UNKNOWN);

    checks = 0;
    const VyExpertResult chosen = search.Choose(board, limits);
    EXPECT_TRUE(chosen.stopped);
    EXPECT_EQ(chosen.nodes, 3 * VyExpertSearch::VY_CHECK_NODES);
}

// Every image of a position under a board symmetry and a piece symmetry has the key of the position;
// positions that are no images of each other have other keys.
TEST(ExpertSearch, TheCanonicalFormIsTheSameForEverySymmetricImage)
{
    const std::vector<VySymmetryMap> boards = VyBoardSymmetries::Derive(Classic());
    const std::vector<VySymmetryMap> pieces = VyPieceSymmetries::Derive(Classic());
    VyCanonicalForm form(Classic(), boards, pieces);
    std::set<uint64_t> keys;
    for (int placed : {0, 1, 3, 6, 9})
    {
        int hand = -1;
        const VyCompactPosition board = PlayedPosition(Classic(), placed, 40 + static_cast<uint32_t>(placed), hand);
        VyCanonicalForm::Transform transform;
        const uint64_t key = form.Key(board, hand, transform);
        keys.insert(key);
        for (const VySymmetryMap& b : boards)
            for (const VySymmetryMap& g : pieces)
            {
                VyCompactPosition image(Classic());
                for (int square = 0; square < 16; ++square)
                    if (board.PieceOn(square) >= 0)
                        image.Place(g.image[static_cast<size_t>(board.PieceOn(square))], b.image[static_cast<size_t>(square)]);
                ASSERT_EQ(form.Key(image, g.image[static_cast<size_t>(hand)], transform), key) << placed << " placed";
            }
    }
    EXPECT_EQ(keys.size(), 5u);
}

// The player answers the state's question on the game's copy: a square for the piece in hand while
// placing, a piece while choosing; a search stopped before its first pass leaves it to the Advanced
// choice; a state that asks nothing gets no answer.
TEST(ExpertPlayer, AnswersEachStateAndFallsBackWhenStoppedAtOnce)
{
    VyRandom random(2);
    VyExpertPlayer player(random);
    const VyExpertLimits stopAtOnce{0, [] { return true; }};
    VyComputerPosition placing = MakePosition(ClassicSet(), WIN_IN_TWO, VyLevel::ADVANCED, VyGameState::PLAYER2_PLACES, 7);
    const VyExpertResult placed = player.Decide(placing, NO_LIMITS);
    EXPECT_EQ(placed.outcome, VyOutcome::WIN);
    EXPECT_EQ(ValueOfMove(Board(WIN_IN_TWO), 7, placed.square, placed.piece), VyOutcome::WIN);

    const VyExpertResult hurried = player.Decide(MakePosition(ClassicSet(), {}, VyLevel::ADVANCED,
                                                              VyGameState::PLAYER1_PLACES, 3), stopAtOnce);
    EXPECT_EQ(hurried.outcome, VyOutcome::UNKNOWN);
    EXPECT_GE(hurried.square, 0);
    EXPECT_LT(hurried.square, 16);

    VyComputerPosition choosing = MakePosition(ClassicSet(), WIN_IN_TWO, VyLevel::ADVANCED);
    const VyExpertResult chosen = player.Decide(choosing, NO_LIMITS);
    ASSERT_GE(chosen.piece, 0);
    EXPECT_EQ(choosing.pieces[static_cast<size_t>(chosen.piece)].location, -1) << "an off-board piece";
    EXPECT_NE(chosen.outcome, VyOutcome::UNKNOWN) << "eight empty squares are solved";

    placing.currentPiece = 8; // on the board already
    EXPECT_EQ(player.Decide(placing, NO_LIMITS).square, -1);
    choosing.state = VyGameState::GAME_WON;
    EXPECT_EQ(player.Decide(choosing, NO_LIMITS).piece, -1);
}
