#pragma once

#include <vector>

#include "VyComputerDecision.h"
#include "vythread/VyRandom.h"

// The levels' decisions as the game made them on the plain position, one full-board win test per
// trial placement: the reference that the compact decisions must match choice for choice and draw
// for draw.
class VyPlainDecision
{
public:
    // The lowest-numbered empty square on which piece completes a winning line, or -1.
    static int FindWinningSquare(VyComputerPosition& position, int piece);
    // Whether the opponent cannot win at once with piece (FindWinningSquare gives -1).
    static bool IsSafe(VyComputerPosition& position, int piece);

    // The piece the opponent must place next, by level; -1 when no piece is off the board.
    static int ComputerChoosePiece(VyComputerPosition& position, VyRandom& random);
    // Where to place position.currentPiece, by level; -1 when no square is empty.
    static int ComputerChooseSquare(VyComputerPosition& position, VyRandom& random);

    // The Advanced score of handing over piece: the triples (empty square i, other off-board piece j,
    // empty square k != i) for which the board with piece on i and j on k has a winning line.
    static int AdvancedScore(VyComputerPosition& position, int piece);

private:
    static bool HasWin(const VyComputerPosition& position);
    static std::vector<int> OffBoardPieces(const VyComputerPosition& position);
    static std::vector<int> EmptySquares(const VyComputerPosition& position);
    // The off-board pieces the opponent cannot win with at once, in piece order.
    static std::vector<int> SafePieces(VyComputerPosition& position);
    // Whether an off-board piece other than except is safe to hand over.
    static bool HasSafePiece(VyComputerPosition& position, int except);
    // The off-board piece with the highest index; -1 when none.
    static int LastOffBoardPiece(const VyComputerPosition& position);
    static int RandomOffBoardPiece(const VyComputerPosition& position, VyRandom& random);
    static int RandomEmptySquare(const VyComputerPosition& position, VyRandom& random);
    static int ChooseSafePiece(VyComputerPosition& position, VyRandom& random);
    static int ChooseAdvancedPiece(VyComputerPosition& position, VyRandom& random);
    static int ChooseSafeSquare(VyComputerPosition& position, VyRandom& random);
};
