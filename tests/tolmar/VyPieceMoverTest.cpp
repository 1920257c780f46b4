#include <gtest/gtest.h>

#include "VyPieceMover.h"

TEST(VyPieceMover, TravelsInAStraightLineAtItsSpeedAndStopsOnTheTarget)
{
    VyPieceMover mover;
    // 550 pixels at 300 pixels per second: 1833 ms.
    mover.Start({0, 0}, {330, 440}, 300.0f, 1000);
    EXPECT_EQ(mover.GetEndTime(), 1000u + 1833u);
    EXPECT_FALSE(mover.IsOver(1000));
    EXPECT_EQ(mover.At(1000), (VyPoint{0, 0}));
    EXPECT_EQ(mover.At(1050), (VyPoint{9, 12})); // 15 pixels along the line after one tick
    EXPECT_EQ(mover.At(1000 + 1833 / 2), (VyPoint{165, 220}));
    EXPECT_TRUE(mover.IsOver(2833));
    EXPECT_EQ(mover.At(2900), (VyPoint{330, 440}));
}

TEST(VyPieceMover, NoDistanceOrNoSpeedEndsAtOnceAndTheTickCountMayWrap)
{
    VyPieceMover mover;
    mover.Start({5, 5}, {5, 5}, 300.0f, 10);
    EXPECT_TRUE(mover.IsOver(10));
    mover.Start({0, 0}, {100, 0}, 0.5f, 10); // under one pixel a second
    EXPECT_TRUE(mover.IsOver(10));
    EXPECT_EQ(mover.At(10), (VyPoint{100, 0}));

    const unsigned int nearWrap = 0xFFFFFFFFu - 100u;
    mover.Start({0, 0}, {0, -300}, 1500.0f, nearWrap); // 200 ms, across the wrap
    EXPECT_FALSE(mover.IsOver(nearWrap + 150u));
    EXPECT_EQ(mover.At(nearWrap + 100u), (VyPoint{0, -150}));
    EXPECT_TRUE(mover.IsOver(nearWrap + 200u));
}
