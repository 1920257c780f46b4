#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "ClassicRulesTest.h"
#include "VySavedGame.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyTestDir.h"
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

VyString Bytes(const VyMemFile& file)
{
    return VyString(file.GetView());
}

VyString Write(const VySavedGame& saved)
{
    VyMemFile file(VY_IO_WRITE);
    saved.Write(file);
    return Bytes(file);
}

// A saved game of the classic set: the pieces on the squares as given, nothing chosen.
VySavedGame Game(int state, const std::vector<std::pair<int, int>>& squarePiece, int opponent = OPPONENT_HUMAN)
{
    VySavedGame saved;
    saved.player1Name = "Chris";
    saved.player2Name = opponent == OPPONENT_COMPUTER ? "The computer" : "James";
    saved.state = state;
    saved.initialState = PLAYER1_CHOOSES;
    saved.opponent = opponent;
    saved.locations.assign(16, -1);
    for (auto [square, piece] : squarePiece)
    {
        saved.locations[static_cast<size_t>(piece)] = square;
        saved.history.push_back(piece);
    }
    saved.level = LEVEL_EASY;
    saved.setName = "classic";
    return saved;
}

class SavedGameTest : public ClassicRulesTest
{
protected:
    SavedGameTest() : ClassicRulesTest(11) {}

    void SetUp() override
    {
        ClassicRulesTest::SetUp();
        m_rules.m_opponent = OPPONENT_HUMAN;
    }

