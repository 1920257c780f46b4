#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "TestSets.h"
#include "VySelfPlayMatch.h"
#include "VySelfPlayReport.h"

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

TEST(SelfPlay, AnExpertSideKeepsWhatItsDecisionsCost)
{
    VySelfPlayMatch match(ClassicSet(), VyLevel::EXPERT, VyLevel::BEGINNER, 3);
    match.SetExpertTime(1); // the end of each game is solved whatever the budget: few nodes
    const VySelfPlayMatch::Score score = match.Play(2);
    EXPECT_EQ(score.firstWins + score.secondWins + score.ties, 2);
    const VySelfPlaySeat& expert = match.GetFirst();
    EXPECT_GE(expert.GetDecisions(), 4u);
    EXPECT_GE(expert.GetTotalMicroseconds(), expert.GetLongestMicroseconds());
    ASSERT_EQ(expert.GetFirstSolves().size(), 2u);
    for (int empty : expert.GetFirstSolves())
        EXPECT_TRUE(empty == -1 || (empty >= 1 && empty <= 16)) << empty;
    EXPECT_TRUE(match.GetSecond().GetFirstSolves().empty()) << "only an Expert side keeps them";

    std::ostringstream report;
    VySelfPlayReport::Write(report, "first", expert);
    VySelfPlayReport::Write(report, "second", match.GetSecond());
    const std::string text = report.str();
    EXPECT_EQ(text.rfind("first (Expert): ", 0), 0u) << text;
    EXPECT_NE(text.find(" ms average, "), std::string::npos) << text;
    EXPECT_EQ(text.find("second"), std::string::npos) << "nothing for a side of another level";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
}
