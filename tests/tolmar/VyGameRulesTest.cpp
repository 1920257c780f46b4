#include <gtest/gtest.h>

#include <set>

#include "ClassicRulesTest.h"

namespace
{
// Square s gets piece BOARD[s]; filled in square order the first fifteen make no line and the
// sixteenth (piece 7 on square 15) completes one.
const int LAST_PLACEMENT_WINS[16] = {4, 11, 10, 13, 12, 3, 6, 0, 1, 15, 14, 5, 2, 8, 9, 7};

class RulesTest : public ClassicRulesTest
{
protected:
    RulesTest() : ClassicRulesTest(17) {}

    // Puts a piece on a square as if it had been placed.
    void Put(int square, int piece)
    {
        m_rules.m_squares[static_cast<size_t>(square)].piece = piece;
        m_rules.m_pieces[static_cast<size_t>(piece)].location = square;
        m_rules.m_history.push_back(piece);
    }
    void Choose(int piece)
    {
        m_rules.ChoosePiece(piece);
        m_host.FinishMoves(m_rules);
    }
    void Place(int square)
    {
        m_rules.PlacePiece(square);
        m_host.FinishMoves(m_rules);
    }
    // Two humans fill the board in square order with the given pieces.
    void PlayBoard(const int (&board)[16])
    {
        m_rules.m_opponent = OPPONENT_HUMAN;
        m_rules.StartGame();
        for (int square = 0; square < 16; ++square)
        {
            ASSERT_TRUE(m_rules.IsChoosing()) << "square " << square;
            Choose(board[square]);
            ASSERT_TRUE(m_rules.IsPlacing());
            Place(square);
        }
    }
    // Starts a game against the computer in which the human chooses first.
    void StartAgainstComputer()
    {
        m_rules.m_opponent = OPPONENT_COMPUTER;
        m_rules.m_player2Name = "The computer";
        m_rules.StartGame();
    }
    int LastGeneration() const { return m_host.wakes.back().generation; }
};
} // namespace

TEST_F(RulesTest, APlacementCompletingTwoLinesReportsTheFirstInKeyOrder)
{
    // Dark pieces on Combination10 (squares 4, 7, 10, 13) and Combination2 (5, 6, 7, 8) but square 7;
    // the Combination10 pieces share nothing but their colour.
    StartAgainstComputer();
    Put(3, 0);
    Put(9, 10);
    Put(12, 13);
    Put(4, 2);
    Put(5, 5);
    Put(7, 8);
    m_rules.m_state = PLAYER2_CHOOSES;
    Choose(7);
    EXPECT_EQ(m_rules.m_state, PLAYER1_PLACES);
    Place(6);

    EXPECT_EQ(m_rules.m_state, GAME_WON);
    EXPECT_EQ(m_rules.m_winningCombination, 1);
    EXPECT_EQ(m_rules.m_winningValue, "Dark");
    EXPECT_EQ(m_rules.m_winner, "You");
    EXPECT_EQ(m_rules.m_status, "You won by getting 4 Dark pieces in a row.");
    EXPECT_EQ(m_host.questions, 1);
    for (int piece : {0, 7, 10, 13})
        EXPECT_EQ(m_rules.m_pieces[static_cast<size_t>(piece)].imageIndex, 0) << piece;
    for (int piece : {2, 5, 8, 1, 15})
        EXPECT_EQ(m_host.images[piece], 1) << piece;
}

TEST_F(RulesTest, TheFirstSharedPropertyInKeyOrderIsReported)
{
    std::vector<VySquare> board = m_rules.m_squares;
    int combination = -1;
    VyString value;
    // Round and Dimpled, colours and heights mixed.
    for (auto [square, piece] : std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 4}, {3, 5}})
        board[static_cast<size_t>(square)].piece = piece;
    ASSERT_TRUE(m_rules.CheckWin(board, combination, value));
    EXPECT_EQ(combination, 0);
    EXPECT_EQ(value, "Round");
    // Tall and Dimpled: Height comes before Top.
    board[2].piece = 8;
    board[3].piece = 9;
    ASSERT_TRUE(m_rules.CheckWin(board, combination, value));
    EXPECT_EQ(value, "Tall");
    EXPECT_EQ(m_rules.m_squares[0].piece, -1) << "the live board is untouched";
}

