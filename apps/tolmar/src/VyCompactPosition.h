#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "VyCompactSet.h"

struct VyComputerPosition;

// A position on a compact set: which piece stands on each square, the masks of the empty squares
// and of the pieces off the board, and per line the AND of the codes of its pieces so far and how
// many of its squares are still empty. The set must outlive the position.
//
// The win tests assume what every position of a game satisfies: no line has won yet. (A game ends
// with its first win, so the computer never decides on a won board.) HasWin alone tests the whole
// board and makes no such assumption.
class VyCompactPosition
{
public:
    // An empty board with every piece off it.
    explicit VyCompactPosition(const VyCompactSet& set);
    // The pieces where the computer's copy of the game has them.
    VyCompactPosition(const VyCompactSet& set, const VyComputerPosition& position);

    const VyCompactSet& Set() const { return *m_pSet; }
    // The piece on square, -1 for none.
    int PieceOn(int square) const { return m_board[static_cast<size_t>(square)]; }
    bool IsEmpty(int square) const { return m_empty >> square & 1; }
    uint64_t EmptySquares() const { return m_empty; }
    uint64_t OffBoardPieces() const { return m_offBoard; }
    bool IsOffBoard(int piece) const { return m_offBoard >> piece & 1; }

    // Puts an off-board piece on an empty square / takes the piece off a square. Taking off the
    // piece placed last restores its lines as they were; any other is worked out from the board.
    void Place(int piece, int square);
    void Remove(int square);

    // The AND of the codes of the line's pieces (all bits while it has none), and its empty squares.
    uint64_t LineCodes(int line) const { return m_lineAnd[static_cast<size_t>(line)]; }
    int LineEmptyCount(int line) const { return m_lineEmpty[static_cast<size_t>(line)]; }
    // A full line whose pieces share a value, anywhere on the board.
    bool HasWin() const;
    // Whether piece placed on the empty square completes a winning line through it.
    bool WinsAt(int piece, int square) const;
    // The value bits with which a piece placed on the empty square completes a line through it.
    uint64_t WinningValuesAt(int square) const;
    // The value bits with which a piece wins at once: the OR, over the lines with exactly one empty
    // square, of the AND of their pieces' codes. A piece is safe to hand over iff its code has none.
    uint64_t Threats() const;
    // The lowest empty square on which piece wins, or -1.
    int WinningSquare(int piece) const;
    // The off-board pieces whose codes miss the threats.
    uint64_t SafePieces() const;
    // For every empty square s, SafePieces as it would be with the off-board piece placed on s, into
    // safe[s]; the piece must win on none of them. The position stays as it is; the other entries
    // of safe are left alone.
    using SquareMasks = std::array<uint64_t, VyCompactSet::VY_MAX_SQUARES>;
    void SafePiecesAfter(int piece, SquareMasks& safe) const;

private:
    void Reset();
    void RecomputeLines(int square);

    const VyCompactSet* m_pSet;
    std::array<int8_t, VyCompactSet::VY_MAX_SQUARES> m_board{};
    uint64_t m_empty = 0;
    uint64_t m_offBoard = 0;
    std::vector<uint64_t> m_lineAnd;  // AND of the codes on the line; all bits while it is empty
    std::vector<uint8_t> m_lineEmpty; // empty squares on the line
    // The placements that Remove can undo, latest last, and the m_lineAnd values of the lines
    // through each square before it was placed (as many as LinesThrough, in its order).
    std::vector<int8_t> m_placed;
    std::vector<uint64_t> m_saved;
};

// The lowest and the highest set bit's index of a non-zero mask, and the number of set bits.
inline int VyLowestBit(uint64_t mask)
{
    return __builtin_ctzll(mask);
}

inline int VyHighestBit(uint64_t mask)
{
    return 63 - __builtin_clzll(mask);
}

// Without a popcount instruction in the target the builtin becomes a library call; this is faster.
inline int VyBitCount(uint64_t mask)
{
#ifdef __POPCNT__
    return __builtin_popcountll(mask);
#else
    mask -= (mask >> 1) & 0x5555555555555555ULL;
    mask = (mask & 0x3333333333333333ULL) + ((mask >> 2) & 0x3333333333333333ULL);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((mask * 0x0101010101010101ULL) >> 56);
#endif
}
