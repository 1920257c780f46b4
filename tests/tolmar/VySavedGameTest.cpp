#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "ClassicRulesTest.h"
#include "VyOrdinaryUser.h"
#include "VySavedGame.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
#include "vythread/VyTraceCapture.h"
#include "vythread/VyException.h"

namespace
{
// A game against the computer, written out field by field: Chris chose piece 6 (index 5), the
// computer put it on square 1; the computer chose piece 1, Chris put it on square 6; Chris chose
// piece 13, the computer put it on square 16 and chose piece 10 for Chris, who is to place it.
const unsigned char HAND_WRITTEN[] = {
    0x84, 0x50, 0x62, 0x62,                                     // magic
    0x01, 0x00, 0x01, 0x00,                                     // version
    0x05, 'C', 'h', 'r', 'i', 's',                              // player 1
    0x0C, 'T', 'h', 'e', ' ', 'c', 'o', 'm', 'p', 'u', 't', 'e', 'r', // player 2
    0x04, 0x00, 0x00, 0x00,                                     // state: player 1 places
    0x01, 0x00, 0x00, 0x00,                                     // initial state
    0x04, 0x00, 0x00, 0x00,                                     // opponent: computer
    0x03, 0x00, 0x00, 0x00,                                     // history count
    0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00,
    0x10, 0x00, 0x00, 0x00,                                     // location count
    0x05, 0x00, 0x00, 0x00,                                     // piece 1 on square 6
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x00, 0x00, 0x00, 0x00,                                     // piece 6 on square 1
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x0F, 0x00, 0x00, 0x00,                                     // piece 13 on square 16
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x09, 0x00, 0x00, 0x00,                                     // current piece: piece 10
    0x03, 0x00, 0x00, 0x00,                                     // level: Intermediate
    0x07, 'c', 'l', 'a', 's', 's', 'i', 'c',                    // set
};

// Saved by a copy that writes the fields as they are while a piece still moves: James has just put
// piece 8 (index 7) on square 4, completing the top row of dark pieces, and the turn has not
// advanced yet. The file says player 2 places, with no chosen piece.
const unsigned char SAVED_DURING_A_PLACEMENT[] = {
    0x84, 0x50, 0x62, 0x62,                                     // magic
    0x01, 0x00, 0x01, 0x00,                                     // version
    0x05, 'C', 'h', 'r', 'i', 's',                              // player 1
    0x05, 'J', 'a', 'm', 'e', 's',                              // player 2
    0x02, 0x00, 0x00, 0x00,                                     // state: player 2 places
    0x01, 0x00, 0x00, 0x00,                                     // initial state: player 1 chooses
    0x01, 0x00, 0x00, 0x00,                                     // opponent: human
    0x05, 0x00, 0x00, 0x00,                                     // history count
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // pieces 2, 1, 3
    0x05, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00,             // pieces 6, 8
    0x10, 0x00, 0x00, 0x00,                                     // location count
    0x00, 0x00, 0x00, 0x00,                                     // piece 1 on square 1
    0x08, 0x00, 0x00, 0x00,                                     // piece 2 on square 9
    0x01, 0x00, 0x00, 0x00,                                     // piece 3 on square 2
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x02, 0x00, 0x00, 0x00,                                     // piece 6 on square 3
    0xFF, 0xFF, 0xFF, 0xFF,
    0x03, 0x00, 0x00, 0x00,                                     // piece 8 on square 4
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF,                                     // current piece: none
    0x02, 0x00, 0x00, 0x00,                                     // level
    0x07, 'c', 'l', 'a', 's', 's', 'i', 'c',                    // set
};

// The same copy, the other seat: Chris has just put piece 8 (index 7) on square 4, completing the
// top row, in the fourth placement. The file says player 1 places, with no chosen piece.
const unsigned char SAVED_DURING_PLAYER1S_PLACEMENT[] = {
    0x84, 0x50, 0x62, 0x62,                                     // magic
    0x01, 0x00, 0x01, 0x00,                                     // version
    0x05, 'C', 'h', 'r', 'i', 's',                              // player 1
    0x05, 'J', 'a', 'm', 'e', 's',                              // player 2
    0x04, 0x00, 0x00, 0x00,                                     // state: player 1 places
    0x01, 0x00, 0x00, 0x00,                                     // initial state: player 1 chooses
    0x01, 0x00, 0x00, 0x00,                                     // opponent: human
    0x04, 0x00, 0x00, 0x00,                                     // history count
    0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,             // pieces 1, 3
    0x05, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00,             // pieces 6, 8
    0x10, 0x00, 0x00, 0x00,                                     // location count
    0x00, 0x00, 0x00, 0x00,                                     // piece 1 on square 1
    0xFF, 0xFF, 0xFF, 0xFF,
    0x01, 0x00, 0x00, 0x00,                                     // piece 3 on square 2
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x02, 0x00, 0x00, 0x00,                                     // piece 6 on square 3
    0xFF, 0xFF, 0xFF, 0xFF,
    0x03, 0x00, 0x00, 0x00,                                     // piece 8 on square 4
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF,                                     // current piece: none
    0x02, 0x00, 0x00, 0x00,                                     // level
    0x07, 'c', 'l', 'a', 's', 's', 'i', 'c',                    // set
};

// The same copy during a choice: James put piece 1 on square 1, then chose piece 10 (index 9) for
// Chris while it moved. The file says player 2 chooses, with that piece chosen.
const unsigned char SAVED_DURING_A_CHOICE[] = {
    0x84, 0x50, 0x62, 0x62,                                     // magic
    0x01, 0x00, 0x01, 0x00,                                     // version
    0x05, 'C', 'h', 'r', 'i', 's',                              // player 1
    0x05, 'J', 'a', 'm', 'e', 's',                              // player 2
    0x03, 0x00, 0x00, 0x00,                                     // state: player 2 chooses
    0x01, 0x00, 0x00, 0x00,                                     // initial state: player 1 chooses
    0x01, 0x00, 0x00, 0x00,                                     // opponent: human
    0x01, 0x00, 0x00, 0x00,                                     // history count
    0x00, 0x00, 0x00, 0x00,                                     // piece 1
    0x10, 0x00, 0x00, 0x00,                                     // location count
    0x00, 0x00, 0x00, 0x00,                                     // piece 1 on square 1
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x09, 0x00, 0x00, 0x00,                                     // current piece: piece 10
    0x02, 0x00, 0x00, 0x00,                                     // level
    0x07, 'c', 'l', 'a', 's', 's', 'i', 'c',                    // set
};

VyString HandWritten(const unsigned char* bytes, size_t size)
{
    return VyString(reinterpret_cast<const char*>(bytes), size);
}

// The fields of saved-game bytes.
VySavedGame Fields(const VyString& bytes)
{
    VySavedGame saved;
    VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(saved.Read(file), VySavedGame::VY_SAVED_GAME_READ);
    return saved;
}

VyString Write(const VySavedGame& saved)
{
    return SavedBytes(saved);
}

VySavedGame Game(VyGameState state, const std::vector<std::pair<int, int>>& squarePiece,
                 VyOpponent opponent = VyOpponent::HUMAN)
{
    return ClassicGame(state, squarePiece, opponent);
}

class SavedGameTest : public ClassicRulesTest
{
protected:
    SavedGameTest() : ClassicRulesTest(11) {}

