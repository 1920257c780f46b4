#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "GameTestHost.h"
#include "TestSets.h"
#include "VyGameRules.h"
#include "VySavedGame.h"
#include "VySetLoader.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyMessageQueue.h"

namespace
{
const char* const ADVICE =
    "\n\nYour Tolmar settings are being set back to their defaults.  Please restart this application.  If this "
    "does not fix the problem then reinstall Tolmar.\n\nThe program will now exit.";

// A stand-in for the game window: owns the queue, the rules and the progress display, and hands the
// loader's messages to the rules as the window does.
class LoadingGame : public VyMessageTarget, public GameTestHost
{
public:
    VyMessageQueue queue;
    RecordingProgress progress;
    VyRandom random{3};
    VyGameRules rules{*this, random};

    VyMessageTarget* GetMessageTarget() override { return this; }
    VySetLoadProgress* GetSetLoadProgress() override { return &progress; }
    void HandleMessage(const VyMessage& msg) override { rules.HandleMessage(msg); }

    // Dispatches until no load is waiting; a generous bound keeps a broken loader from hanging the run.
    bool FinishLoad()
    {
        for (int round = 0; round < 30000 && rules.IsSetLoading(); ++round)
        {
            VyMessageTarget::DispatchMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        VyMessageTarget::DispatchMessages();
        return !rules.IsSetLoading();
    }
};

void AddSet(const VyString& name, const VyString& text)
{
    TestResources::Get().Add(VySetLoader::PathOfSet(name), text);
}
} // namespace

TEST(GameSet, TheStartUpLoadArrivesOnTheWindowThreadAndTheSameSetLoadsOnce)
{
    ClassicSet();
    LoadingGame game;
    game.rules.LoadSet("classic");
    EXPECT_EQ(game.progress.Calls().at(0), "open Loading ... 275x100 Loading Tolmar");
    EXPECT_TRUE(game.rules.IsSetLoading());
    EXPECT_TRUE(game.rules.GetPieces().empty()) << "the set arrives through the queue";

    ASSERT_TRUE(game.FinishLoad());
    EXPECT_EQ(game.rules.GetSetName(), "classic");
    EXPECT_EQ(game.rules.GetNumberOfPieces(), 16);
    EXPECT_EQ(game.rules.GetNumberOfSquares(), 16);
    ASSERT_TRUE(game.rules.GetSetImages());
    EXPECT_EQ(game.rules.GetSetImages()->pieces.size(), 16u);
    EXPECT_EQ(game.setChanges, 1);
    EXPECT_EQ(game.progress.Calls().back(), "close");
    EXPECT_EQ(game.progress.Count("pos 100"), 1);

    // The set in use: nothing happens, no progress display.
    EXPECT_FALSE(game.rules.LoadSetFile("sets\\classic\\classic.cfg"));
    game.rules.LoadSet("classic");
    EXPECT_FALSE(game.rules.IsSetLoading());
    EXPECT_EQ(game.progress.Count("open"), 1);
    EXPECT_TRUE(game.fatalErrors.empty());
    EXPECT_TRUE(game.boxes.empty());
}

TEST(GameSet, AFailedStartUpLoadDeletesTheSettingsAndEndsTheProgram)
{
    ClassicSet();
    AddSet("wrongcolour", EditSetText(ClassicText(), "Piece2", "Color", "Blue"));
    const struct
    {
        const char* name;
        const char* failure;
    } cases[] = {
        {"wrongcolour", "*VyPiece::Load : Failed to read [Piece2].Color(Blue)"},
        {"absent", "*VyPlatform::GetResourceFile : Could not locate resource file -> File: sets\\absent\\absent.cfg"},
        {"..", "*VyGameWnd::LoadSet : \"..\" is not the name of a piece set"},
    };
    for (const auto& test : cases)
    {
        LoadingGame game;
        game.rules.LoadSet(test.name);
        ASSERT_TRUE(game.FinishLoad());
        EXPECT_EQ(game.settingsDeleted, 1) << test.name;
        ASSERT_EQ(game.fatalErrors.size(), 1u) << test.name;
        EXPECT_EQ(game.fatalErrors[0], test.failure + VyString(ADVICE));
        EXPECT_EQ(game.progress.Count("open"), game.progress.Count("close")) << test.name;
        EXPECT_EQ(game.setChanges, 0);
    }
}

TEST(GameSet, WithASetInUseAFailedOrAbandonedLoadKeepsIt)
{
    AddSet("noboard", EditSetText(ClassicText(), "General", "Board", nullptr));
    AddSet("spare", ClassicText());
    LoadingGame game;
    game.rules.SetPieceSet(ClassicSet());
    game.rules.SelectOpponent(VyOpponent::HUMAN);
    game.rules.StartGame();

    game.rules.LoadSet("noboard");
    ASSERT_TRUE(game.FinishLoad());
    EXPECT_TRUE(game.fatalErrors.empty());
    EXPECT_EQ(game.settingsDeleted, 0);
    ASSERT_EQ(game.boxes.size(), 1u);
    EXPECT_EQ(game.boxes[0].first, "*VyGameWnd::InternalLoadSet : Failed to read [General].Board");
    EXPECT_EQ(game.boxes[0].second, "Load Error");
    EXPECT_EQ(game.rules.GetSetName(), "classic");
    EXPECT_EQ(game.rules.GetState(), VyGameState::PLAYER1_CHOOSES);

    // Asking for the set in use while another loads gives the other up.
    const int changes = game.setChanges;
    game.rules.LoadSet("spare");
    EXPECT_TRUE(game.rules.IsSetLoading());
    game.rules.LoadSet("classic");
    EXPECT_FALSE(game.rules.IsSetLoading());
    EXPECT_EQ(game.progress.Count("open"), game.progress.Count("close"));
    for (int round = 0; round < 50; ++round)
        VyMessageTarget::DispatchMessages();
    EXPECT_EQ(game.setChanges, changes);
    EXPECT_EQ(game.rules.GetSetName(), "classic");
    EXPECT_EQ(game.rules.GetState(), VyGameState::PLAYER1_CHOOSES) << "the game goes on";
}

TEST(GameSet, ASavedGameNamingAnotherSetIsAppliedWhenThatSetArrives)
{
    AddSet("twin", ClassicText());
    LoadingGame game;
    game.rules.SetPieceSet(ClassicSet());
    game.rules.SelectOpponent(VyOpponent::HUMAN);
    game.rules.SetPlayerName(VyPlayer::PLAYER1, "Chris");
    game.rules.StartGame();

    VySavedGame saved;
    saved.player1Name = "Ann";
    saved.player2Name = "Bob";
    saved.state = VyNumberOf(VyGameState::PLAYER2_PLACES);
    saved.initialState = VyNumberOf(VyGameState::PLAYER1_CHOOSES);
    saved.opponent = VyNumberOf(VyOpponent::HUMAN);
    saved.history = {3};
    saved.locations.assign(16, -1);
    saved.locations[3] = 10;
    saved.currentPiece = 6;
    saved.level = VyNumberOf(VyLevel::HARD);
    saved.setName = "twin";
    VyMemFile file(VY_IO_WRITE);
    saved.Write(file);
    file.SeekToBegin();

    ASSERT_TRUE(game.rules.LoadGame(file));
    EXPECT_TRUE(game.rules.IsSetLoading());
    EXPECT_EQ(game.rules.GetPlayer1Name(), "Chris") << "the game in use stays until the set arrives";
    EXPECT_EQ(game.rules.GetSetName(), "classic");

    ASSERT_TRUE(game.FinishLoad());
    EXPECT_EQ(game.rules.GetSetName(), "twin");
    EXPECT_EQ(game.rules.GetPlayer1Name(), "Ann");
    EXPECT_EQ(game.rules.GetState(), VyGameState::PLAYER2_PLACES);
    EXPECT_EQ(game.rules.GetPieces()[3].location, 10);
    EXPECT_EQ(game.rules.GetSquares()[10].piece, 3);
    EXPECT_EQ(game.rules.GetCurrentPiece(), 6);
    EXPECT_EQ(game.rules.GetStatus(), "Bob's turn to place the piece");

    // A new game while a saved game waits for its set drops both.
    AddSet("third", ClassicText());
    saved.setName = "third";
    VyMemFile again(VY_IO_WRITE);
    saved.Write(again);
    again.SeekToBegin();
    ASSERT_TRUE(game.rules.LoadGame(again));
    game.rules.StartGame();
    EXPECT_FALSE(game.rules.IsSetLoading());
    EXPECT_EQ(game.rules.GetSetName(), "twin");
    EXPECT_EQ(game.rules.GetState(), VyGameState::PLAYER1_CHOOSES);
}
