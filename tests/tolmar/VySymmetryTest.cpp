#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "TestSets.h"
#include "VyBoardSymmetries.h"
#include "VyCompactPosition.h"
#include "VyPieceSymmetries.h"

namespace
{
VyCompactSet Compact(const VyPieceSet& set)
{
    return VyCompactSet(set.squares.size(), set.pieces, set.properties.size(), set.combinations);
}

// The classic lines with the nine 2 x 2 blocks of neighbouring squares.
VyPieceSet WithBlocks()
{
    VyPieceSet set = ClassicSet();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
        {
            const int corner = 4 * row + column;
            set.combinations.push_back({corner, corner + 1, corner + 4, corner + 5});
        }
    return set;
}

// Every map carries the lines onto lines, and no two maps are alike.
void ExpectBoardGroup(const VyCompactSet& set, const std::vector<VySymmetryMap>& group)
{
    std::set<uint64_t> lines;
    for (int line = 0; line < set.LineCount(); ++line)
        lines.insert(set.LineMask(line));
    std::set<std::vector<uint8_t>> distinct;
    for (const VySymmetryMap& map : group)
    {
        distinct.insert(std::vector<uint8_t>(map.image.begin(), map.image.begin() + set.SquareCount()));
        for (uint64_t mask : lines)
        {
            uint64_t image = 0;
            for (int square = 0; square < set.SquareCount(); ++square)
                if (mask >> square & 1)
                    image |= uint64_t{1} << map.image[static_cast<size_t>(square)];
            EXPECT_TRUE(lines.count(image)) << "a line maps onto no line";
        }
    }
    EXPECT_EQ(distinct.size(), group.size());
}
} // namespace

// The classic board (rows, columns, diagonals) has 32 symmetries: the 8 of the square (turns and
// mirrors), each with or without swapping the two middle rows and the two middle columns together,
// and each with or without turning the board inside out (the corners change places with the
// centre squares, the edges among themselves). All three keep rows, columns and diagonals lines.
// The 2 x 2 blocks break the last two: only the 8 of the square remain.
TEST(Symmetry, TheBoardGroupsFollowTheSetsLines)
{
    const VyCompactSet classic = Compact(ClassicSet());
    const std::vector<VySymmetryMap> classicGroup = VyBoardSymmetries::Derive(classic);
    EXPECT_EQ(classicGroup.size(), 32u);
    ExpectBoardGroup(classic, classicGroup);

    const VyCompactSet blocks = Compact(WithBlocks());
    const std::vector<VySymmetryMap> blocksGroup = VyBoardSymmetries::Derive(blocks);
    EXPECT_EQ(blocksGroup.size(), 8u);
    ExpectBoardGroup(blocks, blocksGroup);

    for (const std::vector<VySymmetryMap>* pGroup : {&classicGroup, &blocksGroup})
        for (int square = 0; square < 16; ++square)
            EXPECT_EQ(pGroup->front().image[static_cast<size_t>(square)], square) << "the identity comes first";
}

// The classic pieces have 4! x 2^4 = 384 symmetries: the four two-valued properties in any order,
// each flipped or not; all sixteen combinations of values are pieces, so every such map is one.
// The eight Tall pieces keep a Height of one value: its three other properties give 3! x 2^3 = 48.
// One piece fewer, and a flip that sends the missing piece's partner to it is no symmetry.
TEST(Symmetry, ThePieceGroupsFollowTheSetsValues)
{
    const VyCompactSet classic = Compact(ClassicSet());
    const std::vector<VySymmetryMap> group = VyPieceSymmetries::Derive(classic);
    EXPECT_EQ(group.size(), 384u);
    for (const VySymmetryMap& map : group)
        for (int a = 0; a < 16; ++a)
            for (int b = 0; b < 16; ++b)
            {
                const uint64_t shared = classic.Code(a) & classic.Code(b);
                const uint64_t sharedImage = classic.Code(map.image[static_cast<size_t>(a)]) &
                                             classic.Code(map.image[static_cast<size_t>(b)]);
                ASSERT_EQ(VyBitCount(shared), VyBitCount(sharedImage)) << "pieces share as many values";
            }

    VyPieceSet tall = ClassicSet();
    const int height = 1; // properties in key order: Color, Height, Shape, Top
    ASSERT_EQ(tall.properties[height].name, "Height");
    const int tallValue = tall.properties[height].values.at("Tall");
    tall.pieces.erase(std::remove_if(tall.pieces.begin(), tall.pieces.end(),
                                     [&](const VyPieceInfo& piece) { return piece.values[height] != tallValue; }),
                      tall.pieces.end());
    ASSERT_EQ(tall.pieces.size(), 8u);
    EXPECT_EQ(VyPieceSymmetries::Derive(Compact(tall)).size(), 48u);

    VyPieceSet fifteen = ClassicSet();
    fifteen.pieces.pop_back();
    const size_t count = VyPieceSymmetries::Derive(Compact(fifteen)).size();
    EXPECT_LT(count, 384u);
    EXPECT_EQ(count, 24u) << "the maps that fix the missing piece: the property orders alone";
}
