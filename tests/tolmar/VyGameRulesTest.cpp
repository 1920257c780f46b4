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
        m_rules.SelectOpponent(VyOpponent::HUMAN);
        m_rules.StartGame();
        for (int square = 0; square < 16; ++square)
        {
            ASSERT_TRUE(m_rules.IsChoosing()) << "square " << square;
            Choose(board[square]);
            ASSERT_TRUE(m_rules.IsPlacing());
            Place(square);
        }
    }
    // Starts a game against the computer in which the given side chooses first.
    void StartAgainstComputer(VyFirstPlayer first = VyFirstPlayer::PLAYER1)
    {
        m_rules.SelectOpponent(VyOpponent::COMPUTER);
        m_rules.SetFirstPlayer(first);
        m_rules.StartGame();
    }
    // The classic set with other winning combinations.
    void UseCombinations(const std::vector<std::vector<int>>& combinations)
    {
        VyPieceSet set = ClassicSet();
        set.combinations = combinations;
        m_rules.SetPieceSet(set);
    }
    // The computer answers the position it was last woken for, then its movement ends.
    void ComputerChooses(int piece)
    {
        m_rules.ApplyComputerPiece(piece, LastGeneration());
        m_host.FinishMoves(m_rules);
    }
    void ComputerPlaces(int square)
    {
        m_rules.ApplyComputerSquare(square, LastGeneration());
        m_host.FinishMoves(m_rules);
    }
    int LastGeneration() const { return m_host.wakes.back().generation; }
};
} // namespace

TEST_F(RulesTest, APlacementCompletingTwoLinesReportsTheFirstInKeyOrder)
{
    // Dark pieces on Combination10 (squares 4, 7, 10, 13) and Combination2 (5, 6, 7, 8) but square 7;
    // the Combination10 pieces share nothing but their colour. The computer chose first and is to
    // choose again.
    VySavedGame saved =
        ClassicGame(VyGameState::PLAYER2_CHOOSES, {{3, 0}, {9, 10}, {12, 13}, {4, 2}, {5, 5}, {7, 8}},
                    VyOpponent::COMPUTER);
    saved.initialState = VyNumberOf(VyGameState::PLAYER2_CHOOSES);
    ASSERT_TRUE(Load(saved));
    ComputerChooses(7);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    Place(6);

    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_WON);
    EXPECT_EQ(m_rules.GetWinningCombination(), 1);
    EXPECT_EQ(m_rules.GetWinningValue(), "Dark");
    EXPECT_EQ(m_rules.GetWinner(), "You");
    EXPECT_EQ(m_rules.GetStatus(), "You won by getting 4 Dark pieces in a row.");
    EXPECT_EQ(m_host.questions, 1);
    for (int piece : {0, 7, 10, 13})
        EXPECT_EQ(m_rules.GetPieces()[static_cast<size_t>(piece)].image, VyPieceImage::NORMAL) << piece;
    for (int piece : {2, 5, 8, 1, 15})
        EXPECT_EQ(m_host.images[piece], VyPieceImage::GREYED) << piece;
}

TEST_F(RulesTest, TheFirstSharedPropertyInKeyOrderIsReported)
{
    std::vector<VySquare> board = m_rules.GetSquares();
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
    EXPECT_EQ(m_rules.GetSquares()[0].piece, -1) << "the live board is untouched";
}

TEST_F(RulesTest, TheSixteenthPlacementThatCompletesALineIsAWin)
{
    PlayBoard(LAST_PLACEMENT_WINS);
    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_WON);
    EXPECT_EQ(m_rules.GetWinner(), "Chris") << "player 1 placed the last piece";
    EXPECT_EQ(m_rules.GetHistory().size(), 16u);
}

TEST_F(RulesTest, AFullBoardWithoutALineIsATie)
{
    PlayBoard(TIED_BOARD);
    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_TIED);
    EXPECT_EQ(m_rules.GetStatus(), "Game ended in a tie");
    EXPECT_EQ(m_host.questions, 1);
    EXPECT_FALSE(m_rules.CanUndo());
}

TEST_F(RulesTest, AnEmptyCombinationListNeverWins)
{
    UseCombinations({});
    PlayBoard(LAST_PLACEMENT_WINS);
    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_TIED);
}

