#include "VyGameWndTestSupport.h"

#include "ClassicRulesTest.h"
#include "VySavedGame.h"

#include "vycontrol/VyEdit.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyPopupMenu.h"
#include "vyio/VyConfigFile.h"
#include "vywindow/VyDialog.h"

TEST_F(VyGameWndTest, AGameAgainstASecondPlayerIsPlayedByClicksToThePlayAgainQuestion)
{
    m_script.Then([this] { Key(VY_KEY_RETURN); }); // the names dialog as it is filled in
    m_script.Start();
    m_pMain->OnCommand(205);
    EXPECT_EQ(Rules().GetOpponent(), VyOpponent::HUMAN);
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(Rules().GetStatus(), "Player 1's turn to chose a piece");

    ChoosePieceByClick(4);
    Settle();
    EXPECT_EQ(Rules().GetCurrentPiece(), 4);
    EXPECT_EQ(Rules().GetStatus(), "Player 2's turn to place the piece");
    // Movement Off: the chosen piece stands at the chosen position at once.
    EXPECT_EQ(m_pGame->GetPiece(4)->GetAnchor(), Rules().GetChosenPos());

    PlaceByClick(9);
    Settle();
    EXPECT_EQ(Rules().GetSquares()[9].piece, 4);
    EXPECT_EQ(m_pGame->GetPiece(4)->GetAnchor(), Rules().GetSquares()[9].center);
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_CHOOSES);

    PlayToTheEndByClicks();
    VyMsgBox* pQuestion = m_pGame->GetQuestionBox();
    ASSERT_NE(pQuestion, nullptr);
    EXPECT_EQ(pQuestion->GetRect().left, m_pGame->GetClientRect().right - 220);
    EXPECT_EQ(pQuestion->GetRect().top, m_pGame->GetClientRect().top - 20);
    EXPECT_EQ(pQuestion->GetControlText(VyMsgBox::VY_TEXT_ID), "Would you like to play again?\n\n");

    // Yes starts the next game with the same players; the board is cleared.
    pQuestion->Close(VY_IDYES);
    Dispatch();
    EXPECT_EQ(m_pGame->GetQuestionBox(), nullptr);
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_TRUE(Rules().GetHistory().empty());
    EXPECT_TRUE(m_pGame->GetPiece(4)->IsEnabled());
}

TEST_F(VyGameWndTest, EveryComputerLevelPlaysAGameToTheEnd)
{
    for (int command = 200; command <= 204; ++command)
    {
        if (Rules().IsInPlay())
            m_script.Then(Answer(VY_IDYES)).Start();
        m_pMain->OnCommand(command);
        EXPECT_EQ(Rules().GetLevel(), static_cast<VyLevel>(command - 199));
        EXPECT_EQ(Rules().GetPlayer2Name(), "The computer");
        PlayToTheEndByClicks();
        ASSERT_NE(m_pGame->GetQuestionBox(), nullptr) << "level " << command - 199;
        // No leaves the finished game on the board.
        m_pGame->GetQuestionBox()->Close(VY_IDNO);
        Dispatch();
        EXPECT_TRUE(Rules().IsGameOver());
    }
    EXPECT_EQ(VyConfigFile("Tolmar.cfg").GetString("General", "Last Game", ""), "Computer");
}

TEST_F(VyGameWndTest, AWholeGameIsPlayedWithTheKeyboardAlone)
{
    // F10 opens Game on "Human"; Down reaches "Computer", Right opens its levels on "Beginner", Down
    // reaches "Easy", Return takes it.
    for (int key : {VY_KEY_F10, VY_KEY_DOWN, VY_KEY_RIGHT, VY_KEY_DOWN, VY_KEY_RETURN})
        Key(key);
    ASSERT_EQ(Rules().GetOpponent(), VyOpponent::COMPUTER);
    EXPECT_EQ(Rules().GetLevel(), VyLevel::EASY);
    ASSERT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES);

    // Tab walks the pieces backwards from none (the last piece first); Shift+Tab forwards.
    Key(VY_KEY_TAB);
    EXPECT_EQ(m_pMain->GetFocus(), m_pGame->GetPiece(15));
    Key(VY_KEY_TAB, VY_INPUT_SHIFT);
    EXPECT_EQ(m_pMain->GetFocus(), m_pGame->GetPiece(0));
    Space();
    Settle();
    EXPECT_EQ(Rules().GetHistory(), (std::vector<int>{0})) << "the computer placed the piece chosen";

    // Placing: Tab highlights the next empty square, Shift+Tab the previous one.
    ASSERT_EQ(Rules().GetState(), VyGameState::PLAYER1_PLACES);
    const int piece = Rules().GetCurrentPiece();
    Key(VY_KEY_TAB);
    const int first = Rules().GetHighlightedSquare();
    Key(VY_KEY_TAB);
    Key(VY_KEY_TAB, VY_INPUT_SHIFT);
    EXPECT_EQ(Rules().GetHighlightedSquare(), first);
    Space();
    Settle();
    EXPECT_EQ(Rules().GetSquares()[static_cast<size_t>(first)].piece, piece);

    for (int halfMove = 0; halfMove < 40 && !Rules().IsGameOver(); ++halfMove)
    {
        Key(VY_KEY_TAB);
        Space();
        Settle();
    }
    EXPECT_TRUE(Rules().IsGameOver());
    EXPECT_NE(m_pGame->GetQuestionBox(), nullptr);
    // The question has the focus: Return answers Yes.
    Key(VY_KEY_RETURN);
    EXPECT_EQ(m_pGame->GetQuestionBox(), nullptr);
    EXPECT_TRUE(Rules().IsInPlay());
}

