#include <gtest/gtest.h>

#include <sstream>

#include "ClassicRulesTest.h"
#include "VySolver.h"
#include "vyio/VyTestDir.h"

namespace
{
// TIED_BOARD without its last piece: piece 6 (index 5) on square 16 completes no line.
std::vector<std::pair<int, int>> TiedButOne()
{
    std::vector<std::pair<int, int>> placed;
    for (int square = 0; square < 15; ++square)
        placed.push_back({square, TIED_BOARD[square]});
    return placed;
}

struct SolveRun
{
    VySolveStatus status;
    std::string out;
    std::string err;
};

SolveRun Solve(const VyString& path, unsigned int budgetMs = 0)
{
    std::ostringstream out;
    std::ostringstream err;
    VySolver solver(ClassicSet());
    const VySolveStatus status = solver.Solve(path, budgetMs, out, err);
    return {status, out.str(), err.str()};
}

VyString Put(const VyTestDir& dir, const char* name, const VySavedGame& saved)
{
    return dir.Put(name, SavedBytes(saved));
}
} // namespace

TEST(Solver, SavedGamesOfKnownValue)
{
    VyTestDir dir;
    // Player 1 places piece 8 on square 16 and wins; nothing is left to hand over.
    VySavedGame win = ClassicGame(VyGameState::PLAYER1_PLACES, LAST_PIECE_WINS, VyOpponent::COMPUTER);
    win.currentPiece = 7;
    win.level = VyNumberOf(VyLevel::EXPERT);
    SolveRun run = Solve(Put(dir, "win.sav", win));
    EXPECT_EQ(run.status, VySolveStatus::ANSWERED) << run.err;
    EXPECT_EQ(run.out, "place piece 8 on square 16\nvalue: win\n");

    // Player 1 must hand over piece 8, the last one, which wins for player 2: a loss. Player 2 chose
    // first, so that the fifteenth placement was player 1's and player 1 chooses now.
    VySavedGame loss = ClassicGame(VyGameState::PLAYER1_CHOOSES, LAST_PIECE_WINS);
    loss.initialState = VyNumberOf(VyGameState::PLAYER2_CHOOSES);
    run = Solve(Put(dir, "loss.sav", loss));
    EXPECT_EQ(run.status, VySolveStatus::ANSWERED) << run.err;
    EXPECT_EQ(run.out, "hand over piece 8\nvalue: loss\n");

    // The last piece fills the board without a line: a draw, for player 2 as well.
    VySavedGame draw = ClassicGame(VyGameState::PLAYER2_PLACES, TiedButOne());
    draw.currentPiece = TIED_BOARD[15];
    run = Solve(Put(dir, "draw.sav", draw));
    EXPECT_EQ(run.status, VySolveStatus::ANSWERED) << run.err;
    EXPECT_EQ(run.out, "place piece 6 on square 16\nvalue: draw\n");
}

TEST(Solver, TheWinningSquareIsFoundPastAnEmptyOneThatDoesNotWin)
{
    // Squares 15 and 16 empty, player 2 holds piece 10: on square 15 it completes nothing, on square
    // 16 it completes a line.
    VyTestDir dir;
    std::vector<std::pair<int, int>> placed = TiedButOne();
    placed.pop_back();
    VySavedGame saved = ClassicGame(VyGameState::PLAYER2_PLACES, placed);
    saved.currentPiece = TIED_BOARD[14];
    const SolveRun run = Solve(Put(dir, "two.sav", saved), 10000);
    EXPECT_EQ(run.status, VySolveStatus::ANSWERED) << run.err;
    EXPECT_EQ(run.out, "place piece 10 on square 16\nvalue: win\n");
}

TEST(Solver, FilesItCannotAnswerAreRefusedWithAReason)
{
    VyTestDir dir;
    SolveRun run = Solve(dir.Put("broken.sav", "this is no saved game"));
    EXPECT_EQ(run.status, VySolveStatus::UNREADABLE);
    EXPECT_NE(run.err.find("is not a Tolmar saved game"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());

    VyString bytes = SavedBytes(ClassicGame(VyGameState::PLAYER1_CHOOSES, {{0, 1}}));
    run = Solve(dir.Put("short.sav", bytes.substr(0, bytes.size() - 5)));
    EXPECT_EQ(run.status, VySolveStatus::UNREADABLE);
    EXPECT_FALSE(run.err.empty());

    run = Solve(dir.File("missing.sav"));
    EXPECT_EQ(run.status, VySolveStatus::UNREADABLE);
    EXPECT_NE(run.err.find("Could not open"), std::string::npos) << run.err;

    std::vector<std::pair<int, int>> full = TiedButOne();
    full.push_back({15, TIED_BOARD[15]});
    run = Solve(Put(dir, "tied.sav", ClassicGame(VyGameState::GAME_TIED, full)));
    EXPECT_EQ(run.status, VySolveStatus::NOT_IN_PLAY);
    EXPECT_NE(run.err.find("the game is over"), std::string::npos) << run.err;

    run = Solve(Put(dir, "none.sav", ClassicGame(VyGameState::NO_OPPONENT, {})));
    EXPECT_EQ(run.status, VySolveStatus::NOT_IN_PLAY);
    EXPECT_NE(run.err.find("no game is in play"), std::string::npos) << run.err;
}
