#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "GameTestHost.h"
#include "TestSets.h"
#include "VyGameRules.h"
#include "VySavedGame.h"
#include "vyio/VyMemFile.h"

// Square s gets piece TIED_BOARD[s]: a full board of the classic set without any line.
constexpr int TIED_BOARD[16] = {8, 0, 14, 12, 1, 4, 11, 10, 6, 2, 7, 13, 3, 15, 9, 5};

// Fifteen pieces of the classic set on squares 1..15 without a line (square, piece); piece 8
// (index 7) is left and completes a line on square 16.
inline const std::vector<std::pair<int, int>> LAST_PIECE_WINS = {
    {0, 4}, {1, 11}, {2, 10}, {3, 13}, {4, 12}, {5, 3}, {6, 6}, {7, 0},
    {8, 1}, {9, 15}, {10, 14}, {11, 5}, {12, 2}, {13, 8}, {14, 9}};

// A saved game of the classic set: the pieces on the squares as given (and in that order in the
// history), nothing chosen, player 1 choosing first.
inline VySavedGame ClassicGame(VyGameState state, const std::vector<std::pair<int, int>>& squarePiece,
                               VyOpponent opponent = VyOpponent::HUMAN)
{
    VySavedGame saved;
    saved.player1Name = "Chris";
    saved.player2Name = opponent == VyOpponent::COMPUTER ? "The computer" : "James";
    saved.state = VyNumberOf(state);
    saved.initialState = VyNumberOf(VyGameState::PLAYER1_CHOOSES);
    saved.opponent = VyNumberOf(opponent);
    saved.locations.assign(16, -1);
    for (auto [square, piece] : squarePiece)
    {
        saved.locations[static_cast<size_t>(piece)] = square;
        saved.history.push_back(piece);
    }
    saved.level = VyNumberOf(VyLevel::EASY);
    saved.setName = "classic";
    return saved;
}

inline VyString SavedBytes(const VySavedGame& saved)
{
    VyMemFile file(VY_IO_WRITE);
    saved.Write(file);
    return VyString(file.GetView());
}

// Rules on the classic set with a recording host, a seeded generator and two named players.
class ClassicRulesTest : public ::testing::Test
{
protected:
    explicit ClassicRulesTest(uint32_t seed) : m_random(seed) {}

    void SetUp() override
    {
        m_rules.SetPieceSet(ClassicSet());
        m_rules.SetPlayerName(VyPlayer::PLAYER1, "Chris");
        m_rules.SetPlayerName(VyPlayer::PLAYER2, "James");
    }

    // Loads a saved game from its bytes (LoadGame).
    bool Load(const VyString& bytes)
    {
        VyMemFile file(bytes.data(), static_cast<int>(bytes.size()));
        return m_rules.LoadGame(file);
    }
    bool Load(const VySavedGame& saved) { return Load(SavedBytes(saved)); }

    // The bytes SaveGame writes now.
    VyString Saved()
    {
        VyMemFile file(VY_IO_WRITE);
        m_rules.SaveGame(file);
        return VyString(file.GetView());
    }

    GameTestHost m_host;
    VyRandom m_random;
    VyGameRules m_rules{m_host, m_random};
};
