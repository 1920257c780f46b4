#pragma once

#include <map>

#include "VyComputerDecision.h"
#include "VyGameTypes.h"

// A computer position on the given set with the given pieces on the given squares (square -> piece).
// Shared by the decision tests and the computer benchmark.
inline VyComputerPosition MakePosition(const VyPieceSet& set, const std::map<int, int>& squareToPiece, VyLevel level,
                                       VyGameState state = VyGameState::PLAYER2_CHOOSES, int currentPiece = -1)
{
    VyComputerPosition position;
    position.squares = set.squares;
    position.pieces = set.pieces;
    position.propertyCount = set.properties.size();
    position.combinations = set.combinations;
    for (auto [square, piece] : squareToPiece)
    {
        position.squares[static_cast<size_t>(square)].piece = piece;
        position.pieces[static_cast<size_t>(piece)].location = square;
    }
    position.level = level;
    position.state = state;
    position.currentPiece = currentPiece;
    return position;
}