TEST_F(RulesTest, TheSixteenthPlacementThatCompletesALineIsAWin)
{
    PlayBoard(LAST_PLACEMENT_WINS);
    EXPECT_EQ(m_rules.m_state, GAME_WON);
    EXPECT_EQ(m_rules.m_winner, "Chris") << "player 1 placed the last piece";
    EXPECT_EQ(m_rules.m_history.size(), 16u);
}

TEST_F(RulesTest, AFullBoardWithoutALineIsATie)
{
    PlayBoard(TIED_BOARD);
    EXPECT_EQ(m_rules.m_state, GAME_TIED);
    EXPECT_EQ(m_rules.m_status, "Game ended in a tie");
    EXPECT_EQ(m_host.questions, 1);
    EXPECT_FALSE(m_rules.CanUndo());
}

TEST_F(RulesTest, AnEmptyCombinationListNeverWins)
{
    m_rules.m_winningCombinations.clear();
    PlayBoard(LAST_PLACEMENT_WINS);
    EXPECT_EQ(m_rules.m_state, GAME_TIED);
}

TEST_F(RulesTest, BrokenSetDataIsReportedAndDoesNotWin)
{
    std::vector<VySquare> board = m_rules.m_squares;
    for (int square = 0; square < 4; ++square)
        board[static_cast<size_t>(square)].piece = square; // pieces 0..3 share Tall and Round
    int combination = -1;
    VyString value;
    {
        VyTraceCapture trace;
        m_rules.m_winningCombinations = {{0, 1, 2, 20}, {}};
        EXPECT_FALSE(m_rules.CheckWin(board, combination, value));
        EXPECT_TRUE(trace.Has("Assertion Failed:square>=0 && square<squares.size()\n"));
    }
    {
        VyTraceCapture trace;
        board[1].piece = 99;
        m_rules.m_winningCombinations = {{0, 1, 2, 3}};
        EXPECT_FALSE(m_rules.CheckWin(board, combination, value));
        EXPECT_TRUE(trace.Has("Assertion Failed:piece>=0 && piece<m_pieces.size()\n"));
    }
    {
        VyTraceCapture trace;
        m_rules.m_winningCombinations = {{}, {-1, 0}};
        EXPECT_FALSE(m_rules.CheckWin(board, combination, value));
    }
}

TEST_F(RulesTest, FirstPlayerDecidesTheStartingState)
{
    m_rules.m_firstPlayer = FIRST_PLAYER2;
    m_rules.NewGame();
    EXPECT_EQ(m_rules.m_state, PLAYER2_CHOOSES);
    EXPECT_EQ(m_rules.m_initialState, PLAYER2_CHOOSES);

    m_rules.m_firstPlayer = FIRST_RANDOM;
    std::set<int> states;
    for (int game = 0; game < 40; ++game)
    {
        m_rules.NewGame();
        EXPECT_EQ(m_rules.m_initialState, m_rules.m_state);
        states.insert(m_rules.m_state);
    }
    EXPECT_EQ(states, (std::set<int>{PLAYER1_CHOOSES, PLAYER2_CHOOSES}));

    VyTraceCapture trace;
    m_rules.m_firstPlayer = 9;
    m_rules.NewGame();
    EXPECT_TRUE(trace.Has("Assertion Failed:false\n"));
    EXPECT_EQ(m_rules.m_state, PLAYER1_CHOOSES);
}

TEST_F(RulesTest, NewGameStoresTheNamesAndClearsTheBoard)
{
    PlayBoard(TIED_BOARD);
    EXPECT_EQ(m_host.storedNames, (std::map<int, VyString>{{1, "Chris"}, {2, "James"}}));
    m_host.storedNames.clear();
    m_rules.m_opponent = OPPONENT_COMPUTER;
    m_rules.NewGame();
    EXPECT_EQ(m_host.storedNames, (std::map<int, VyString>{{1, "Chris"}})) << "the computer's name is not stored";
    EXPECT_TRUE(m_rules.m_history.empty());
    EXPECT_EQ(m_rules.m_currentPiece, INVALID_PIECE);
    for (const VyPieceInfo& piece : m_rules.m_pieces)
        EXPECT_EQ(piece.location, -1);
    for (const VySquare& square : m_rules.m_squares)
        EXPECT_EQ(square.piece, -1);
}