TEST_F(VyGameWndTest, UndoAgainstTheComputerComesBackToTheHumansTurnAndNeverStallsIt)
{
    // The computer chooses first: with only its choice made there is nothing to take back.
    m_pMain->OnCommand(210); // First Turn > Player 2
    m_pMain->OnCommand(200);
    Settle();
    ASSERT_EQ(Rules().GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_FALSE(UpdatedItem(*m_pMain, 8).IsEnabled());
    m_pMain->OnCommand(8);
    Settle();
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_FALSE(m_pGame->IsBusy());

    // State 1 after the computer placed the piece the human chose: undo goes back to the human's
    // placement of the computer's first choice (state 4).
    PlaceByClick(0);
    Settle();
    ASSERT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES);
    ChoosePieceByClick(FirstFreePiece());
    Settle();
    ASSERT_EQ(Rules().GetState(), VyGameState::PLAYER1_PLACES);
    const size_t placed = Rules().GetHistory().size();
    ASSERT_TRUE(UpdatedItem(*m_pMain, 8).IsEnabled());
    m_pMain->OnCommand(8);
    Settle();
    EXPECT_TRUE(Rules().GetState() == VyGameState::PLAYER1_PLACES || Rules().GetState() == VyGameState::PLAYER1_CHOOSES);
    EXPECT_LT(Rules().GetHistory().size(), placed);
    EXPECT_FALSE(m_pGame->IsBusy());
    EXPECT_TRUE(Rules().IsHumanChoosing() || Rules().IsHumanPlacing());
}

TEST_F(VyGameWndTest, PiecesAreHitOnlyWhereTheyArePaintedAndOccupiedSquaresNeverHighlight)
{
    m_script.Then([this] { Key(VY_KEY_RETURN); }).Start();
    m_pMain->OnCommand(205);
    // A point in piece 0's rectangle that its picture leaves transparent.
    const VyPiece& piece = *m_pGame->GetPiece(0);
    const VyRect rect = piece.GetRect();
    VyPoint clear{-1, -1};
    for (int x = rect.left; x < rect.right && clear.x < 0; ++x)
        if (!piece.ContainsPoint({x, rect.top - 1}))
            clear = {x, rect.top - 1};
    ASSERT_GE(clear.x, 0);
    Click(m_pGame->ClientToRoot(clear));
    EXPECT_EQ(Rules().GetCurrentPiece(), INVALID_PIECE);
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_CHOOSES);

    ChoosePieceByClick(0);
    Settle();
    PlaceByClick(5);
    Settle();
    ChoosePieceByClick(1);
    Settle();
    Move(CenterOf(5));
    EXPECT_EQ(Rules().GetHighlightedSquare(), NO_SQUARE);
    Move(CenterOf(6));
    EXPECT_EQ(Rules().GetHighlightedSquare(), 6);
}

TEST_F(VyGameWndTest, TheMenusFollowTheGame)
{
    EXPECT_EQ(Rules().GetState(), VyGameState::NO_OPPONENT);
    EXPECT_FALSE(UpdatedItem(*m_pMain, 214).IsEnabled()) << "Save without a game";
    EXPECT_TRUE(UpdatedItem(*m_pMain, 206).IsEnabled()) << "Join";
    EXPECT_TRUE(UpdatedItem(*m_pMain, 207).IsEnabled()) << "Start";
    EXPECT_FALSE(UpdatedItem(*m_pMain, 222).IsEnabled()) << "Chat without a connection";
    EXPECT_TRUE(UpdatedItem(*m_pMain, 218).IsChecked()) << "speed -1 is Off";

    m_pMain->OnCommand(220);
    EXPECT_TRUE(UpdatedItem(*m_pMain, 220).IsChecked());
    EXPECT_FALSE(UpdatedItem(*m_pMain, 219).IsChecked());
    m_pGame->SetMoveSpeed(1000.0f);
    for (int command : {218, 219, 220})
        EXPECT_FALSE(UpdatedItem(*m_pMain, command).IsChecked()) << command;
    EXPECT_EQ(VyConfigFile("Tolmar.cfg").GetInt("General", "Movement Speed", 0), 1000);

    m_pMain->OnCommand(211);
    EXPECT_TRUE(UpdatedItem(*m_pMain, 211).IsChecked());
    EXPECT_FALSE(UpdatedItem(*m_pMain, 209).IsChecked());
    EXPECT_EQ(VyConfigFile("Tolmar.cfg").GetString("General", "First Player", ""), "Random");

    m_pMain->OnCommand(201);
    EXPECT_TRUE(UpdatedItem(*m_pMain, 214).IsEnabled());
}

