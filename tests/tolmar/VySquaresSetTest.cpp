#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

#include "ClassicRulesTest.h"
#include "TestPositions.h"
#include "VyComputerDecision.h"
#include "VySetLoader.h"
#include "vythread/VyException.h"

// The shipped squares set: the classic board and pieces with the nine 2 x 2 blocks as further lines,
// its pieces' pictures taken from the classic set's folder; the rules and the computer play its lines.

namespace
{
// The squares are numbered row by row, four to a row: the block with its top left at row r, column c
// is r*4+c, r*4+c+1, (r+1)*4+c, (r+1)*4+c+1 (square indices from 0).
std::vector<std::vector<int>> Blocks()
{
    std::vector<std::vector<int>> blocks;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
        {
            const int corner = row * 4 + column;
            blocks.push_back({corner, corner + 1, corner + 4, corner + 5});
        }
    return blocks;
}

bool SamePixels(const rgb& a, const rgb& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.IsEmpty())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Image()->GetPixel(x, y) != b.Image()->GetPixel(x, y))
                return false;
    return true;
}

// Pieces (0-based): 0 Dark Tall Round Dimpled, 2 Dark Tall Round Flat, 13 Dark Short Square Dimpled,
// 15 Dark Short Square Flat share only Dark; 0, 3 White Tall Round Flat, 13 and 14 White Short Square
// Flat share nothing.
const int ONLY_DARK[4] = {0, 15, 2, 13};
const int NOTHING_SHARED[4] = {0, 14, 3, 13};

class SquaresRulesTest : public ClassicRulesTest
{
protected:
    SquaresRulesTest() : ClassicRulesTest(5) {}

    void SetUp() override
    {
        ClassicRulesTest::SetUp();
        m_rules.SetPieceSet(SquaresSet());
    }
    // Two humans place the pieces on the squares in turn, player 1 choosing first.
    void Play(const std::vector<int>& squares, const int (&pieces)[4])
    {
        m_rules.SelectOpponent(VyOpponent::HUMAN);
        m_rules.SetFirstPlayer(VyFirstPlayer::PLAYER1);
        m_rules.StartGame();
        for (size_t i = 0; i < squares.size(); ++i)
        {
            ASSERT_TRUE(m_rules.IsChoosing()) << "placement " << i;
            m_rules.ChoosePiece(pieces[i]);
            m_host.FinishMoves(m_rules);
            ASSERT_TRUE(m_rules.IsPlacing());
            m_rules.PlacePiece(squares[i]);
            m_host.FinishMoves(m_rules);
        }
    }
};
} // namespace

TEST(SquaresSet, IsTheClassicSetWithTheNineBlocksAsFurtherLines)
{
    const VyPieceSet& squares = SquaresSet();
    const VyPieceSet& classic = ClassicSet();
    EXPECT_EQ(squares.name, "squares");
    ASSERT_EQ(squares.squares.size(), classic.squares.size());
    for (size_t s = 0; s < classic.squares.size(); ++s)
    {
        EXPECT_EQ(squares.squares[s].center, classic.squares[s].center) << s;
        EXPECT_EQ(squares.squares[s].left, classic.squares[s].left) << s;
        EXPECT_EQ(squares.squares[s].right, classic.squares[s].right) << s;
    }
    ASSERT_EQ(squares.pieces.size(), classic.pieces.size());
    for (size_t p = 0; p < classic.pieces.size(); ++p)
    {
        EXPECT_EQ(squares.pieces[p].values, classic.pieces[p].values) << p;
        EXPECT_EQ(squares.pieces[p].start, classic.pieces[p].start) << p;
        EXPECT_EQ(squares.pieces[p].center, classic.pieces[p].center) << p;
    }
    // The lines are held in the order of their keys (Combination1, Combination10, ...).
    std::vector<std::vector<int>> lines = classic.combinations;
    ASSERT_EQ(lines.size(), 10u);
    for (const std::vector<int>& block : Blocks())
        lines.push_back(block);
    std::vector<std::vector<int>> held = squares.combinations;
    std::sort(lines.begin(), lines.end());
    std::sort(held.begin(), held.end());
    EXPECT_EQ(held, lines);
}

TEST(SquaresSet, ShipsOnlyItsBoardAndDrawsTheClassicPiecesFromTheClassicFolder)
{
    const VyPieceSet& squares = SquaresSet();
    const VyPieceSet& classic = ClassicSet();
    ASSERT_TRUE(squares.images && classic.images);
    ASSERT_EQ(squares.images->pieces.size(), 16u);
    for (size_t p = 0; p < 16; ++p)
    {
        EXPECT_TRUE(SamePixels(squares.images->pieces[p].normal, classic.images->pieces[p].normal)) << p;
        EXPECT_TRUE(SamePixels(squares.images->pieces[p].greyed, classic.images->pieces[p].greyed)) << p;
    }
    // The board is its own (the blocks are marked), of the classic board's size and background.
    EXPECT_EQ(squares.images->board.Width(), classic.images->board.Width());
    EXPECT_EQ(squares.images->background, classic.images->background);
    EXPECT_FALSE(SamePixels(squares.images->board, classic.images->board));

    VyMemFile unused(VY_IO_READ);
    EXPECT_TRUE(TestResources::Get().GetArchive().GetFile("sets\\squares\\board.bmp", unused));
    EXPECT_FALSE(TestResources::Get().GetArchive().GetFile("sets\\squares\\piece1.bmp", unused))
        << "the archive holds the classic pieces once";
}

