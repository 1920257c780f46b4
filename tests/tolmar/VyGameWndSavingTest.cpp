#include "VyGameWndTestSupport.h"

#include "vyio/VyConfigFile.h"

namespace
{
// The game with an empty settings file: everything at its defaults, pieces moving at Slow.
class VyGameWndDefaultsTest : public VyGameWndTest
{
protected:
    void WriteSettings() override { m_dir.Put("Tolmar.cfg", ""); }

    // Runs timer ticks until a movement has started and not yet ended.
    void StartMoving()
    {
        WaitFor([this] { return Rules().IsMoving(); });
    }
};
} // namespace

TEST_F(VyGameWndDefaultsTest, AnEmptySettingsFileStartsWithTheDefaultsAndGainsThem)
{
    EXPECT_EQ(Rules().GetMoveSpeed(), 300.0f);
    EXPECT_EQ(Rules().GetFirstPlayer(), VyFirstPlayer::PLAYER1);
    EXPECT_EQ(Rules().GetOpponent(), VyOpponent::HUMAN);
    EXPECT_EQ(Rules().GetSetName(), "classic");
    EXPECT_EQ(Rules().GetState(), VyGameState::NO_OPPONENT);
    const std::string file = VyTestDir::Slurp(m_dir.File("Tolmar.cfg"));
    for (const char* line : {"Movement Speed=300", "Last Game=Human", "First Player=Player1", "Set=classic"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " in:\n" << file;
    for (int piece = 0; piece < 16; ++piece)
        EXPECT_FALSE(m_pGame->GetPiece(piece)->IsEnabled()) << "no game: nothing to choose";
}

TEST_F(VyGameWndDefaultsTest, APieceTravelsOnTimerTicksAndTheCursorIsBusyMeanwhile)
{
    m_script.Then([this] { Key(VY_KEY_RETURN); }).Start();
    m_pMain->OnCommand(205);
    const VyPoint start = m_pGame->GetPiece(3)->GetAnchor();
    ChoosePieceByClick(3);
    EXPECT_TRUE(Rules().IsMoving());
    EXPECT_TRUE(m_pGame->IsBusy());
    EXPECT_EQ(m_pMain->GetShownCursor(), VY_CURSOR_WAIT);
    std::vector<VyPoint> seen{start};
    WaitFor([&] {
        const VyPoint now = m_pGame->GetPiece(3)->GetAnchor();
        if (!(now == seen.back()))
            seen.push_back(now);
        return !Rules().IsMoving();
    });
    EXPECT_GT(seen.size(), 2u) << "the piece passes points between its start and its end";
    EXPECT_EQ(seen.back(), Rules().GetChosenPos());
    EXPECT_FALSE(m_pGame->IsBusy());
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_PLACES);
}

TEST_F(VyGameWndDefaultsTest, GamesSavedWhileAPieceMovesReloadAtTheEndOfThatMove)
{
    m_script.Then([this] { Key(VY_KEY_RETURN); }).Start();
    m_pMain->OnCommand(205);
    m_fileDialog.m_answer = m_dir.File("choice.sav");

    // During a choice: the file holds the chosen piece and the placing state.
    ChoosePieceByClick(2);
    ASSERT_TRUE(Rules().IsMoving());
    m_pMain->OnCommand(214);
    Settle();
    // During a placement: the piece on its square and the next choosing state.
    m_fileDialog.m_answer = m_dir.File("placement.sav");
    PlaceByClick(7);
    ASSERT_TRUE(Rules().IsMoving());
    m_pMain->OnCommand(214);
    Settle();
    EXPECT_EQ(m_fileDialog.m_defaults, (std::vector<VyString>{"tolmar.sav", "tolmar.sav"}));

    m_fileDialog.m_answer = m_dir.File("choice.sav");
    m_pMain->OnCommand(213);
    Settle();
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_PLACES);
    EXPECT_EQ(Rules().GetCurrentPiece(), 2);
    EXPECT_EQ(m_pGame->GetPiece(2)->GetAnchor(), Rules().GetChosenPos());

    m_fileDialog.m_answer = m_dir.File("placement.sav");
    m_pMain->OnCommand(213);
    Settle();
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_CHOOSES);
    EXPECT_EQ(Rules().GetSquares()[7].piece, 2);
    EXPECT_EQ(m_pGame->GetPiece(2)->GetAnchor(), Rules().GetSquares()[7].center);
    EXPECT_EQ(m_fileDialog.m_modes.back(), VyFileDialogMode::OPEN);
}

TEST_F(VyGameWndDefaultsTest, FilesThatCannotBeReadOrWrittenAreSaidSo)
{
    m_pMain->OnCommand(200); // a game against the computer, so that Save is offered
    m_fileDialog.m_answer = m_dir.File("no such folder/x.sav");
    m_script.Then(Answer(VY_IDOK)).Start();
    m_pMain->OnCommand(214);
    m_fileDialog.m_answer = m_dir.Put("garbage.sav", "this is not a saved game at all");
    m_script.Then(Answer(VY_IDOK)).Start();
    m_pMain->OnCommand(213);
    m_fileDialog.m_answer = m_dir.File("missing.sav");
    m_script.Then(Answer(VY_IDOK)).Start();
    m_pMain->OnCommand(213);
    ASSERT_EQ(m_questions.size(), 3u);
    EXPECT_EQ(m_questions[0],
              "Could not write to " + m_dir.File("no such folder/x.sav") + ": No such file or directory");
    EXPECT_EQ(m_questions[2], "Could not open " + m_dir.File("missing.sav"));
    EXPECT_TRUE(Rules().IsInPlay()) << "the game goes on";
}

namespace
{
// Settings that name a set the game does not have.
class VyGameWndMissingSetTest : public VyGameWndTest
{
protected:
    void SetUp() override
    {
        m_pWorkingDir = std::make_unique<VyScopedWorkingDir>(m_dir.Path());
        m_dir.Put("Tolmar.cfg", "[General]\nSet=nosuchset\n");
        m_pPlatform = std::make_unique<VyTestPlatform>();
        VyStandardControls::Install();
        m_context.SetColorSlotResolver([](int id) { return VyColorScheme::Global().ColorOf(id); });
        m_context.Initialize(WIDTH, HEIGHT, 32, false);
        m_pMain = std::make_unique<VyTolmarMainWnd>(WIDTH, HEIGHT);
        m_pMain->OnMouseEntered();
    }
};
} // namespace

TEST_F(VyGameWndMissingSetTest, ASetThatCannotLoadAtTheStartIsShownTheSettingsGoAndTheProgramEnds)
{
    // The error box runs modally from the load's message: answered from the queue once it shows.
    VyString caption;
    int rounds = 0;
    VyLater answer([&] {
        auto* pBox = dynamic_cast<VyMsgBox*>(m_pMain->GetModal());
        if (pBox != nullptr)
        {
            caption = pBox->GetText();
            return pBox->Close(VY_IDOK);
        }
        // Not shown yet: the load fails on the loader's thread. Look again a moment later.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (++rounds < WAIT_ROUNDS)
            answer.Post();
    });
    answer.Post();
    m_pGame = m_pMain->CreateGameWindow();
    WaitFor([this] { return Platform().IsQuitRequested(); });
    EXPECT_EQ(caption, "Error");
    EXPECT_TRUE(Platform().HasFailed()) << "the program ends with status 1";
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path() / "Tolmar.cfg"));
}
