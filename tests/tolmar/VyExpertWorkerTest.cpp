#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "ClassicRulesTest.h"
#include "TestPositions.h"
#include "VyComputerPlayer.h"
#include "VyHintAnswer.h"
#include "vythread/VyMessageQueue.h"

namespace
{
// LAST_PIECE_WINS as a board (square -> piece).
const std::map<int, int> LAST_PIECE_BOARD(LAST_PIECE_WINS.begin(), LAST_PIECE_WINS.end());

// Keeps every message the worker posts.
class Recorder : public VyMessageTarget
{
public:
    std::vector<VyMessage> messages;
    void HandleMessage(const VyMessage& msg) override { messages.push_back(msg); }
};

// Dispatches until the recorder holds count messages; the bound only keeps a broken worker from
// hanging the run.
bool PumpUntilMessages(Recorder& recorder, size_t count)
{
    for (int round = 0; round < 20000 && recorder.messages.size() < count; ++round)
    {
        VyMessageTarget::DispatchMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return recorder.messages.size() >= count;
}

// Waits until the worker's searches have made at least count stop checks.
bool WaitForChecks(const VyComputerPlayer& worker, uint64_t count)
{
    for (int round = 0; round < 20000 && worker.GetStopChecks() < count; ++round)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return worker.GetStopChecks() >= count;
}

// The empty board with nothing chosen and no budget: a search that would run for hours.
VyComputerPosition EndlessSearch(int generation)
{
    VyComputerPosition position = MakePosition(ClassicSet(), {}, VyLevel::EXPERT);
    position.expertMs = 0;
    position.generation = generation;
    return position;
}

// An Easy decision that answers at once: player 2 hands over piece 8, the last one.
VyComputerPosition QuickDecision(int generation)
{
    VyComputerPosition position = MakePosition(ClassicSet(), LAST_PIECE_BOARD, VyLevel::EASY);
    position.generation = generation;
    return position;
}

// Gives a search that should have ended the time of many checks to show that it goes on.
void LetASearchRunOn(const VyComputerPlayer& worker, uint64_t from)
{
    for (int round = 0; round < 200 && worker.GetStopChecks() < from + 10; ++round)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
} // namespace

TEST(ExpertWorker, DecidesAndHintsThroughTheWorker)
{
    VyMessageQueue queue;
    Recorder recorder;
    VyComputerPlayer worker(&recorder);
    VyComputerPosition placing =
        MakePosition(ClassicSet(), LAST_PIECE_BOARD, VyLevel::EXPERT, VyGameState::PLAYER2_PLACES, 7);
    placing.generation = 3;
    worker.Wake(placing);
    ASSERT_TRUE(PumpUntilMessages(recorder, 1));
    EXPECT_EQ(recorder.messages[0].id, MSG_COMPUTER_SQUARE);
    EXPECT_EQ(recorder.messages[0].param1, 15);
    EXPECT_EQ(recorder.messages[0].param2, 3);

    // The hint is the Expert's whatever the game's level: player 1 must hand over the winning piece.
    VyComputerPosition choosing = MakePosition(ClassicSet(), LAST_PIECE_BOARD, VyLevel::BEGINNER,
                                               VyGameState::PLAYER1_CHOOSES);
    choosing.generation = 4;
    worker.AskHint(choosing);
    ASSERT_TRUE(PumpUntilMessages(recorder, 2));
    EXPECT_EQ(recorder.messages[1].id, MSG_HINT);
    EXPECT_EQ(recorder.messages[1].param2, 4);
    const VyHintAnswer hint = VyHintAnswer::Unpack(recorder.messages[1].param1);
    EXPECT_EQ(hint.square, -1);
    EXPECT_EQ(hint.piece, 7);
    EXPECT_EQ(hint.outcome, VyOutcome::LOSS);
}

TEST(ExpertWorker, HintAnswersSurviveTheirPacking)
{
    for (VyOutcome outcome : {VyOutcome::UNKNOWN, VyOutcome::WIN, VyOutcome::DRAW, VyOutcome::LOSS})
        for (int square : {-1, 0, 15, 63})
            for (int piece : {-1, 0, 7, 63})
            {
                const VyHintAnswer back = VyHintAnswer::Unpack(VyHintAnswer::Pack({square, piece, outcome}));
                EXPECT_EQ(back.square, square);
                EXPECT_EQ(back.piece, piece);
                EXPECT_EQ(back.outcome, outcome);
            }
    EXPECT_EQ(VyHintAnswer::Unpack(-5).outcome, VyOutcome::UNKNOWN);
    EXPECT_STREQ(VyHintAnswer::OutlookText(VyOutcome::WIN), "You can force a win.");
    EXPECT_STREQ(VyHintAnswer::OutlookText(VyOutcome::DRAW), "A draw is the best you can get.");
    EXPECT_STREQ(VyHintAnswer::OutlookText(VyOutcome::LOSS), "Every move loses against perfect play.");
    EXPECT_STREQ(VyHintAnswer::OutlookText(VyOutcome::UNKNOWN), "No sure outcome yet.");
}

// Each way of ending a search ends it at its next stop check: checks counted before the stop was
// asked for, plus at most one that was already under way (it read the state before the stop) and the
// one that sees it.
TEST(ExpertWorker, ASearchEndsAtItsNextCheckForANewerGeneration)
{
    VyMessageQueue queue;
    Recorder recorder;
    VyComputerPlayer worker(&recorder);
    worker.Wake(EndlessSearch(5));
    ASSERT_TRUE(WaitForChecks(worker, 2));
    const uint64_t before = worker.GetStopChecks();
    worker.SetNewestGeneration(6);
    LetASearchRunOn(worker, before);
    EXPECT_LE(worker.GetStopChecks(), before + 2);
    // The worker is free again, and the stopped search posted nothing.
    worker.Wake(QuickDecision(6));
    ASSERT_TRUE(PumpUntilMessages(recorder, 1));
    EXPECT_EQ(recorder.messages[0].param2, 6);
    EXPECT_EQ(recorder.messages[0].param1, 7);
}

TEST(ExpertWorker, ASearchEndsAtItsNextCheckForANewerRequest)
{
    VyMessageQueue queue;
    Recorder recorder;
    VyComputerPlayer worker(&recorder);
    worker.AskHint(EndlessSearch(5));
    ASSERT_TRUE(WaitForChecks(worker, 2));
    const uint64_t before = worker.GetStopChecks();
    // A request for the same generation: only its waiting can end the search.
    worker.Wake(QuickDecision(5));
    ASSERT_TRUE(PumpUntilMessages(recorder, 1));
    EXPECT_LE(worker.GetStopChecks(), before + 2);
    EXPECT_EQ(recorder.messages[0].id, MSG_COMPUTER_PIECE);
    VyMessageTarget::DispatchMessages();
    EXPECT_EQ(recorder.messages.size(), 1u) << "no hint for the replaced request";
}

TEST(ExpertWorker, ASearchEndsAtItsNextCheckWhenTheWorkerStops)
{
    VyMessageQueue queue;
    Recorder recorder;
    auto pWorker = std::make_unique<VyComputerPlayer>(&recorder);
    pWorker->Wake(EndlessSearch(5));
    ASSERT_TRUE(WaitForChecks(*pWorker, 2));
    const uint64_t before = pWorker->GetStopChecks();
    const std::shared_ptr<const std::atomic<uint64_t>> pChecks = pWorker->GetStopCheckCounter();
    pWorker.reset(); // joins the worker: returns only once the search has ended
    const uint64_t after = pChecks->load();
    EXPECT_LE(after, before + 2);
    VyMessageTarget::DispatchMessages();
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(ExpertWorker, TheRulesTellTheHostOfEveryNewGeneration)
{
    GameTestHost host;
    VyRandom random(3);
    VyGameRules rules(host, random);
    rules.SetPieceSet(ClassicSet());
    rules.SelectOpponent(VyOpponent::HUMAN);
    rules.SetExpertTime(750);
    rules.StartGame();
    rules.ChoosePiece(2);
    host.FinishMoves(rules);
    rules.PlacePiece(5);
    host.FinishMoves(rules);
    rules.Undo();
    host.FinishMoves(rules);
    ASSERT_FALSE(host.generations.empty());
    EXPECT_EQ(host.generations.back(), rules.GetPositionGeneration());
    for (size_t i = 1; i < host.generations.size(); ++i)
        EXPECT_EQ(host.generations[i], host.generations[i - 1] + 1) << "each change told once, in order";
    EXPECT_EQ(rules.TakeComputerPosition().expertMs, 750u);

    // A loaded Expert game comes back as one, and its load is a new generation too.
    VySavedGame saved = ClassicGame(VyGameState::PLAYER1_CHOOSES, {}, VyOpponent::COMPUTER);
    saved.level = VyNumberOf(VyLevel::EXPERT);
    const VyString bytes = SavedBytes(saved);
    VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
    const int before = rules.GetPositionGeneration();
    ASSERT_TRUE(rules.LoadGame(file));
    EXPECT_EQ(rules.GetLevel(), VyLevel::EXPERT);
    EXPECT_GT(host.generations.back(), before);
    EXPECT_EQ(bytes, [&] {
        VyMemFile out(VY_IO_WRITE);
        rules.SaveGame(out);
        return VyString(out.GetView());
    }()) << "saved again as it was";
}