TEST_F(RulesTest, BrokenSetDataIsReportedAndDoesNotWin)
{
    std::vector<VySquare> board = m_rules.GetSquares();
    for (int square = 0; square < 4; ++square)
        board[static_cast<size_t>(square)].piece = square; // pieces 0..3 share Tall and Round
    int combination = -1;
    VyString value;
    {
        VyTraceCapture trace;
        UseCombinations({{0, 1, 2, 20}, {}});
        EXPECT_FALSE(m_rules.CheckWin(board, combination, value));
        EXPECT_TRUE(trace.Has("Assertion Failed:square>=0 && square<squares.size()\n"));
    }
    {
        VyTraceCapture trace;
        board[1].piece = 99;
        UseCombinations({{0, 1, 2, 3}});
        EXPECT_FALSE(m_rules.CheckWin(board, combination, value));
        EXPECT_TRUE(trace.Has("Assertion Failed:piece>=0 && piece<m_pieces.size()\n"));
    }
    {
        VyTraceCapture trace;
        UseCombinations({{}, {-1, 0}});
        EXPECT_FALSE(m_rules.CheckWin(board, combination, value));
    }
}

TEST_F(RulesTest, FirstPlayerDecidesTheStartingState)
{
    m_rules.SetFirstPlayer(VyFirstPlayer::PLAYER2);
    m_rules.NewGame();
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER2_CHOOSES);
    EXPECT_EQ(m_rules.GetInitialState(), VyGameState::PLAYER2_CHOOSES);

    m_rules.SetFirstPlayer(VyFirstPlayer::RANDOM);
    std::set<VyGameState> states;
    for (int game = 0; game < 40; ++game)
    {
        m_rules.NewGame();
        EXPECT_EQ(m_rules.GetInitialState(), m_rules.GetState());
        states.insert(m_rules.GetState());
    }
    EXPECT_EQ(states, (std::set<VyGameState>{VyGameState::PLAYER1_CHOOSES, VyGameState::PLAYER2_CHOOSES}));

    // A value outside the enumeration (as a settings reader might produce) is reported.
    VyTraceCapture trace;
    m_rules.SetFirstPlayer(static_cast<VyFirstPlayer>(9));
    m_rules.NewGame();
    EXPECT_TRUE(trace.Has("Assertion Failed:false\n"));
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
}

TEST_F(RulesTest, NewGameStoresTheNamesAndClearsTheBoard)
{
    PlayBoard(TIED_BOARD);
    EXPECT_EQ(m_host.storedNames,
              (std::map<VyPlayer, VyString>{{VyPlayer::PLAYER1, "Chris"}, {VyPlayer::PLAYER2, "James"}}));
    m_host.storedNames.clear();
    m_rules.SelectOpponent(VyOpponent::COMPUTER);
    m_rules.NewGame();
    EXPECT_EQ(m_host.storedNames, (std::map<VyPlayer, VyString>{{VyPlayer::PLAYER1, "Chris"}}))
        << "the computer's name is not stored";
    EXPECT_EQ(m_rules.GetPlayer2Name(), "The computer");
    EXPECT_TRUE(m_rules.GetHistory().empty());
    EXPECT_EQ(m_rules.GetCurrentPiece(), INVALID_PIECE);
    for (const VyPieceInfo& piece : m_rules.GetPieces())
        EXPECT_EQ(piece.location, -1);
    for (const VySquare& square : m_rules.GetSquares())
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
    EXPECT_EQ(m_rules.GetCurrentPiece(), 2);
    EXPECT_FALSE(m_rules.CanUndo()) << "no undo while a piece moves";
    m_host.FinishMoves(m_rules);
    Place(0);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER2_CHOOSES);
    m_rules.ChoosePiece(2); // already on the board
    EXPECT_EQ(m_rules.GetCurrentPiece(), INVALID_PIECE);
    Choose(5);
    m_rules.PlacePiece(0); // occupied
    m_rules.PlacePiece(16);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 5);
    EXPECT_EQ(m_rules.GetSquares()[0].piece, 2);
}

TEST_F(RulesTest, OnlyTheSideWhoseTurnItIsMoves)
{
    StartAgainstComputer(VyFirstPlayer::PLAYER2);
    ASSERT_EQ(m_host.wakes.size(), 1u);
    // The computer's turn: a click, or a network peer's move, changes nothing.
    m_rules.ChoosePiece(4);
    m_rules.ApplyPeerMove(4, NO_SQUARE);
    EXPECT_TRUE(m_host.moves.empty());
    ComputerChooses(4);
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    // The human's turn: the computer's squares are refused, even with the position's generation.
    m_rules.ApplyComputerSquare(3, m_rules.GetPositionGeneration());
    EXPECT_EQ(m_rules.GetSquares()[3].piece, -1);
    Place(3);
    EXPECT_EQ(m_rules.GetSquares()[3].piece, 4);
}