    bool Load(const VyString& bytes)
    {
        VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
        return m_rules.LoadGame(file);
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

    VyString Saved()
    {
        VyMemFile file(VY_IO_WRITE);
        m_rules.SaveGame(file);
        return Bytes(file);
    }

    // The rules' invariants: a piece stands on at most one square and the square knows it, the chosen
    // piece is off the board, the history holds exactly the placed pieces, the state fits the choice.
    void ExpectConsistent()
    {
        std::multiset<int> placed;
        for (int i = 0; i < m_rules.GetNumberOfPieces(); ++i)
        {
            const int square = m_rules.m_pieces[static_cast<size_t>(i)].location;
            if (square == -1)
                continue;
            ASSERT_TRUE(square >= 0 && square < m_rules.GetNumberOfSquares()) << "piece " << i;
            ASSERT_EQ(m_rules.m_squares[static_cast<size_t>(square)].piece, i);
            placed.insert(i);
        }
        for (int s = 0; s < m_rules.GetNumberOfSquares(); ++s)
        {
            const int piece = m_rules.m_squares[static_cast<size_t>(s)].piece;
            if (piece != -1)
            {
                ASSERT_EQ(m_rules.m_pieces[static_cast<size_t>(piece)].location, s);
            }
        }
        ASSERT_EQ(std::multiset<int>(m_rules.m_history.begin(), m_rules.m_history.end()), placed);
        ASSERT_TRUE(m_rules.m_state >= 1 && m_rules.m_state <= 8);
        if (m_rules.IsPlacing())
        {
            ASSERT_TRUE(m_rules.m_currentPiece >= 0 && m_rules.m_currentPiece < m_rules.GetNumberOfPieces());
            ASSERT_EQ(m_rules.m_pieces[static_cast<size_t>(m_rules.m_currentPiece)].location, -1);
        }
        else
            ASSERT_EQ(m_rules.m_currentPiece, INVALID_PIECE);
    }

    // Plays on with random legal half-moves, taking undo now and then, until the game ends.
    void PlayOn(VyRandom& random)
    {
        for (int round = 0; round < 100 && !m_rules.IsGameOver(); ++round)
        {
            if (random.Next() % 7 == 0 && m_rules.CanUndo())
                m_rules.Undo();
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
    const VyString bytes(reinterpret_cast<const char*>(HAND_WRITTEN), sizeof HAND_WRITTEN);
    m_rules.m_player2Name.clear();
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(m_rules.m_player1Name, "Chris");
    EXPECT_EQ(m_rules.m_player2Name, "The computer");
    EXPECT_EQ(m_rules.m_state, PLAYER1_PLACES);
    EXPECT_EQ(m_rules.m_initialState, PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.m_opponent, OPPONENT_COMPUTER);
    EXPECT_EQ(m_rules.m_level, LEVEL_INTERMEDIATE);
    EXPECT_EQ(m_rules.m_history, (std::vector<int>{5, 0, 12}));
    EXPECT_EQ(m_rules.m_squares[0].piece, 5);
    EXPECT_EQ(m_rules.m_squares[5].piece, 0);
    EXPECT_EQ(m_rules.m_squares[15].piece, 12);
    EXPECT_EQ(m_rules.m_currentPiece, 9);
    // Pieces stand where they belong at once: on their squares, the chosen one waiting.
    EXPECT_EQ(m_host.positions[5], (VyPoint{57, 244}));
    EXPECT_EQ(m_host.positions[12], (VyPoint{398, 179}));
    EXPECT_EQ(m_host.positions[9], (VyPoint{35, 40}));
    EXPECT_TRUE(m_host.moves.empty());
    EXPECT_EQ(m_rules.m_status, "Your turn to place the piece");
    EXPECT_TRUE(m_host.wakes.empty());
    EXPECT_EQ(Saved(), bytes);

    // The game goes on: Chris places, the computer is woken to choose.
    m_rules.PlacePiece(6);
    m_host.FinishMoves(m_rules);
    EXPECT_EQ(m_rules.m_state, PLAYER1_CHOOSES);
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

    const VyString valid = Write(Game(PLAYER1_CHOOSES, {}));
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
    const VyString valid = Write(Game(PLAYER1_CHOOSES, {{0, 4}, {9, 2}}));
    for (size_t length = 4; length < valid.size(); ++length)
    {
        SCOPED_TRACE(length);
        // "ends early", or a list count larger than what is left
        EXPECT_EQ(LoadFailure(valid.substr(0, length)).rfind("*VyGameWnd::LoadGame : The saved game", 0), 0u);
        EXPECT_EQ(Saved(), before);
    }

    // Counts far beyond the bytes that follow.
    VySavedGame saved = Game(PLAYER1_CHOOSES, {});
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
        int opponent;
        int initialState;
        size_t placements;
        const char* status;
    } cases[] = {
        {OPPONENT_HUMAN, PLAYER1_CHOOSES, 4, "Chris won by getting 4 Dark pieces in a row."},
        {OPPONENT_COMPUTER, PLAYER1_CHOOSES, 5, "The computer won by getting 4 Dark pieces in a row."},
        {OPPONENT_COMPUTER, PLAYER2_CHOOSES, 5, "You won by getting 4 Dark pieces in a row."},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.status);
        VySavedGame saved = Game(GAME_WON, std::vector<std::pair<int, int>>(line.end() - test.placements, line.end()),
                                 test.opponent);
        saved.initialState = test.initialState;
        const int questions = m_host.questions;
        VyTraceCapture trace;
        ASSERT_TRUE(Load(Write(saved)));
        EXPECT_EQ(m_rules.m_state, GAME_WON);
        EXPECT_EQ(m_rules.m_winningCombination, 0);
        EXPECT_EQ(m_rules.m_status, test.status);
        EXPECT_EQ(m_host.questions, questions + 1);
        EXPECT_EQ(m_host.images[0], 0);
        EXPECT_EQ(m_host.images[7], 0);
        EXPECT_EQ(m_host.images[3], 1);
        EXPECT_EQ(trace.Text(), "");
    }

    // Saved as won, but no line on the board: shown as the game's other end, never as a bad line.
    VyTraceCapture trace;
    ASSERT_TRUE(Load(Write(Game(GAME_WON, {{0, 0}, {5, 3}}))));
    EXPECT_EQ(m_rules.m_state, GAME_TIED);
    EXPECT_EQ(trace.Text(), "");

    // A tie asks again; the same full board saved in a choosing state is found to be a tie.
    std::vector<std::pair<int, int>> board;
    for (int square = 0; square < 16; ++square)
        board.emplace_back(square, TIED_BOARD[square]);
    for (int state : {GAME_TIED, PLAYER1_CHOOSES})
    {
        const int questions = m_host.questions;
        ASSERT_TRUE(Load(Write(Game(state, board))));
        EXPECT_EQ(m_rules.m_state, GAME_TIED);
        EXPECT_EQ(m_rules.m_status, "Game ended in a tie");
        EXPECT_EQ(m_host.questions, questions + 1);
        EXPECT_FALSE(m_rules.CanUndo());
    }
}

TEST_F(SavedGameTest, WhatTheFileSaysIsMadeToFitTheSet)
{
    VySavedGame saved = Game(PLAYER2_PLACES, {{2, 1}, {4, 6}});
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
    EXPECT_EQ(m_rules.m_pieces[0].location, -1);
    EXPECT_EQ(m_rules.m_pieces[3].location, -1);
    EXPECT_EQ(m_rules.m_pieces[8].location, -1);
    EXPECT_EQ(m_rules.m_squares[4].piece, 6);
    EXPECT_EQ(m_rules.m_history, (std::vector<int>{6, 1})) << "saved order first, then the missing ones";
    // Placing without a chosen piece cannot go on: the choice before it is asked for again.
    EXPECT_EQ(m_rules.m_state, PLAYER1_CHOOSES);
    EXPECT_EQ(m_rules.m_opponent, OPPONENT_HUMAN);
    EXPECT_EQ(m_rules.m_level, LEVEL_EASY);

    saved = Game(42, {});
    saved.currentPiece = 3;
    ASSERT_TRUE(Load(Write(saved)));
    EXPECT_EQ(m_rules.m_state, NO_OPPONENT);
    EXPECT_EQ(m_rules.m_currentPiece, INVALID_PIECE);

    EXPECT_FALSE(Load(Write([] {
        VySavedGame other = Game(PLAYER1_CHOOSES, {});
        other.setName = "..\\..\\etc";
        return other;
    }())));
    EXPECT_EQ(m_host.boxes.back().second, "Load Error");
}

TEST_F(SavedGameTest, DamagedFilesNeverBreakTheGame)
{
    std::vector<std::pair<int, int>> board = {{0, 4}, {5, 9}, {10, 2}, {15, 11}, {3, 0}};
    const VyString valid = Write(Game(PLAYER1_PLACES, board, OPPONENT_COMPUTER));
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

    // The next save runs out of space while it writes: the temporary file is a device that takes
    // nothing.
    m_rules.ChoosePiece(2);
    m_host.FinishMoves(m_rules);
    ASSERT_EQ(symlink("/dev/full", temporary.c_str()), 0);
    EXPECT_FALSE(m_rules.SaveGameFile(path));
    ASSERT_EQ(m_host.boxes.size(), 1u);
    EXPECT_EQ(m_host.boxes[0].first, "Could not write to " + path);
    EXPECT_EQ(m_host.boxes[0].second, "Save Error");
    struct stat info;
    EXPECT_NE(lstat(temporary.c_str(), &info), 0) << "the temporary file is removed";

    // The old file is whole and loads.
    const VyString second = Saved();
    ASSERT_TRUE(m_rules.LoadGameFile(path));
    EXPECT_EQ(Saved(), first);
    EXPECT_NE(first, second);

    EXPECT_FALSE(m_rules.LoadGameFile(path + ".missing"));
    EXPECT_EQ(m_host.boxes.back().first, "Could not open " + path + ".missing");
    EXPECT_EQ(m_host.boxes.back().second, "Load Error");
    EXPECT_FALSE(m_rules.SaveGameFile((folder / "no" / "such" / "folder.sav").string()));
    EXPECT_EQ(m_host.boxes.back().second, "Save Error");
}