    void SetUp() override
    {
        ClassicRulesTest::SetUp();
        m_rules.SelectOpponent(VyOpponent::HUMAN);
    }

    // The failure text of a load that throws; empty when it does not.
    VyString LoadFailure(const VyString& bytes)
    {
        try
        {
            Load(bytes);
        }
        catch (const VyFileException& error)
        {
            return error.GetMessage();
        }
        return {};
    }

    // The rules' invariants: a piece stands on at most one square and the square knows it, the chosen
    // piece is off the board, the history holds exactly the placed pieces, the state fits the choice.
    void ExpectConsistent()
    {
        std::multiset<int> placed;
        for (int i = 0; i < m_rules.GetNumberOfPieces(); ++i)
        {
            const int square = m_rules.GetPieces()[static_cast<size_t>(i)].location;
            if (square == -1)
                continue;
            ASSERT_TRUE(square >= 0 && square < m_rules.GetNumberOfSquares()) << "piece " << i;
            ASSERT_EQ(m_rules.GetSquares()[static_cast<size_t>(square)].piece, i);
            placed.insert(i);
        }
        for (int s = 0; s < m_rules.GetNumberOfSquares(); ++s)
        {
            const int piece = m_rules.GetSquares()[static_cast<size_t>(s)].piece;
            if (piece != -1)
            {
                ASSERT_EQ(m_rules.GetPieces()[static_cast<size_t>(piece)].location, s);
            }
        }
        const std::vector<int>& history = m_rules.GetHistory();
        ASSERT_EQ(std::multiset<int>(history.begin(), history.end()), placed);
        ASSERT_TRUE(VyGameStateFromNumber(VyNumberOf(m_rules.GetState())).has_value());
        const int current = m_rules.GetCurrentPiece();
        if (m_rules.IsPlacing())
        {
            ASSERT_TRUE(current >= 0 && current < m_rules.GetNumberOfPieces());
            ASSERT_EQ(m_rules.GetPieces()[static_cast<size_t>(current)].location, -1);
        }
        else
            ASSERT_EQ(current, INVALID_PIECE);
    }