TEST_F(RulesTest, ANewGameDuringAMovementDoesNotAdvanceTheNewGame)
{
    m_rules.StartGame();
    m_rules.ChoosePiece(4);
    m_rules.StartGame(); // the old choice's movement is still running
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_FALSE(m_rules.IsMoving());
    EXPECT_FALSE(m_host.bBusy);
    EXPECT_TRUE(m_host.enabled[4]);
}

TEST_F(RulesTest, SelectingAnOpponentEndsTheGameInPlay)
{
    StartAgainstComputer();
    Choose(2);
    const int generation = LastGeneration();
    m_rules.PlacePiece(0); // not the human's turn: ignored
    m_rules.SelectOpponent(VyOpponent::HUMAN);
    EXPECT_EQ(m_rules.GetState(), VyGameState::NO_OPPONENT);
    EXPECT_EQ(m_rules.GetOpponent(), VyOpponent::HUMAN);
    EXPECT_EQ(m_rules.GetStatus(), "Please select an opponent from the Game menu.");
    EXPECT_FALSE(m_rules.CanSave());
    EXPECT_FALSE(m_rules.CanUndo());
    EXPECT_FALSE(m_host.enabled[5]) << "nothing can be chosen without a game";
    // The computer's late answer finds no game to act in.
    m_rules.ApplyComputerSquare(0, generation);
    EXPECT_EQ(m_rules.GetSquares()[0].piece, -1);

    // A choice in flight ends nothing once the opponent changed.
    m_rules.StartGame();
    m_rules.ChoosePiece(6);
    m_rules.SelectOpponent(VyOpponent::COMPUTER);
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::NO_OPPONENT);
    EXPECT_EQ(m_rules.GetPlayer2Name(), "The computer");
    EXPECT_FALSE(m_host.bBusy);
}

TEST_F(RulesTest, UndoAgainstTheComputerFromState4GoesBackToTheHumansChoice)
{
    StartAgainstComputer();
    EXPECT_EQ(m_rules.GetStatus(), "Your turn to chose a piece");
    Choose(0);
    EXPECT_EQ(m_host.moves.back().style, VyMoveStyle::STAY_IN_PLACE) << "the human's choice waits where it is";
    ASSERT_EQ(m_host.wakes.size(), 1u);
    EXPECT_EQ(m_host.wakes[0].state, VyGameState::PLAYER2_PLACES);
    ComputerPlaces(5);
    ASSERT_EQ(m_host.wakes.size(), 2u);
    ComputerChooses(3);
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetStatus(), "Your turn to place the piece");

    const size_t movesBefore = m_host.moves.size();
    m_rules.Undo();
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER2_CHOOSES);
    EXPECT_FALSE(m_rules.CanUndo());
    m_host.FinishMoves(m_rules); // the chain runs on as each step's movement ends

    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    ASSERT_EQ(m_host.moves.size(), movesBefore + 3);
    const GameTestHost::Move& back3 = m_host.moves[movesBefore];
    const GameTestHost::Move& back0 = m_host.moves[movesBefore + 1];
    const GameTestHost::Move& home0 = m_host.moves[movesBefore + 2];
    EXPECT_EQ(back3.piece, 3);
    EXPECT_EQ(back3.target, m_rules.GetPieces()[3].StartAnchor());
    EXPECT_EQ(back0.piece, 0);
    EXPECT_EQ(back0.target, m_rules.GetChosenPos());
    EXPECT_LT(back0.speed, 0.0f) << "the computer's placement jumps back";
    EXPECT_EQ(home0.target, m_rules.GetPieces()[0].StartAnchor());
    EXPECT_GT(home0.speed, 0.0f);

    EXPECT_TRUE(m_rules.GetHistory().empty());
    EXPECT_EQ(m_rules.GetSquares()[5].piece, -1);
    EXPECT_EQ(m_rules.GetCurrentPiece(), INVALID_PIECE);
    EXPECT_EQ(m_rules.GetAfterMove(), VyAfterMove::NOTHING);
    EXPECT_EQ(m_rules.GetStatus(), "Your turn to chose a piece");
    EXPECT_TRUE(m_host.enabled[0] && m_host.enabled[3]);
    EXPECT_EQ(m_host.wakes.size(), 2u) << "the computer is not woken during the chain";
}

