#pragma once

#include <vector>

#include "VyPieceSet.h"

// The win test on a list of squares (the live board or a copy): the first combination, in list
// order, whose squares all hold pieces sharing a value of some property, and the first such property
// in property order. A combination without squares never wins. Broken set data (a combination naming
// a missing square, a square naming a missing piece) is reported as a failed assertion and that line
// does not win.
class VyWinningLine
{
public:
    // True when a line wins; then combination, property and value (the shared value index) name it.
    static bool Find(const std::vector<VySquare>& squares, const std::vector<VyPieceInfo>& pieces,
                     size_t propertyCount, const std::vector<std::vector<int>>& combinations, int& combination,
                     int& property, int& value);

private:
    static bool LineShares(const std::vector<VySquare>& squares, const std::vector<VyPieceInfo>& pieces,
                           const std::vector<int>& line, size_t property, int& lineValue);
};