TEST_F(VyGameWndTest, ChangingTheOpponentOrExitingDuringAGameAsksFirst)
{
    m_pMain->OnCommand(203);
    Settle();
    ASSERT_TRUE(Rules().IsInPlay());
    const VyGameState state = Rules().GetState();

    m_script.Then(Answer(VY_IDNO)).Start();
    m_pMain->OnCommand(200);
    EXPECT_EQ(Rules().GetState(), state) << "No keeps the game";
    EXPECT_EQ(Rules().GetLevel(), VyLevel::BEGINNER) << "the level is taken all the same";

    m_script.Then(Answer(VY_IDNO));
    m_script.Start();
    m_pMain->OnCommand(208);
    EXPECT_FALSE(Platform().IsQuitRequested());
    m_script.Then(Answer(VY_IDNO));
    m_script.Start();
    m_pMain->OnCloseRequest();
    EXPECT_FALSE(Platform().IsQuitRequested());
    m_script.Then(Answer(VY_IDYES));
    m_script.Start();
    m_pMain->OnCommand(208);
    EXPECT_TRUE(Platform().IsQuitRequested());
    ASSERT_EQ(m_questions.size(), 4u);
    for (const VyString& question : m_questions)
        EXPECT_EQ(question, "Are you sure you want to quit your current game?");
}

TEST_F(VyGameWndTest, YesAfterAGameStartsTheNextOneInTheStateItShowsWithARandomFirstPlayer)
{
    m_pMain->OnCommand(211); // Random
    for (int game = 0; game < 4; ++game)
    {
        if (game == 0)
            m_pMain->OnCommand(200);
        PlayToTheEndByClicks();
        ASSERT_NE(m_pGame->GetQuestionBox(), nullptr);
        m_pGame->GetQuestionBox()->Close(VY_IDYES);
        Dispatch();
        // Whoever the draw made first: the status line, the pieces and the computer agree with it.
        if (Rules().GetState() == VyGameState::PLAYER1_CHOOSES)
        {
            EXPECT_EQ(Rules().GetStatus(), "Your turn to chose a piece");
            EXPECT_TRUE(m_pGame->GetPiece(FirstFreePiece())->IsEnabled());
        }
        else
        {
            // The computer was woken and chooses (it may have chosen already).
            EXPECT_TRUE(Rules().IsComputersTurn() || Rules().GetState() == VyGameState::PLAYER1_PLACES);
            Settle();
            EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER1_PLACES);
            EXPECT_EQ(Rules().GetStatus(), "Your turn to place the piece");
            EXPECT_FALSE(m_pGame->GetPiece(FirstFreePiece())->IsEnabled());
        }
    }
}

TEST_F(VyGameWndTest, ClosingTheWindowOverAnOpenDialogAsksFirst)
{
    m_pMain->OnCommand(204);
    Settle();
    // The About box is open when the window's close button is pressed; Yes ends its wait too.
    m_script.Then([this] { m_pMain->OnCloseRequest(); }).Then(Answer(VY_IDYES));
    m_script.Start();
    m_pMain->OnCommand(212);
    EXPECT_TRUE(Platform().IsQuitRequested());
    EXPECT_EQ(m_questions, (std::vector<VyString>{"Are you sure you want to quit your current game?"}));
}