    // Plays on with random legal half-moves, taking undo now and then, until the game ends.
    void PlayOn(VyRandom& random)
    {
        for (int round = 0; round < 100 && !m_rules.IsGameOver(); ++round)
        {
            const int generation = m_rules.GetPositionGeneration();
            if (random.Next() % 7 == 0 && m_rules.CanUndo())
                m_rules.Undo();
            else if (m_rules.IsComputersTurn() && m_rules.IsChoosing())
                m_rules.ApplyComputerPiece(random.Next() % 16, generation);
            else if (m_rules.IsComputersTurn())
                m_rules.ApplyComputerSquare(random.Next() % 16, generation);
            else if (m_rules.IsChoosing())
                m_rules.ChoosePiece(random.Next() % 16);
            else if (m_rules.IsPlacing())
                m_rules.PlacePiece(random.Next() % 16);
            else
                return;
            m_host.FinishMoves(m_rules);
            ExpectConsistent();
        }
    }
};
} // namespace

TEST_F(SavedGameTest, TheHandWrittenFileLoadsAndIsWrittenBackByteForByte)
{
    const VyString bytes = HandWritten(HAND_WRITTEN, sizeof HAND_WRITTEN);
    m_rules.SetPlayerName(VyPlayer::PLAYER2, "");
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(m_rules.GetPlayer1Name(), "Chris");
    EXPECT_EQ(m_rules.GetPlayer2Name(), "The computer");
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetInitialState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.GetOpponent(), VyOpponent::COMPUTER);
    EXPECT_EQ(m_rules.GetLevel(), VyLevel::INTERMEDIATE);
    EXPECT_EQ(m_rules.GetHistory(), (std::vector<int>{5, 0, 12}));
    EXPECT_EQ(m_rules.GetSquares()[0].piece, 5);
    EXPECT_EQ(m_rules.GetSquares()[5].piece, 0);
    EXPECT_EQ(m_rules.GetSquares()[15].piece, 12);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 9);
    // Pieces stand where they belong at once: on their squares, the chosen one waiting.
    EXPECT_EQ(m_host.positions[5], (VyPoint{57, 244}));
    EXPECT_EQ(m_host.positions[12], (VyPoint{398, 179}));
    EXPECT_EQ(m_host.positions[9], (VyPoint{35, 40}));
    EXPECT_TRUE(m_host.moves.empty());
    EXPECT_EQ(m_rules.GetStatus(), "Your turn to place the piece");
    EXPECT_TRUE(m_host.wakes.empty());
    EXPECT_EQ(Saved(), bytes);

    // The game goes on: Chris places, the computer is woken to choose.
    m_rules.PlacePiece(6);
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    m_rules.ChoosePiece(1);
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_host.wakes.size(), 1u);
}

TEST_F(SavedGameTest, OtherFilesAndVersionsAreRefusedAndLeaveTheGame)
{
    m_rules.StartGame();
    m_rules.ChoosePiece(3);
    m_host.FinishMoves(m_rules);
    m_rules.PlacePiece(7);
    m_host.FinishMoves(m_rules);
    const VyString before = Saved();

    const VyString valid = Write(Game(VyGameState::PLAYER1_CHOOSES, {}));
    const struct
    {
        VyString bytes;
        const char* text;
        const char* caption;
    } cases[] = {
        {"Hello, this is a text file.\n", "This is not a Tolmar saved game.", "Tolmar"},
        {"", "This is not a Tolmar saved game.", "Tolmar"},
        {valid.substr(0, 3), "This is not a Tolmar saved game.", "Tolmar"},
        {VyString("\x84\x50\x62\x62\x00\x00\x01\x00", 8) + valid.substr(8),
         "This might be a Tolmar saved game, but it was saved with a different version of Tolmar", "Tolma"},
        {VyString("\x84\x50\x62\x62\x02\x00\x01\x00", 8) + valid.substr(8),
         "This might be a Tolmar saved game, but it was saved with a different version of Tolmar", "Tolma"},
    };
    for (const auto& test : cases)
    {
        m_host.boxes.clear();
        EXPECT_FALSE(Load(test.bytes));
        ASSERT_EQ(m_host.boxes.size(), 1u);
        EXPECT_EQ(m_host.boxes[0].first, test.text);
        EXPECT_EQ(m_host.boxes[0].second, test.caption);
        EXPECT_EQ(Saved(), before);
    }
}

