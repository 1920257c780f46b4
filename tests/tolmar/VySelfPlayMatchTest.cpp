#include <gtest/gtest.h>

#include <sstream>

#include "TestSets.h"
#include "VySelfPlayMatch.h"

TEST(SelfPlay, ASeededMatchIsReproducibleAndAlternatesTheStart)
{
    std::ostringstream logA;
    std::ostringstream logB;
    VySelfPlayMatch::Score a = VySelfPlayMatch(ClassicSet(), VyLevel::HARD, VyLevel::EASY, 7, &logA).Play(6);
    VySelfPlayMatch::Score b = VySelfPlayMatch(ClassicSet(), VyLevel::HARD, VyLevel::EASY, 7, &logB).Play(6);
    EXPECT_EQ(logA.str(), logB.str());
    EXPECT_EQ(a.firstWins + a.secondWins + a.ties, 6);
    EXPECT_EQ(a.firstWins, b.firstWins);
    EXPECT_EQ(a.ties, b.ties);

    const std::string log = logA.str();
    EXPECT_NE(log.find("Game 1: first (Hard) chooses first\n"), std::string::npos);
    EXPECT_NE(log.find("Game 2: second (Easy) chooses first\n"), std::string::npos);
    EXPECT_NE(log.find("  second (Easy) places it on square "), std::string::npos);

    std::ostringstream other;
    VySelfPlayMatch(ClassicSet(), VyLevel::HARD, VyLevel::EASY, 8, &other).Play(6);
    EXPECT_NE(other.str(), log) << "the seed drives the draws";
}

TEST(SelfPlay, AdvancedBeatsBeginnerFromEitherSeat)
{
    VySelfPlayMatch::Score asFirst = VySelfPlayMatch(ClassicSet(), VyLevel::ADVANCED, VyLevel::BEGINNER, 1).Play(10);
    EXPECT_GT(asFirst.firstWins, 3 * asFirst.secondWins);
    VySelfPlayMatch::Score asSecond = VySelfPlayMatch(ClassicSet(), VyLevel::BEGINNER, VyLevel::ADVANCED, 1).Play(10);
    EXPECT_GT(asSecond.secondWins, 3 * asSecond.firstWins);
}