TEST_F(RulesTest, HalfMovesThatDoNotFitAreIgnored)
{
    m_rules.StartGame();
    m_rules.PlacePiece(0);
    m_rules.ChoosePiece(16);
    m_rules.ChoosePiece(-1);
    EXPECT_TRUE(m_host.moves.empty());

    m_rules.ChoosePiece(2);
    m_rules.ChoosePiece(3); // while the first choice still moves
    EXPECT_EQ(m_rules.m_currentPiece, 2);
    EXPECT_FALSE(m_rules.CanUndo()) << "no undo while a piece moves";
    m_host.FinishMoves(m_rules);
    Place(0);
    EXPECT_EQ(m_rules.m_state, PLAYER2_CHOOSES);
    m_rules.ChoosePiece(2); // already on the board
    EXPECT_EQ(m_rules.m_currentPiece, INVALID_PIECE);
    Choose(5);
    m_rules.PlacePiece(0); // occupied
    m_rules.PlacePiece(16);
    EXPECT_EQ(m_rules.m_state, PLAYER1_PLACES);
    EXPECT_EQ(m_rules.m_currentPiece, 5);
    EXPECT_EQ(m_rules.m_squares[0].piece, 2);
}

TEST_F(RulesTest, ANewGameDuringAMovementDoesNotAdvanceTheNewGame)
{
    m_rules.StartGame();
    m_rules.ChoosePiece(4);
    m_rules.StartGame(); // the old choice's movement is still running
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.m_state, PLAYER1_CHOOSES);
    EXPECT_FALSE(m_rules.m_moving);
    EXPECT_FALSE(m_host.bBusy);
    EXPECT_TRUE(m_host.enabled[4]);
}

TEST_F(RulesTest, UndoAgainstTheComputerFromState4GoesBackToTheHumansChoice)
{
    StartAgainstComputer();
    EXPECT_EQ(m_rules.m_status, "Your turn to chose a piece");
    Choose(0);
    EXPECT_FALSE(m_host.moves.back().animate) << "the human's choice waits where it is";
    ASSERT_EQ(m_host.wakes.size(), 1u);
    EXPECT_EQ(m_host.wakes[0].state, PLAYER2_PLACES);
    m_rules.ApplyComputerSquare(5, LastGeneration());
    m_host.FinishMoves(m_rules);
    ASSERT_EQ(m_host.wakes.size(), 2u);
    m_rules.ApplyComputerPiece(3, LastGeneration());
    m_host.FinishMoves(m_rules);
    ASSERT_EQ(m_rules.m_state, PLAYER1_PLACES);
    EXPECT_EQ(m_rules.m_status, "Your turn to place the piece");

    const size_t movesBefore = m_host.moves.size();
    m_rules.Undo();
    EXPECT_EQ(m_rules.m_state, PLAYER2_CHOOSES);
    EXPECT_FALSE(m_rules.CanUndo());
    m_host.FinishMoves(m_rules); // the chain runs on as each step's movement ends

    EXPECT_EQ(m_rules.m_state, PLAYER1_CHOOSES);
    ASSERT_EQ(m_host.moves.size(), movesBefore + 3);
    const GameTestHost::Move& back3 = m_host.moves[movesBefore];
    const GameTestHost::Move& back0 = m_host.moves[movesBefore + 1];
    const GameTestHost::Move& home0 = m_host.moves[movesBefore + 2];
    EXPECT_EQ(back3.piece, 3);
    EXPECT_EQ(back3.target, m_rules.m_pieces[3].StartAnchor());
    EXPECT_EQ(back0.piece, 0);
    EXPECT_EQ(back0.target, m_rules.m_chosenPos);
    EXPECT_LT(back0.speed, 0.0f) << "the computer's placement jumps back";
    EXPECT_EQ(home0.target, m_rules.m_pieces[0].StartAnchor());
    EXPECT_GT(home0.speed, 0.0f);

    EXPECT_TRUE(m_rules.m_history.empty());
    EXPECT_EQ(m_rules.m_squares[5].piece, -1);
    EXPECT_EQ(m_rules.m_currentPiece, INVALID_PIECE);
    EXPECT_EQ(m_rules.m_afterMove, AFTER_MOVE_NOTHING);
    EXPECT_EQ(m_rules.m_status, "Your turn to chose a piece");
    EXPECT_TRUE(m_host.enabled[0] && m_host.enabled[3]);
    EXPECT_EQ(m_host.wakes.size(), 2u) << "the computer is not woken during the chain";
}