TEST_F(SavedGameTest, TruncatedAndOversizedFilesThrowAndLeaveTheGame)
{
    m_rules.StartGame();
    const VyString before = Saved();
    const VyString valid = Write(Game(VyGameState::PLAYER1_CHOOSES, {{0, 4}, {9, 2}}));
    for (size_t length = 4; length < valid.size(); ++length)
    {
        SCOPED_TRACE(length);
        // "ends early", or a list count larger than what is left
        EXPECT_EQ(LoadFailure(valid.substr(0, length)).rfind("*VyGameWnd::LoadGame : The saved game", 0), 0u);
        EXPECT_EQ(Saved(), before);
    }

    // Counts far beyond the bytes that follow.
    VySavedGame saved = Game(VyGameState::PLAYER1_CHOOSES, {});
    const VyString head = Write(saved).substr(0, 8 + 6 + 6 + 12);
    const VyString huge("\xFF\xFF\xFF\x7F", 4);
    EXPECT_EQ(LoadFailure(head + huge + VyString(64, '\0')),
              "*VyGameWnd::LoadGame : The saved game's history count 2147483647 is larger than the file");
    EXPECT_EQ(LoadFailure(head + VyString(4, '\0') + huge),
              "*VyGameWnd::LoadGame : The saved game's location count 2147483647 is larger than the file");
    // A set name longer than the file.
    const VyString full = Write(saved);
    EXPECT_EQ(LoadFailure(full.substr(0, full.size() - 8) + VyString("\xFF\xFF\xFF\x00\x00\x00\x10", 7)),
              "*VyGameWnd::LoadGame : The saved game ends early");
    EXPECT_EQ(Saved(), before);
}

TEST_F(SavedGameTest, AFinishedGameShowsItsEndAndAsksAgain)
{
    // Four dark round pieces on the top row (squares 1 to 4); Color comes first in property order.
    const std::vector<std::pair<int, int>> line = {{8, 1}, {0, 0}, {1, 2}, {2, 5}, {3, 7}};
    struct
    {
        VyOpponent opponent;
        VyGameState initialState;
        size_t placements;
        const char* status;
    } cases[] = {
        {VyOpponent::HUMAN, VyGameState::PLAYER1_CHOOSES, 4, "Chris won by getting 4 Dark pieces in a row."},
        {VyOpponent::COMPUTER, VyGameState::PLAYER1_CHOOSES, 5, "The computer won by getting 4 Dark pieces in a row."},
        {VyOpponent::COMPUTER, VyGameState::PLAYER2_CHOOSES, 5, "You won by getting 4 Dark pieces in a row."},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.status);
        VySavedGame saved = Game(VyGameState::GAME_WON,
                                 std::vector<std::pair<int, int>>(line.end() - test.placements, line.end()),
                                 test.opponent);
        saved.initialState = VyNumberOf(test.initialState);
        const int questions = m_host.questions;
        VyTraceCapture trace;
        ASSERT_TRUE(Load(Write(saved)));
        EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_WON);
        EXPECT_EQ(m_rules.GetWinningCombination(), 0);
        EXPECT_EQ(m_rules.GetStatus(), test.status);
        EXPECT_EQ(m_host.questions, questions + 1);
        EXPECT_EQ(m_host.images[0], VyPieceImage::NORMAL);
        EXPECT_EQ(m_host.images[7], VyPieceImage::NORMAL);
        EXPECT_EQ(m_host.images[3], VyPieceImage::GREYED);
        EXPECT_EQ(trace.Text(), "");
    }

    // Saved as won, but no line on the board: shown as the game's other end, never as a bad line.
    VyTraceCapture trace;
    ASSERT_TRUE(Load(Write(Game(VyGameState::GAME_WON, {{0, 0}, {5, 3}}))));
    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_TIED);
    EXPECT_EQ(trace.Text(), "");

    // A tie asks again; the same full board saved in a choosing state is found to be a tie.
    std::vector<std::pair<int, int>> board;
    for (int square = 0; square < 16; ++square)
        board.emplace_back(square, TIED_BOARD[square]);
    for (VyGameState state : {VyGameState::GAME_TIED, VyGameState::PLAYER1_CHOOSES})
    {
        const int questions = m_host.questions;
        ASSERT_TRUE(Load(Write(Game(state, board))));
        EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_TIED);
        EXPECT_EQ(m_rules.GetStatus(), "Game ended in a tie");
        EXPECT_EQ(m_host.questions, questions + 1);
        EXPECT_FALSE(m_rules.CanUndo());
    }
}

