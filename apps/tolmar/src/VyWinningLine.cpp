#include "VyWinningLine.h"

#include "vythread/VyTrace.h"

bool VyWinningLine::Find(const std::vector<VySquare>& squares, const std::vector<VyPieceInfo>& pieces,
                         size_t propertyCount, const std::vector<std::vector<int>>& combinations, int& combination,
                         int& property, int& value)
{
    for (size_t c = 0; c < combinations.size(); ++c)
        for (size_t p = 0; p < propertyCount; ++p)
            if (LineShares(squares, pieces, combinations[c], p, value))
            {
                combination = static_cast<int>(c);
                property = static_cast<int>(p);
                return true;
            }
    return false;
}

bool VyWinningLine::LineShares(const std::vector<VySquare>& squares, const std::vector<VyPieceInfo>& pieces,
                               const std::vector<int>& line, size_t property, int& lineValue)
{
    if (line.empty())
        return false;
    lineValue = -1;
    for (int square : line)
    {
        const bool squareValid = square >= 0 && static_cast<size_t>(square) < squares.size();
        VY_ASSERT_TEXT(squareValid, "square>=0 && square<squares.size()");
        if (!squareValid)
            return false;
        const int piece = squares[static_cast<size_t>(square)].piece;
        if (piece == -1)
            return false;
        const bool pieceValid = piece >= 0 && static_cast<size_t>(piece) < pieces.size();
        VY_ASSERT_TEXT(pieceValid, "piece>=0 && piece<m_pieces.size()");
        if (!pieceValid)
            return false;
        const std::vector<int>& values = pieces[static_cast<size_t>(piece)].values;
        // A piece without a value for this property shares nothing.
        if (property >= values.size())
            return false;
        const int value = values[property];
        if (lineValue == -1)
            lineValue = value;
        else if (value != lineValue)
            return false;
    }
    return true;
}
