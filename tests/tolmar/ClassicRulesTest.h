#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "GameTestHost.h"
#include "TestSets.h"
#include "VyGameRules.h"

// Square s gets piece TIED_BOARD[s]: a full board of the classic set without any line.
constexpr int TIED_BOARD[16] = {8, 0, 14, 12, 1, 4, 11, 10, 6, 2, 7, 13, 3, 15, 9, 5};

// Rules on the classic set with a recording host, a seeded generator and two named players.
class ClassicRulesTest : public ::testing::Test
{
protected:
    explicit ClassicRulesTest(uint32_t seed) : m_random(seed) {}

    void SetUp() override
    {
        m_rules.SetPieceSet(ClassicSet());
        m_rules.m_player1Name = "Chris";
        m_rules.m_player2Name = "James";
    }

    GameTestHost m_host;
    VyRandom m_random;
    VyGameRules m_rules{m_host, m_random};
};