TEST_F(SavedGameTest, WhatTheFileSaysIsMadeToFitTheSet)
{
    VySavedGame saved = Game(VyGameState::PLAYER2_PLACES, {{2, 1}, {4, 6}});
    saved.locations[0] = 99;   // no such square
    saved.locations[3] = -7;   // no such square
    saved.locations[8] = 4;    // square 5 already holds piece 7
    saved.locations.push_back(11); // a seventeenth piece
    saved.history = {77, 6, 6, 9, -1};
    saved.currentPiece = 1;    // stands on the board
    saved.opponent = 9;
    saved.level = 0;
    VyTraceCapture trace;
    ASSERT_TRUE(Load(Write(saved)));
    ExpectConsistent();
    EXPECT_TRUE(trace.Has("Assertion Failed:pieceLocation.size()==m_pieces.size()"));
    EXPECT_EQ(m_rules.GetPieces()[0].location, -1);
    EXPECT_EQ(m_rules.GetPieces()[3].location, -1);
    EXPECT_EQ(m_rules.GetPieces()[8].location, -1);
    EXPECT_EQ(m_rules.GetSquares()[4].piece, 6);
    EXPECT_EQ(m_rules.GetHistory(), (std::vector<int>{6, 1})) << "saved order first, then the missing ones";
    // Placing without a chosen piece cannot go on: the choosing state that follows the two
    // placements (player 2's, then player 1's) comes next.
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.GetOpponent(), VyOpponent::HUMAN);
    EXPECT_EQ(m_rules.GetLevel(), VyLevel::EASY);

    saved = Game(VyGameState::PLAYER1_CHOOSES, {});
    saved.state = 42;
    saved.currentPiece = 3;
    ASSERT_TRUE(Load(Write(saved)));
    EXPECT_EQ(m_rules.GetState(), VyGameState::NO_OPPONENT);
    EXPECT_EQ(m_rules.GetCurrentPiece(), INVALID_PIECE);
    // Waiting for a peer's accept against the computer would wait for ever.
    ASSERT_TRUE(Load(Write(Game(VyGameState::AWAITING_ACCEPT, {}, VyOpponent::COMPUTER))));
    EXPECT_EQ(m_rules.GetState(), VyGameState::NO_OPPONENT);
    EXPECT_EQ(m_rules.GetStatus(), "Please select an opponent from the Game menu.");

    EXPECT_FALSE(Load(Write([] {
        VySavedGame other = Game(VyGameState::PLAYER1_CHOOSES, {});
        other.setName = "..\\..\\etc";
        return other;
    }())));
    EXPECT_EQ(m_host.boxes.back().second, "Load Error");
}

TEST_F(SavedGameTest, DamagedFilesNeverBreakTheGame)
{
    std::vector<std::pair<int, int>> board = {{0, 4}, {5, 9}, {10, 2}, {15, 11}, {3, 0}};
    const VyString valid = Write(Game(VyGameState::PLAYER1_PLACES, board, VyOpponent::COMPUTER));
    VyRandom random(2024);
    VyTraceCapture trace; // the assertion reports of damaged files are expected
    int loaded = 0;
    for (int round = 0; round < 400; ++round)
    {
        VyString bytes = valid;
        const int changes = 1 + random.Next() % 4;
        for (int i = 0; i < changes; ++i)
        {
            const size_t at = static_cast<size_t>(random.Next()) % bytes.size();
            // Mostly small values (piece, square and state numbers), sometimes any byte.
            bytes[at] = static_cast<char>(random.Next() % 3 == 0 ? random.Next() % 256 : random.Next() % 20 - 2);
        }
        try
        {
            if (Load(bytes))
                ++loaded;
        }
        catch (const VyException&)
        {
        }
        ASSERT_NO_FATAL_FAILURE(ExpectConsistent()) << "round " << round;
        ASSERT_NO_FATAL_FAILURE(PlayOn(random)) << "round " << round;
    }
    EXPECT_GT(loaded, 100);
}