TEST_F(VyGameWndTest, TheStatusLineNamesThePlayersAndTheWin)
{
    // The names as typed into the "New Game" box.
    m_script.Then([this] {
        auto* pDialog = dynamic_cast<VyDialog*>(m_pMain->GetModal());
        ASSERT_NE(pDialog, nullptr);
        pDialog->SetControlText(202, "James");
        pDialog->SetControlText(204, "Ann");
        Key(VY_KEY_RETURN);
    });
    m_script.Start();
    m_pMain->OnCommand(205);
    EXPECT_EQ(Rules().GetStatus(), "James' turn to chose a piece");
    ChoosePieceByClick(0);
    Settle();
    EXPECT_EQ(Rules().GetStatus(), "Ann's turn to place the piece");
    EXPECT_EQ(VyConfigFile("Tolmar.cfg").GetString("General", "Player1", ""), "James");

    // Against the computer, three dark pieces along the first row and the fourth to place.
    VySavedGame saved;
    saved.player1Name = "James";
    saved.player2Name = "The computer";
    saved.state = VyNumberOf(VyGameState::PLAYER1_PLACES);
    saved.opponent = VyNumberOf(VyOpponent::COMPUTER);
    saved.history = {0, 2, 5};
    saved.locations.assign(16, -1);
    saved.locations[0] = 0;
    saved.locations[2] = 1;
    saved.locations[5] = 2;
    saved.currentPiece = 7;
    saved.setName = "classic";
    const VyString bytes = SavedBytes(saved);
    m_pGame->LoadGamePath(m_dir.Put("dark.sav", std::string(bytes.data(), bytes.size())));
    Settle();
    EXPECT_EQ(Rules().GetStatus(), "Your turn to place the piece");
    PlaceByClick(3);
    Settle();
    EXPECT_EQ(Rules().GetStatus(), "You won by getting 4 Dark pieces in a row.");
    EXPECT_NE(m_pGame->GetQuestionBox(), nullptr);
}

TEST_F(VyGameWndTest, AutoplayPlaysTheLocalSeatThroughTheRulesUntilTheGameEnds)
{
    m_pGame->SetAutoPlay(VyLevel::ADVANCED);
    m_pMain->OnCommand(204); // against the computer at Advanced: nobody touches the game from here
    WaitFor([this] { return Rules().IsGameOver(); });
    EXPECT_NE(m_pGame->GetQuestionBox(), nullptr);
    EXPECT_GE(Rules().GetHistory().size(), 4u);
    // A second player at the same machine keeps their own seat: autoplay chooses for player 1 only.
    m_script.Then([this] { Key(VY_KEY_RETURN); }).Start();
    m_pMain->OnCommand(205);
    WaitFor([this] { return Rules().GetState() == VyGameState::PLAYER2_PLACES && !Rules().IsMoving(); });
    for (int round = 0; round < 50; ++round)
        Tick();
    EXPECT_EQ(Rules().GetState(), VyGameState::PLAYER2_PLACES) << "player 2's half-move waits for them";
}

TEST_F(VyGameWndTest, UnattendedGamesAgainstTheComputerAreStartedByYesUntilTheCountThenTheProgramQuits)
{
    m_pGame->SetAutoPlay(VyLevel::BEGINNER);
    m_pGame->SetUnattended(3, VyMoveChat::EACH_MOVE);
    m_pMain->OnCommand(200); // against the computer at Beginner
    const VyUnattendedRun& run = *m_pGame->GetUnattended();
    WaitFor([&] { return Platform().IsQuitRequested(); });
    EXPECT_EQ(run.GetFinishedGames(), 3);
    EXPECT_TRUE(run.IsOver());
    EXPECT_FALSE(Platform().HasFailed());
    EXPECT_GE(Rules().GetHistory().size(), 4u) << "the third game was played out";
    // The last question is left standing: no fourth game.
    for (int round = 0; round < 50; ++round)
        Tick();
    EXPECT_TRUE(Rules().IsGameOver());
    EXPECT_NE(m_pGame->GetQuestionBox(), nullptr);
    EXPECT_EQ(run.GetChatLines(), 0) << "no chat without a connection";
    EXPECT_EQ(VyConfigFile("Tolmar.cfg").GetString("General", "Last Game", ""), "Computer");
}

TEST_F(VyGameWndTest, AnUnattendedRunTakesTheBoxesThatWouldWaitForAnAnswer)
{
    // Without a count a run only chats: boxes are the player's.
    m_pGame->SetUnattended(std::nullopt, VyMoveChat::EACH_MOVE);
    m_script.Then(Answer(VY_IDOK)).Start();
    m_pGame->ShowMessageBox("Could not open y.sav", "Load Error");
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0], "Could not open y.sav");
    EXPECT_FALSE(Platform().IsQuitRequested());

    // With one, nobody would answer: the box ends the run and the program, as failed.
    m_pGame->SetUnattended(2, VyMoveChat::NONE);
    m_pGame->ShowMessageBox("Could not open x.sav", "Load Error");
    EXPECT_EQ(m_pMain->GetModal(), nullptr);
    EXPECT_TRUE(m_pGame->GetUnattended()->IsOver());
    EXPECT_TRUE(Platform().IsQuitRequested());
    EXPECT_TRUE(Platform().HasFailed());
}
