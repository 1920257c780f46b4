#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ExpertPositions.h"
#include "TestSets.h"
#include "VyCompactPosition.h"

// The incremental parts of the compact position: what a trial placement would leave safe, and the
// lines' state after pieces come off in or out of the order they went on.

namespace
{
VyCompactSet Compact(const VyPieceSet& set)
{
    return VyCompactSet(set.squares.size(), set.pieces, set.properties.size(), set.combinations);
}

// The same pieces placed afresh, in square order.
VyCompactPosition Rebuilt(const VyCompactPosition& board)
{
    VyCompactPosition fresh(board.Set());
    for (int s = 0; s < board.Set().SquareCount(); ++s)
        if (board.PieceOn(s) >= 0)
            fresh.Place(board.PieceOn(s), s);
    return fresh;
}

void ExpectSameLines(const VyCompactPosition& board, const char* when)
{
    const VyCompactPosition fresh = Rebuilt(board);
    for (int line = 0; line < board.Set().LineCount(); ++line)
    {
        ASSERT_EQ(board.LineCodes(line), fresh.LineCodes(line)) << when << ", line " << line;
        ASSERT_EQ(board.LineEmptyCount(line), fresh.LineEmptyCount(line)) << when << ", line " << line;
    }
}
} // namespace

// Every stage of a game on both shipped sets (the squares set's blocks cross the rows and columns).
TEST(CompactPosition, SafePiecesAfterAPlacementAreThoseOfPlacingIt)
{
    for (const VyPieceSet* pSet : {&ClassicSet(), &SquaresSet()})
    {
        const VyCompactSet set = Compact(*pSet);
        for (int placements = 0; placements < 15; ++placements)
            for (uint32_t seed = 1; seed <= 6; ++seed)
            {
                int hand = -1;
                VyCompactPosition board = PlayedPosition(set, placements, seed, hand);
                VyCompactPosition::SquareMasks safe{};
                board.SafePiecesAfter(hand, safe);
                for (uint64_t e = board.EmptySquares(); e != 0; e &= e - 1)
                {
                    const int square = VyLowestBit(e);
                    board.Place(hand, square);
                    const uint64_t expected = board.SafePieces();
                    board.Remove(square);
                    ASSERT_EQ(safe[static_cast<size_t>(square)], expected)
                        << pSet->name << ": " << placements << " placed, seed " << seed << ", square " << square;
                }
            }
    }
}

TEST(CompactPosition, TakingPiecesOffInAnyOrderLeavesTheLinesOfTheRest)
{
    const VyCompactSet set = Compact(SquaresSet());
    std::mt19937 engine(5);
    for (uint32_t seed = 1; seed <= 20; ++seed)
    {
        int hand = -1;
        VyCompactPosition board = PlayedPosition(set, 10, seed, hand);
        std::vector<int> filled;
        for (int s = 0; s < set.SquareCount(); ++s)
            if (board.PieceOn(s) >= 0)
                filled.push_back(s);
        // Back in the order of play first (the undo path), then a few out of order.
        VyCompactPosition copy = board;
        const int next = VyLowestBit(copy.EmptySquares());
        copy.Place(hand, next);
        copy.Remove(next);
        ExpectSameLines(copy, "the last placement undone");
        std::shuffle(filled.begin(), filled.end(), engine);
        for (int square : filled)
        {
            board.Remove(square);
            ExpectSameLines(board, "out of order");
            const int piece = VyLowestBit(board.OffBoardPieces());
            board.Place(piece, square);
            board.Remove(square);
            ExpectSameLines(board, "placed and undone after an out-of-order removal");
        }
    }
}
