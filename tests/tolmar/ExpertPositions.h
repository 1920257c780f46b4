#pragma once

#include <cstdint>
#include <random>

#include "VyCompactPosition.h"

// A position of a game played by random safe moves: placements pieces placed, each on a random
// square after which a safe piece exists, then a random safe piece handed over (the one in hand).
// No line is won. Tries again from the start when the random play runs into a lost position.
// Shared by the Expert's tests and benchmarks.
inline VyCompactPosition PlayedPosition(const VyCompactSet& set, int placements, uint32_t seed, int& hand)
{
    std::mt19937 engine(seed);
    auto randomMember = [&engine](uint64_t mask) {
        int index = static_cast<int>(engine() % static_cast<unsigned>(VyBitCount(mask)));
        while (index-- > 0)
            mask &= mask - 1;
        return VyLowestBit(mask);
    };
    for (;;)
    {
        VyCompactPosition board(set);
        hand = randomMember(board.OffBoardPieces());
        bool lost = false;
        for (int n = 0; n < placements && !lost; ++n)
        {
            uint64_t squares = 0;
            for (uint64_t rest = board.EmptySquares(); rest != 0; rest &= rest - 1)
            {
                board.Place(hand, VyLowestBit(rest));
                if (!board.HasWin() && board.SafePieces() != 0)
                    squares |= uint64_t{1} << VyLowestBit(rest);
                board.Remove(VyLowestBit(rest));
            }
            lost = squares == 0;
            if (lost)
                break;
            board.Place(hand, randomMember(squares));
            hand = randomMember(board.SafePieces());
        }
        if (!lost)
            return board;
    }
}
