#include <gtest/gtest.h>

#include "vyplatform/VyDisplayScale.h"
#include "vyplatform/VyScreenSettings.h"

namespace
{
constexpr VySize VGA{640, 480};
constexpr int MAX_SIDE = VyScreenSettings::VY_MAX_CLIENT_SIDE;

int Windowed(VySize logical, VySize desktop)
{
    return VyDisplayScale::Automatic(logical, desktop, VyDisplayKind::WINDOWED);
}

int FullScreen(VySize logical, VySize mode)
{
    return VyDisplayScale::Automatic(logical, mode, VyDisplayKind::FULL_SCREEN);
}
} // namespace

TEST(VyDisplayScale, AWindowTakesAboutThreeQuartersOfTheDesktop)
{
    EXPECT_EQ(Windowed(VGA, {1024, 768}), 1);
    EXPECT_EQ(Windowed(VGA, {1366, 768}), 1);
    EXPECT_EQ(Windowed(VGA, {1280, 1024}), 2); // 1280 x 960 only just fits: 3/4 of 1024 / 480 is 1.6
    EXPECT_EQ(Windowed(VGA, {1920, 1080}), 2);
    EXPECT_EQ(Windowed(VGA, {2560, 1440}), 2);
    EXPECT_EQ(Windowed(VGA, {3840, 2160}), 3); // the height's 3.375 decides, not the width's 4.5
    EXPECT_EQ(Windowed(VGA, {7680, 4320}), 7);
    // The narrower direction decides: a tall desktop.
    EXPECT_EQ(Windowed(VGA, {1080, 1920}), 1);
    // Never below 1, even on a desktop smaller than the picture.
    EXPECT_EQ(Windowed(VGA, {320, 240}), 1);
    EXPECT_EQ(Windowed(VGA, {0, 0}), 1);
    EXPECT_EQ(Windowed({0, 480}, {1920, 1080}), 1);
}

TEST(VyDisplayScale, FullScreenTakesTheLargestFactorTheModeHolds)
{
    EXPECT_EQ(FullScreen(VGA, {1024, 768}), 1);
    EXPECT_EQ(FullScreen(VGA, {1280, 960}), 2);
    EXPECT_EQ(FullScreen(VGA, {1920, 1080}), 2);
    EXPECT_EQ(FullScreen(VGA, {3840, 2160}), 4);
    EXPECT_EQ(FullScreen(VGA, {800, 600}), 1);
    EXPECT_EQ(FullScreen(VGA, {320, 200}), 1);
}

TEST(VyDisplayScale, AForcedFactorIsKeptUnlessTheWindowWouldOutgrowTheLargestSide)
{
    EXPECT_EQ(VyDisplayScale::Resolve(3, VGA, {1024, 768}, VyDisplayKind::WINDOWED, MAX_SIDE), 3);
    EXPECT_EQ(VyDisplayScale::Resolve(1, VGA, {3840, 2160}, VyDisplayKind::WINDOWED, MAX_SIDE), 1);
    EXPECT_EQ(VyDisplayScale::Resolve(0, VGA, {3840, 2160}, VyDisplayKind::WINDOWED, MAX_SIDE), 3);
    EXPECT_EQ(VyDisplayScale::Resolve(0, VGA, {3840, 2160}, VyDisplayKind::FULL_SCREEN, MAX_SIDE), 4);
    EXPECT_EQ(VyDisplayScale::Resolve(8, {4000, 300}, {1920, 1080}, VyDisplayKind::WINDOWED, MAX_SIDE), 4);
    EXPECT_EQ(VyDisplayScale::Resolve(2, {MAX_SIDE, 10}, {1920, 1080}, VyDisplayKind::WINDOWED, MAX_SIDE), 1);
}

TEST(VyDisplayScale, WindowPixelsMapToTheLogicalPixelOfTheirBlock)
{
    EXPECT_EQ(VyDisplayScale::ToLogical(301, 2), 150);
    EXPECT_EQ(VyDisplayScale::ToLogical(201, 2), 100);
    EXPECT_EQ(VyDisplayScale::ToLogical(300, 2), 150);
    EXPECT_EQ(VyDisplayScale::ToLogical(1279, 2), 639);
    EXPECT_EQ(VyDisplayScale::ToLogical(8, 3), 2);
    // Outside the window (a held button keeps the mouse), left and above: still the block's pixel.
    EXPECT_EQ(VyDisplayScale::ToLogical(-1, 2), -1);
    EXPECT_EQ(VyDisplayScale::ToLogical(-2, 2), -1);
    EXPECT_EQ(VyDisplayScale::ToLogical(-3, 2), -2);
    EXPECT_EQ(VyDisplayScale::ToLogical(-7, 1), -7);
}
