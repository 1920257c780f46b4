#pragma once

#include <set>

#include "VyFuzzCheck.h"
#include "VyGameRules.h"

// What every position of a game holds, whatever file or set it came from: pieces only on squares
// that exist, at most one per square, and a history of exactly the placed pieces, each once.
inline void VyFuzzCheckPosition(const VyGameRules& rules)
{
    std::set<int> onBoard;
    std::set<int> squares;
    for (size_t piece = 0; piece < rules.GetPieces().size(); ++piece)
    {
        const int square = rules.GetPieces()[piece].location;
        if (square < 0)
            continue;
        VyFuzzCheck(square < rules.GetNumberOfSquares(), "a piece on a square that does not exist");
        VyFuzzCheck(squares.insert(square).second, "two pieces on one square");
        onBoard.insert(static_cast<int>(piece));
    }
    const std::set<int> history(rules.GetHistory().begin(), rules.GetHistory().end());
    VyFuzzCheck(history.size() == rules.GetHistory().size(), "a piece twice in the history");
    VyFuzzCheck(history == onBoard, "the history is not the placed pieces");
}