TEST_F(SavedGameTest, AFailedSaveLeavesTheOldFile)
{
    VyTestDir dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::filesystem::path& folder = dir.Path();
    const VyString path = (folder / "tolmar.sav").string();
    const VyString temporary = path + ".tmp";

    m_rules.StartGame();
    ASSERT_TRUE(m_rules.SaveGameFile(path));
    EXPECT_FALSE(std::filesystem::exists(std::string(temporary)));
    const VyString first = Saved();
    const std::string firstBytes = VyTestDir::Slurp(path);

    // The next save runs out of space while it writes: the temporary file is a device that takes
    // nothing.
    m_rules.ChoosePiece(2);
    m_host.FinishMoves(m_rules);
    ASSERT_EQ(symlink("/dev/full", temporary.c_str()), 0);
    {
        VyTraceCapture trace;
        EXPECT_FALSE(m_rules.SaveGameFile(path));
        EXPECT_TRUE(trace.Has("Reason: No space left on device")) << "the trace says why as well";
    }
    ASSERT_EQ(m_host.boxes.size(), 1u);
    EXPECT_EQ(m_host.boxes[0].first, "Could not write to " + path + ": No space left on device");
    EXPECT_EQ(m_host.boxes[0].second, "Save Error");
    struct stat info;
    EXPECT_NE(lstat(temporary.c_str(), &info), 0) << "the temporary file is removed";
    EXPECT_EQ(VyTestDir::Slurp(path), firstBytes) << "byte for byte";

    // The old file is whole and loads.
    const VyString second = Saved();
    ASSERT_TRUE(m_rules.LoadGameFile(path));
    EXPECT_EQ(Saved(), first);
    EXPECT_NE(first, second);

    EXPECT_FALSE(m_rules.LoadGameFile(path + ".missing"));
    EXPECT_EQ(m_host.boxes.back().first, "Could not open " + path + ".missing");
    EXPECT_EQ(m_host.boxes.back().second, "Load Error");
    const VyString nowhere = (folder / "no" / "such" / "folder.sav").string();
    EXPECT_FALSE(m_rules.SaveGameFile(nowhere));
    EXPECT_EQ(m_host.boxes.back().first, "Could not write to " + nowhere + ": No such file or directory");
    EXPECT_EQ(m_host.boxes.back().second, "Save Error");
}

TEST_F(SavedGameTest, ASaveIntoAFolderTheUserCannotWriteLeavesTheOldFileAndSaysWhy)
{
    const std::filesystem::path folder = VyOrdinaryUser::MakeFolder();
    ASSERT_FALSE(folder.empty());
    const VyString path = (folder / "locked.sav").string();
    m_rules.StartGame();
    // Codes the child ends with: 0 as expected, otherwise the first check that failed.
    const int status = VyOrdinaryUser::Run([&]() {
        if (!m_rules.SaveGameFile(path))
            return 10;
        const std::string old = VyTestDir::Slurp(path);
        m_rules.ChoosePiece(2);
        m_host.FinishMoves(m_rules);
        if (chmod(folder.c_str(), 0555) != 0)
            return 11;
        if (m_rules.SaveGameFile(path) || m_host.boxes.size() != 1)
            return 12;
        if (m_host.boxes[0].first != "Could not write to " + path + ": Permission denied" ||
            m_host.boxes[0].second != "Save Error")
            return 13;
        return VyTestDir::Slurp(path) == old && !std::filesystem::exists(std::string(path + ".tmp")) ? 0 : 14;
    });
    chmod(folder.c_str(), 0755);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    EXPECT_EQ(status, 0);
}