TEST_F(RulesTest, UndoAgainstTheComputerFromState1TakesBackTheHumansPlacement)
{
    StartAgainstComputer();
    Choose(0);
    ComputerPlaces(5);
    ComputerChooses(3);
    Place(9);
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);

    m_rules.Undo();
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 3);
    EXPECT_EQ(m_rules.GetPieces()[3].location, -1);
    EXPECT_EQ(m_rules.GetSquares()[9].piece, -1);
    EXPECT_EQ(m_rules.GetHistory(), (std::vector<int>{0}));
    EXPECT_EQ(m_host.moves.back().target, m_rules.GetChosenPos());
    EXPECT_GT(m_host.moves.back().speed, 0.0f) << "the human's own placement moves back animated";
    EXPECT_EQ(m_rules.GetStatus(), "Your turn to place the piece");
    Place(10);
    EXPECT_EQ(m_rules.GetSquares()[10].piece, 3);
}

TEST_F(RulesTest, UndoIsNotOfferedWhenOnlyTheComputersOpeningChoiceIsLeft)
{
    StartAgainstComputer(VyFirstPlayer::PLAYER2);
    ComputerChooses(6);
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_FALSE(m_rules.CanUndo()) << "the walk back would end on the computer's turn";
    m_rules.Undo();
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 6);
    EXPECT_FALSE(m_host.bBusy);

    // Two moves later the walk back ends at the human's choice, and again at the opening choice.
    Place(0);
    Choose(1);
    ComputerPlaces(15);
    ComputerChooses(2);
    ASSERT_TRUE(m_rules.CanUndo());
    m_rules.Undo();
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.GetHistory(), (std::vector<int>{6}));
    ASSERT_TRUE(m_rules.CanUndo());
    m_rules.Undo();
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 6);
    EXPECT_FALSE(m_rules.CanUndo());

    // Two humans walk back one half-move at a time: taking back the opening choice is fine there.
    m_rules.SelectOpponent(VyOpponent::HUMAN);
    m_rules.SetFirstPlayer(VyFirstPlayer::PLAYER2);
    m_rules.StartGame();
    Choose(6);
    ASSERT_TRUE(m_rules.CanUndo());
    m_rules.Undo();
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER2_CHOOSES);
    EXPECT_TRUE(m_host.enabled[6]) << "James chooses again";
}

TEST_F(RulesTest, StaleComputerAnswersAreDropped)
{
    StartAgainstComputer();
    Choose(6);
    const int generation = LastGeneration();
    m_rules.Undo(); // takes back the human's choice while the computer thinks
    m_host.FinishMoves(m_rules);
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    Choose(6);
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER2_PLACES);
    VyTraceCapture trace;
    m_rules.ApplyComputerSquare(2, generation);
    EXPECT_TRUE(m_host.running.empty());
    EXPECT_EQ(m_rules.GetSquares()[2].piece, -1);
    m_rules.ApplyComputerPiece(2, LastGeneration()); // right generation, wrong state
    EXPECT_EQ(m_rules.GetCurrentPiece(), 6);
    m_rules.ApplyComputerSquare(2, LastGeneration());
    EXPECT_EQ(m_rules.GetSquares()[2].piece, 6);
}

TEST_F(RulesTest, NetworkGamesSendOnlyTheLocalHalfMoves)
{
    m_rules.SelectOpponent(VyOpponent::NETWORK_SERVER);
    m_host.bConnected = true;
    m_rules.NewGame();
    m_rules.AdoptPeerState(VyGameState::PLAYER2_CHOOSES); // the server's player 2 (this side) begins
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    Choose(4); // local
    m_rules.ApplyPeerMove(4, 5); // the peer's placement, applied as it arrives
    m_host.FinishMoves(m_rules);
    m_rules.ApplyPeerMove(6, NO_SQUARE); // the peer's choice
    m_host.FinishMoves(m_rules);
    Place(7); // local
    EXPECT_EQ(m_host.sent, (std::vector<std::pair<int, int>>{{4, -1}, {6, 7}}));
    EXPECT_EQ(m_rules.GetSquares()[5].piece, 4);
    EXPECT_FALSE(m_rules.CanUndo());
    m_host.bConnected = false;
    EXPECT_TRUE(m_rules.CanUndo());
}

