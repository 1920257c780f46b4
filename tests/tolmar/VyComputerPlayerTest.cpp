#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "GameTestHost.h"
#include "TestSets.h"
#include "VyComputerPlayer.h"
#include "VyGameRules.h"
#include "vythread/VyMessageQueue.h"

namespace
{
// A stand-in for the game window: owns the rules and the computer, answers the game's messages as
// the window does, and ends every movement at once through the queue.
class TestGame : public VyMessageTarget, public GameTestHost
{
public:
    VyRandom random{5};
    VyGameRules rules{*this, random};
    VyComputerPlayer computer{this, random};
    int computerAnswers = 0;
    bool bHoldAnswers = false; // answers stay queued for the test to inspect

    TestGame()
    {
        rules.SetPieceSet(ClassicSet());
        rules.SelectOpponent(VyOpponent::COMPUTER);
        rules.SetLevel(VyLevel::ADVANCED);
        rules.SetPlayerName(VyPlayer::PLAYER1, "Chris");
    }

    void MovePiece(int piece, VyPoint target, float speed, VyMoveStyle style) override
    {
        GameTestHost::MovePiece(piece, target, speed, style);
        running.clear();
        Post({this, MSG_MOVE_DONE, piece, 0});
    }
    void WakeComputer(const VyComputerPosition& position) override
    {
        GameTestHost::WakeComputer(position);
        computer.Wake(position);
    }
    void HandleMessage(const VyMessage& msg) override
    {
        if (msg.id == MSG_COMPUTER_PIECE || msg.id == MSG_COMPUTER_SQUARE)
            ++computerAnswers;
        rules.HandleMessage(msg);
    }
};

// Dispatches until the condition holds; a generous bound keeps a broken worker from hanging the run.
template <class Condition> bool PumpUntil(Condition condition)
{
    for (int round = 0; round < 20000; ++round)
    {
        VyMessageTarget::DispatchMessages();
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Waits, without dispatching, until the computer's answer is queued.
bool AnswerQueued(VyMessageTarget* pTarget)
{
    for (int round = 0; round < 20000; ++round)
    {
        if (VyMessageTarget::HasMessage({pTarget, MSG_COMPUTER_PIECE, 0, 0}) ||
            VyMessageTarget::HasMessage({pTarget, MSG_COMPUTER_SQUARE, 0, 0}))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}
} // namespace

TEST(ComputerPlayer, PlaysAWholeGameThroughTheQueue)
{
    VyMessageQueue queue;
    TestGame game;
    ASSERT_TRUE(game.computer.IsRunning());
    game.rules.SetFirstPlayer(VyFirstPlayer::PLAYER2);
    game.rules.StartGame(); // the computer chooses first: woken before its thread may even wait
    VyRandom human(9);
    while (!game.rules.IsGameOver())
    {
        ASSERT_TRUE(PumpUntil([&] { return game.rules.IsHumanChoosing() || game.rules.IsHumanPlacing() ||
                                           game.rules.IsGameOver(); }))
            << "state " << VyNumberOf(game.rules.GetState());
        if (game.rules.IsGameOver())
            break;
        VyComputerPosition position = game.rules.TakeComputerPosition();
        position.level = VyLevel::EASY;
        if (game.rules.IsHumanChoosing())
            game.rules.ChoosePiece(VyComputerDecision::ComputerChoosePiece(position, human));
        else
            game.rules.PlacePiece(VyComputerDecision::ComputerChooseSquare(position, human));
    }
    EXPECT_EQ(game.computerAnswers, static_cast<int>(game.wakes.size()));
    EXPECT_GE(game.computerAnswers, 4);
    size_t placed = 0;
    for (const VyPieceInfo& piece : game.rules.GetPieces())
        placed += piece.location != -1 ? 1 : 0;
    EXPECT_EQ(placed, game.rules.GetHistory().size());
}

TEST(ComputerPlayer, AnAnswerToAReplacedPositionIsDropped)
{
    VyMessageQueue queue;
    TestGame game;
    game.rules.SetFirstPlayer(VyFirstPlayer::PLAYER2);
    game.rules.StartGame();
    ASSERT_TRUE(AnswerQueued(&game));
    // A new game in which the human chooses first replaces the position the computer answered.
    game.rules.SetFirstPlayer(VyFirstPlayer::PLAYER1);
    game.rules.StartGame();
    VyMessageTarget::DispatchMessages();
    EXPECT_EQ(game.computerAnswers, 1);
    EXPECT_EQ(game.rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(game.rules.GetCurrentPiece(), INVALID_PIECE);
    EXPECT_TRUE(game.moves.empty());
}

TEST(ComputerPlayer, EndsCleanlyWithARequestPending)
{
    VyMessageQueue queue;
    {
        TestGame game;
        game.rules.SetFirstPlayer(VyFirstPlayer::PLAYER2);
        game.rules.StartGame();
    } // destroyed while the worker may be deciding: the destructor stops and joins it
    SUCCEED();
}