TEST_F(RulesTest, UndoAgainstTheComputerFromState1TakesBackTheHumansPlacement)
{
    StartAgainstComputer();
    Choose(0);
    m_rules.ApplyComputerSquare(5, LastGeneration());
    m_host.FinishMoves(m_rules);
    m_rules.ApplyComputerPiece(3, LastGeneration());
    m_host.FinishMoves(m_rules);
    Place(9);
    ASSERT_EQ(m_rules.m_state, PLAYER1_CHOOSES);

    m_rules.Undo();
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.m_state, PLAYER1_PLACES);
    EXPECT_EQ(m_rules.m_currentPiece, 3);
    EXPECT_EQ(m_rules.m_pieces[3].location, -1);
    EXPECT_EQ(m_rules.m_squares[9].piece, -1);
    EXPECT_EQ(m_rules.m_history, (std::vector<int>{0}));
    EXPECT_EQ(m_host.moves.back().target, m_rules.m_chosenPos);
    EXPECT_GT(m_host.moves.back().speed, 0.0f) << "the human's own placement moves back animated";
    EXPECT_EQ(m_rules.m_status, "Your turn to place the piece");
    Place(10);
    EXPECT_EQ(m_rules.m_squares[10].piece, 3);
}

TEST_F(RulesTest, StaleComputerAnswersAreDropped)
{
    StartAgainstComputer();
    Choose(6);
    const int generation = LastGeneration();
    m_rules.Undo(); // takes back the human's choice while the computer thinks
    m_host.FinishMoves(m_rules);
    ASSERT_EQ(m_rules.m_state, PLAYER1_CHOOSES);
    Choose(6);
    ASSERT_EQ(m_rules.m_state, PLAYER2_PLACES);
    VyTraceCapture trace;
    m_rules.ApplyComputerSquare(2, generation);
    EXPECT_TRUE(m_host.running.empty());
    EXPECT_EQ(m_rules.m_squares[2].piece, -1);
    m_rules.ApplyComputerPiece(2, LastGeneration()); // right generation, wrong state
    EXPECT_EQ(m_rules.m_currentPiece, 6);
    m_rules.ApplyComputerSquare(2, LastGeneration());
    EXPECT_EQ(m_rules.m_squares[2].piece, 6);
}

TEST_F(RulesTest, NetworkGamesSendOnlyTheLocalHalfMoves)
{
    m_rules.m_opponent = OPPONENT_NETWORK_SERVER;
    m_host.bConnected = true;
    m_rules.StartGame();
    Choose(4);  // local
    Place(5);   // the peer's placement, applied as it arrives
    Choose(6);  // the peer's choice
    Place(7);   // local
    EXPECT_EQ(m_host.sent, (std::vector<std::pair<int, int>>{{4, -1}, {6, 7}}));
    EXPECT_FALSE(m_rules.CanUndo());
    m_host.bConnected = false;
    EXPECT_TRUE(m_rules.CanUndo());
}

TEST_F(RulesTest, StatusTexts)
{
    EXPECT_EQ(VyGameRules::Possessive("JONAS"), "JONAS'");
    EXPECT_EQ(VyGameRules::Possessive("Ann"), "Ann's");
    EXPECT_EQ(m_rules.m_status, "Please select an opponent from the Game menu.");
    auto statusIn = [&](int opponent, int state) {
        m_rules.m_opponent = opponent;
        m_rules.m_state = state;
        m_rules.UpdateStatus();
        return m_rules.m_status;
    };
    EXPECT_EQ(statusIn(OPPONENT_HUMAN, 1), "Chris' turn to chose a piece");
    EXPECT_EQ(statusIn(OPPONENT_HUMAN, 2), "James' turn to place the piece");
    EXPECT_EQ(statusIn(OPPONENT_COMPUTER, 3), "The computer is chosing a piece");
    EXPECT_EQ(statusIn(OPPONENT_NETWORK_CLIENT, 4), "Your turn to place the piece");
    EXPECT_EQ(statusIn(OPPONENT_NETWORK_CLIENT, 8), "Waiting for James to accept a new game.");
    m_rules.m_player1Name = "";
    EXPECT_EQ(statusIn(OPPONENT_HUMAN, 1), " turn to chose a piece");

    // A won state without a valid line (a loaded game) is reported and still gets a text.
    VyTraceCapture trace;
    m_rules.m_winningCombination = -1;
    m_rules.m_winner = "Ann";
    EXPECT_EQ(statusIn(OPPONENT_HUMAN, GAME_WON), "Ann won.");
    EXPECT_TRUE(trace.Has("Assertion Failed:m_winningCombination>=0 && m_winningCombination<m_winningCombinations.size()"));
}
