#pragma once

#include <memory>
#include <vector>

#include "VyCompactSet.h"
#include "VyGameTypes.h"
#include "VyPieceSet.h"
#include "vythread/VyMessage.h"
#include "vythread/VyRandom.h"

// The position the computer decides on: a copy taken on the window thread when the computer is
// woken, so that the worker never reads the live game. Trial placements go into `squares`.
struct VyComputerPosition
{
    std::vector<VySquare> squares;              // working copy of the board
    std::vector<VyPieceInfo> pieces;            // piece locations and property values
    size_t propertyCount = 0;
    std::vector<std::vector<int>> combinations;
    int currentPiece = -1;                      // the piece to place (placing states)
    VyGameState state = VyGameState::NO_OPPONENT; // the game state when the copy was taken
    VyLevel level = VyLevel::EASY;
    int generation = 0;                         // the rules' position generation at that time
    unsigned int expertMs = 2000;               // the Expert's budget per decision, 0 = none
    // The set in compact form, made once per set by the rules and shared by the copies; null in a
    // hand-made position, for which the decisions make it.
    std::shared_ptr<const VyCompactSet> compact;
};

class VyCompactPosition;

// The computer's decisions, one rule table per level. Each works on a position copy and an injected
// random generator, so that tests and self-play are reproducible. A "random index below n" is
// random.Next() % n. The functions leave the position as they found it. They decide on the compact
// form of the position (VyCompactPosition), which assumes that no line has won yet. The Expert level
// is the worker's VyExpertPlayer; asked here, it decides as Advanced (the Expert's own fallback).
class VyComputerDecision
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

    // The answer for the position's state: {pTarget, MSG_COMPUTER_PIECE or MSG_COMPUTER_SQUARE,
    // choice, generation}. Returns false (after reporting the assertion) when the state asks for no
    // decision or no valid choice exists.
    static bool Decide(VyComputerPosition& position, VyRandom& random, VyMessageTarget* pTarget,
                       VyMessage& answer);
    // The answer that posts choice for the position (a square in a placing state, else a piece);
    // false when choice is no square or piece of the set.
    static bool MakeAnswer(const VyComputerPosition& position, int choice, VyMessageTarget* pTarget,
                           VyMessage& answer);

    // The Advanced score of handing over piece: the triples (empty square i, other off-board piece j,
    // empty square k != i) for which the board with piece on i and j on k has a winning line.
    static int AdvancedScore(VyComputerPosition& position, int piece);

private:
    // The compact set of the position, made when the position has none.
    static std::shared_ptr<const VyCompactSet> CompactSetOf(const VyComputerPosition& position);
    static int LastOffBoardPiece(const VyCompactPosition& board);
    static int RandomOffBoardPiece(const VyCompactPosition& board, VyRandom& random);
    static int RandomEmptySquare(const VyCompactPosition& board, VyRandom& random);
    static int ChooseSafePiece(const VyCompactPosition& board, VyRandom& random);
    static int ChooseAdvancedPiece(VyCompactPosition& board, VyRandom& random);
    static int ChooseSafeSquare(VyCompactPosition& board, int current, VyRandom& random);
    static int AdvancedScore(VyCompactPosition& board, int piece);
    static int AdvancedPairs(const VyCompactPosition& board);
};