TEST(SquaresSet, SharedPicturesTakesOnlyAPlainSetName)
{
    const char* const names[] = {"..", "classic\\..\\..", "sets/classic", "c:"};
    for (size_t i = 0; i < std::size(names); ++i)
    {
        const char* name = names[i];
        const VyString set = VyString::Format("badshare%zu", i);
        TestResources::Get().Add(VySetLoader::PathOfSet(set),
                                 EditSetText(ClassicText(), "General", "SharedPictures", name));
        try
        {
            VySetLoader::Load(VySetLoader::PathOfSet(set));
            ADD_FAILURE() << name << " was taken";
        }
        catch (const VyException& error)
        {
            EXPECT_EQ(error.GetMessage(),
                      "*VyGameWnd::InternalLoadSet : Failed to read [General].SharedPictures(" + VyString(name) + ")");
        }
    }
}

TEST_F(SquaresRulesTest, ABlockSharingAValueWinsWithTheUsualTextAndOneWithoutDoesNot)
{
    // The first block (squares 1, 2, 5, 6), the middle one, the last (squares 11, 12, 15, 16).
    const std::vector<int> wins[] = {{0, 1, 4, 5}, {5, 6, 9, 10}, {10, 11, 14, 15}};
    const std::vector<std::vector<int>>& lines = m_rules.GetWinningCombinations();
    for (const std::vector<int>& block : wins)
    {
        Play(block, ONLY_DARK);
        EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_WON) << block[0];
        ASSERT_GE(m_rules.GetWinningCombination(), 0);
        EXPECT_EQ(lines.at(static_cast<size_t>(m_rules.GetWinningCombination())), block);
        EXPECT_EQ(m_rules.GetWinningValue(), "Dark");
        EXPECT_EQ(m_rules.GetStatus(), "Chris won by getting 4 Dark pieces in a row.") << "player 1 placed the fourth";

        Play(block, NOTHING_SHARED);
        EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES) << "nothing shared, no win";
    }
}

TEST_F(SquaresRulesTest, TheSameBlockOnTheClassicSetIsNoLine)
{
    m_rules.SetPieceSet(ClassicSet());
    Play({5, 6, 9, 10}, ONLY_DARK);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
}

namespace
{
// Squares 1, 2 and 5 hold pieces 0, 15 and 2, which share only Dark: a Dark piece on square 6 (index
// 5) completes the first block, and no other line holds three pieces.
const std::map<int, int> BLOCK_OF_THREE = {{0, 0}, {1, 15}, {4, 2}};
} // namespace

TEST(SquaresComputer, LevelsThatTakeAWinCompleteTheBlock)
{
    for (VyLevel level : {VyLevel::EASY, VyLevel::INTERMEDIATE, VyLevel::HARD, VyLevel::ADVANCED})
        for (uint32_t seed = 1; seed <= 8; ++seed)
        {
            VyComputerPosition position =
                MakePosition(SquaresSet(), BLOCK_OF_THREE, level, VyGameState::PLAYER2_PLACES, 13);
            VyRandom random(seed);
            EXPECT_EQ(VyComputerDecision::ComputerChooseSquare(position, random), 5) << LevelName(level);
        }
    VyComputerPosition classic = MakePosition(ClassicSet(), BLOCK_OF_THREE, VyLevel::EASY,
                                              VyGameState::PLAYER2_PLACES, 13);
    EXPECT_EQ(VyComputerDecision::FindWinningSquare(classic, 13), -1) << "no block line in the classic set";
}

TEST(SquaresComputer, IntermediateAndAboveHandOverNoPieceThatCompletesTheBlock)
{
    const std::set<int> white = {1, 3, 4, 6, 9, 11, 12, 14};
    for (VyLevel level : {VyLevel::INTERMEDIATE, VyLevel::HARD, VyLevel::ADVANCED})
        for (uint32_t seed = 1; seed <= 8; ++seed)
        {
            VyComputerPosition position = MakePosition(SquaresSet(), BLOCK_OF_THREE, level);
            VyRandom random(seed);
            const int piece = VyComputerDecision::ComputerChoosePiece(position, random);
            EXPECT_EQ(white.count(piece), 1u) << LevelName(level) << " handed over piece " << piece;
        }
}