TEST_F(RulesTest, ThePeersMovesFitTheTurnCycle)
{
    m_rules.SelectOpponent(VyOpponent::NETWORK_CLIENT);
    m_host.bConnected = true;
    m_rules.NewGame();
    m_rules.ShowWaitingForPeer();
    EXPECT_EQ(m_rules.GetStatus(), "Waiting for James...");
    EXPECT_FALSE(m_host.enabled[0]) << "nothing is chosen before the start is agreed";
    m_rules.ChoosePiece(3); // neither by a click, a key nor the autoplayer
    EXPECT_TRUE(m_host.moves.empty());
    EXPECT_TRUE(m_rules.IsAwaitingPeerStart());
    m_rules.AdoptPeerState(VyGameState::PLAYER2_CHOOSES); // the serving side keeps its own start
    ASSERT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.GetStatus(), "Your turn to chose a piece");

    m_rules.ApplyPeerMove(3, NO_SQUARE); // the local player's turn: refused
    EXPECT_TRUE(m_host.moves.empty());
    m_rules.ChoosePiece(3);
    // The peer places before the choice's movement has ended: the choice ends at once (the piece
    // jumps to the waiting place), then the placement is applied.
    const int jumps = m_host.jumps;
    m_rules.ApplyPeerMove(3, 8);
    EXPECT_EQ(m_host.jumps, jumps + 1);
    EXPECT_EQ(m_host.positions[3], m_rules.GetChosenPos());
    EXPECT_EQ(m_rules.GetSquares()[8].piece, 3);
    EXPECT_EQ(m_host.moves.back().target, m_rules.GetSquares()[8].center);
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER2_CHOOSES);
    // A placement from the peer now, out of turn, and of a piece not chosen, changes nothing.
    m_rules.ApplyPeerMove(9, 0);
    EXPECT_EQ(m_rules.GetSquares()[0].piece, -1);
    EXPECT_EQ(m_host.sent, (std::vector<std::pair<int, int>>{{3, -1}}));

    m_rules.OfferNewGame();
    EXPECT_EQ(m_rules.GetState(), VyGameState::AWAITING_ACCEPT);
    EXPECT_EQ(m_rules.GetStatus(), "Waiting for James to accept a new game.");
    m_rules.ConnectionClosed();
    EXPECT_EQ(m_rules.GetState(), VyGameState::NO_OPPONENT);
    EXPECT_EQ(m_rules.GetOpponent(), VyOpponent::NETWORK_CLIENT);
}

TEST_F(RulesTest, TheJoiningSideMirrorsTheServersStart)
{
    m_rules.SelectOpponent(VyOpponent::NETWORK_SERVER);
    const struct
    {
        VyGameState server;
        VyGameState joiner;
    } cases[] = {
        {VyGameState::PLAYER1_CHOOSES, VyGameState::PLAYER2_CHOOSES},
        {VyGameState::PLAYER2_CHOOSES, VyGameState::PLAYER1_CHOOSES},
        {VyGameState::AWAITING_ACCEPT, VyGameState::PLAYER1_CHOOSES},
    };
    for (const auto& test : cases)
    {
        m_rules.NewGame();
        m_rules.AdoptPeerState(test.server);
        EXPECT_EQ(m_rules.GetState(), test.joiner);
        EXPECT_EQ(m_rules.GetInitialState(), test.joiner);
    }
    // In mid-game the peer's state does not move the board's turn.
    Choose(2);
    m_rules.AdoptPeerState(VyGameState::PLAYER2_CHOOSES);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER2_PLACES);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 2);
    // Outside a network game the peer's operations do nothing.
    m_rules.SelectOpponent(VyOpponent::HUMAN);
    m_rules.StartGame();
    m_rules.OfferNewGame();
    m_rules.AdoptPeerState(VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
}