TEST_F(SavedGameTest, AHalfMoveSavedInFlightByAnotherCopyIsCompletedForward)
{
    // The winning placement is James's: the turn goes on to his choice, where the line is found.
    ASSERT_TRUE(Load(HandWritten(SAVED_DURING_A_PLACEMENT, sizeof SAVED_DURING_A_PLACEMENT)));
    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_WON);
    EXPECT_EQ(m_rules.GetWinner(), "James");
    EXPECT_EQ(m_rules.GetStatus(), "James won by getting 4 Dark pieces in a row.");
    EXPECT_EQ(m_rules.GetHistory(), (std::vector<int>{1, 0, 2, 5, 7}));
    // And Chris's: the line is his.
    ASSERT_TRUE(Load(HandWritten(SAVED_DURING_PLAYER1S_PLACEMENT, sizeof SAVED_DURING_PLAYER1S_PLACEMENT)));
    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_WON);
    EXPECT_EQ(m_rules.GetStatus(), "Chris won by getting 4 Dark pieces in a row.");

    // Chris's placement in flight (two placements, the second his): Chris chooses next, he does
    // not place again.
    ASSERT_TRUE(Load(Game(VyGameState::PLAYER1_PLACES, {{0, 0}, {5, 3}})));
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.GetStatus(), "Chris' turn to chose a piece");

    // The computer chose first and its placement was in flight: it chooses next, and is woken.
    VySavedGame computer = Game(VyGameState::PLAYER2_PLACES, {{0, 0}, {5, 3}}, VyOpponent::COMPUTER);
    computer.initialState = VyNumberOf(VyGameState::PLAYER2_CHOOSES);
    const size_t wakes = m_host.wakes.size();
    ASSERT_TRUE(Load(computer));
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER2_CHOOSES);
    ASSERT_EQ(m_host.wakes.size(), wakes + 1);
    EXPECT_EQ(m_host.wakes.back().state, VyGameState::PLAYER2_CHOOSES);

    // James's choice in flight: the piece is kept, Chris places it.
    ASSERT_TRUE(Load(HandWritten(SAVED_DURING_A_CHOICE, sizeof SAVED_DURING_A_CHOICE)));
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 9);
    EXPECT_EQ(m_host.positions[9], m_rules.GetChosenPos());
    m_rules.PlacePiece(6);
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.GetSquares()[6].piece, 9);
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_CHOOSES);
}

TEST_F(SavedGameTest, SavingDuringAMovementWritesThePositionItLeadsTo)
{
    m_rules.StartGame();
    m_rules.ChoosePiece(0);
    m_host.FinishMoves(m_rules);
    m_rules.PlacePiece(5); // James's placement, still moving
    VySavedGame saved = Fields(Saved());
    EXPECT_EQ(saved.state, VyNumberOf(VyGameState::PLAYER2_CHOOSES));
    EXPECT_EQ(saved.currentPiece, INVALID_PIECE);
    EXPECT_EQ(saved.history, (std::vector<int>{0}));
    EXPECT_EQ(saved.locations[0], 5);

    m_host.FinishMoves(m_rules);
    EXPECT_EQ(Fields(Saved()).state, VyNumberOf(VyGameState::PLAYER2_CHOOSES)) << "the same once it has ended";
    m_rules.ChoosePiece(3); // James's choice, still moving
    const VyString duringChoice = Saved();
    saved = Fields(duringChoice);
    EXPECT_EQ(saved.state, VyNumberOf(VyGameState::PLAYER1_PLACES));
    EXPECT_EQ(saved.currentPiece, 3);

    // Loaded again, Chris places the chosen piece.
    ASSERT_TRUE(Load(duringChoice));
    EXPECT_EQ(m_rules.GetState(), VyGameState::PLAYER1_PLACES);
    EXPECT_EQ(m_rules.GetCurrentPiece(), 3);
    EXPECT_FALSE(m_rules.IsMoving());
    EXPECT_EQ(Saved(), duringChoice);
}

TEST_F(SavedGameTest, AWinningPlacementSavedInFlightIsCreditedToItsPlayer)
{
    // Chris places the fourth dark piece of the top row against the computer and saves at once.
    VySavedGame saved = Game(VyGameState::PLAYER1_PLACES, {{8, 1}, {0, 0}, {1, 2}, {2, 5}}, VyOpponent::COMPUTER);
    saved.initialState = VyNumberOf(VyGameState::PLAYER2_CHOOSES);
    saved.currentPiece = 7;
    ASSERT_TRUE(Load(saved));
    m_rules.PlacePiece(3);
    const VyString bytes = Saved();
    EXPECT_EQ(Fields(bytes).state, VyNumberOf(VyGameState::PLAYER1_CHOOSES));

    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(m_rules.GetState(), VyGameState::GAME_WON);
    EXPECT_EQ(m_rules.GetStatus(), "You won by getting 4 Dark pieces in a row.");
}