TEST_F(RulesTest, TheHighlightFollowsTheFreeSquaresWhileAHumanPlaces)
{
    m_rules.StartGame();
    EXPECT_FALSE(m_rules.HighlightSquare(3)) << "nobody places yet";
    EXPECT_EQ(m_rules.StepChoosablePiece(INVALID_PIECE, VyStep::PREVIOUS), 15);
    Choose(0);
    Place(0);
    Choose(15);
    EXPECT_EQ(m_rules.StepChoosablePiece(1, VyStep::PREVIOUS), INVALID_PIECE) << "a placing state";
    Place(15);
    // Pieces 0 and 15 are on the board: stepping skips them and wraps.
    EXPECT_EQ(m_rules.StepChoosablePiece(INVALID_PIECE, VyStep::PREVIOUS), 14);
    EXPECT_EQ(m_rules.StepChoosablePiece(14, VyStep::NEXT), 1);
    EXPECT_EQ(m_rules.StepChoosablePiece(1, VyStep::PREVIOUS), 14);

    Choose(7);
    EXPECT_TRUE(m_rules.HighlightSquare(4));
    EXPECT_FALSE(m_rules.HighlightSquare(4)) << "unchanged";
    EXPECT_TRUE(m_rules.HighlightSquare(0)) << "occupied: cleared";
    EXPECT_EQ(m_rules.GetHighlightedSquare(), NO_SQUARE);
    EXPECT_FALSE(m_rules.PlaceOnHighlight());
    ASSERT_TRUE(m_rules.StepHighlight(VyStep::PREVIOUS));
    EXPECT_EQ(m_rules.GetHighlightedSquare(), 14);
    ASSERT_TRUE(m_rules.StepHighlight(VyStep::NEXT));
    EXPECT_EQ(m_rules.GetHighlightedSquare(), 1) << "squares 15 and 0 are taken";
    ASSERT_TRUE(m_rules.PlaceOnHighlight());
    EXPECT_EQ(m_rules.GetHighlightedSquare(), NO_SQUARE);
    EXPECT_FALSE(m_rules.HighlightSquare(2)) << "no highlight while the piece moves";
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetSquares()[1].piece, 7);
}

TEST_F(RulesTest, StatusTexts)
{
    EXPECT_EQ(VyGameRules::Possessive("JONAS"), "JONAS'");
    EXPECT_EQ(VyGameRules::Possessive("Ann"), "Ann's");
    EXPECT_EQ(m_rules.GetStatus(), "Please select an opponent from the Game menu.");
    // Each state as a loaded game shows it, a placing state with piece 0 chosen.
    auto statusIn = [&](VyOpponent opponent, VyGameState state) {
        VySavedGame saved = ClassicGame(state, {}, opponent);
        saved.player2Name = "James";
        const bool placing = state == VyGameState::PLAYER1_PLACES || state == VyGameState::PLAYER2_PLACES;
        saved.currentPiece = placing ? 0 : INVALID_PIECE;
        EXPECT_TRUE(Load(saved));
        EXPECT_EQ(m_rules.GetState(), state);
        return m_rules.GetStatus();
    };
    EXPECT_EQ(statusIn(VyOpponent::HUMAN, VyGameState::PLAYER1_CHOOSES), "Chris' turn to chose a piece");
    EXPECT_EQ(statusIn(VyOpponent::HUMAN, VyGameState::PLAYER2_PLACES), "James' turn to place the piece");
    EXPECT_EQ(statusIn(VyOpponent::COMPUTER, VyGameState::PLAYER2_PLACES), "The computer is placing a piece");
    EXPECT_EQ(statusIn(VyOpponent::NETWORK_CLIENT, VyGameState::PLAYER1_PLACES), "Your turn to place the piece");
    EXPECT_EQ(statusIn(VyOpponent::NETWORK_CLIENT, VyGameState::AWAITING_ACCEPT),
              "Waiting for James to accept a new game.");
    statusIn(VyOpponent::HUMAN, VyGameState::PLAYER1_CHOOSES);
    m_rules.SetPlayerName(VyPlayer::PLAYER1, "");
    EXPECT_EQ(m_rules.GetStatus(), " turn to chose a piece") << "a new name rebuilds the line";
    StartAgainstComputer(VyFirstPlayer::PLAYER2);
    EXPECT_EQ(m_rules.GetStatus(), "The computer is chosing a piece");

    // A won game's line belongs to its pieces: a new set ends the game, so the won text never has
    // to describe a line that is gone.
    m_rules.SelectOpponent(VyOpponent::HUMAN);
    PlayBoard(LAST_PLACEMENT_WINS);
    ASSERT_EQ(m_rules.GetState(), VyGameState::GAME_WON);
    VyTraceCapture trace;
    m_rules.SetPieceSet(ClassicSet());
    m_rules.SetPlayerName(VyPlayer::PLAYER1, "Ann");
    EXPECT_EQ(m_rules.GetState(), VyGameState::NO_OPPONENT);
    EXPECT_EQ(m_rules.GetWinningCombination(), -1);
    EXPECT_EQ(m_rules.GetStatus(), "Please select an opponent from the Game menu.");
    EXPECT_EQ(trace.Text(), "");
}
