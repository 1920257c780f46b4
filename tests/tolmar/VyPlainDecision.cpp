#include "VyPlainDecision.h"

#include <algorithm>

#include "VyGameTypes.h"
#include "VyWinningLine.h"

bool VyPlainDecision::HasWin(const VyComputerPosition& position)
{
    int combination = -1;
    int property = -1;
    int value = -1;
    return VyWinningLine::Find(position.squares, position.pieces, position.propertyCount, position.combinations,
                               combination, property, value);
}

std::vector<int> VyPlainDecision::OffBoardPieces(const VyComputerPosition& position)
{
    std::vector<int> pieces;
    for (size_t i = 0; i < position.pieces.size(); ++i)
        if (position.pieces[i].location == -1)
            pieces.push_back(static_cast<int>(i));
    return pieces;
}

std::vector<int> VyPlainDecision::EmptySquares(const VyComputerPosition& position)
{
    std::vector<int> squares;
    for (size_t s = 0; s < position.squares.size(); ++s)
        if (position.squares[s].piece == -1)
            squares.push_back(static_cast<int>(s));
    return squares;
}

int VyPlainDecision::FindWinningSquare(VyComputerPosition& position, int piece)
{
    for (size_t s = 0; s < position.squares.size(); ++s)
    {
        VySquare& square = position.squares[s];
        if (square.piece != -1)
            continue;
        square.piece = piece;
        const bool wins = HasWin(position);
        square.piece = -1;
        if (wins)
            return static_cast<int>(s);
    }
    return -1;
}

bool VyPlainDecision::IsSafe(VyComputerPosition& position, int piece)
{
    return FindWinningSquare(position, piece) == -1;
}

std::vector<int> VyPlainDecision::SafePieces(VyComputerPosition& position)
{
    std::vector<int> safe;
    for (int piece : OffBoardPieces(position))
        if (IsSafe(position, piece))
            safe.push_back(piece);
    return safe;
}

bool VyPlainDecision::HasSafePiece(VyComputerPosition& position, int except)
{
    for (size_t i = 0; i < position.pieces.size(); ++i)
    {
        const int piece = static_cast<int>(i);
        if (position.pieces[i].location == -1 && piece != except && IsSafe(position, piece))
            return true;
    }
    return false;
}

int VyPlainDecision::LastOffBoardPiece(const VyComputerPosition& position)
{
    for (size_t i = position.pieces.size(); i-- > 0;)
        if (position.pieces[i].location == -1)
            return static_cast<int>(i);
    return -1;
}

// The draw loops below end because a match exists.
int VyPlainDecision::RandomOffBoardPiece(const VyComputerPosition& position, VyRandom& random)
{
    if (std::none_of(position.pieces.begin(), position.pieces.end(),
                     [](const VyPieceInfo& piece) { return piece.location == -1; }))
        return -1;
    const int count = static_cast<int>(position.pieces.size());
    for (;;)
    {
        const int piece = random.Below(count);
        if (position.pieces[static_cast<size_t>(piece)].location == -1)
            return piece;
    }
}

int VyPlainDecision::RandomEmptySquare(const VyComputerPosition& position, VyRandom& random)
{
    if (std::none_of(position.squares.begin(), position.squares.end(),
                     [](const VySquare& square) { return square.piece == -1; }))
        return -1;
    const int count = static_cast<int>(position.squares.size());
    for (;;)
    {
        const int square = random.Below(count);
        if (position.squares[static_cast<size_t>(square)].piece == -1)
            return square;
    }
}

// Intermediate and Hard: a uniformly drawn safe piece, else the off-board piece with the highest index.
int VyPlainDecision::ChooseSafePiece(VyComputerPosition& position, VyRandom& random)
{
    const std::vector<int> safe = SafePieces(position);
    if (safe.empty())
        return LastOffBoardPiece(position);
    std::vector<bool> isSafe(position.pieces.size(), false);
    for (int piece : safe)
        isSafe[static_cast<size_t>(piece)] = true;
    const int count = static_cast<int>(position.pieces.size());
    for (;;)
    {
        const int piece = random.Below(count);
        if (isSafe[static_cast<size_t>(piece)])
            return piece;
    }
}

int VyPlainDecision::AdvancedScore(VyComputerPosition& position, int piece)
{
    const std::vector<int> empty = EmptySquares(position);
    const std::vector<int> offBoard = OffBoardPieces(position);
    int score = 0;
    for (int i : empty)
    {
        position.squares[static_cast<size_t>(i)].piece = piece;
        for (int j : offBoard)
        {
            if (j == piece)
                continue;
            for (int k : empty)
            {
                if (k == i)
                    continue;
                position.squares[static_cast<size_t>(k)].piece = j;
                if (HasWin(position))
                    ++score;
                position.squares[static_cast<size_t>(k)].piece = -1;
            }
        }
        position.squares[static_cast<size_t>(i)].piece = -1;
    }
    return score;
}

// Advanced: among the safe pieces, the first with the strictly highest score (a random safe piece
// when every score is 0); the highest-index off-board piece when none is safe.
int VyPlainDecision::ChooseAdvancedPiece(VyComputerPosition& position, VyRandom& random)
{
    const std::vector<int> safe = SafePieces(position);
    if (safe.empty())
        return LastOffBoardPiece(position);

    int pick = safe.front();
    if (safe.size() > 1)
        pick = safe[static_cast<size_t>(random.Below(static_cast<int>(safe.size())))];

    int best = 0;
    for (int piece : safe)
    {
        const int score = AdvancedScore(position, piece);
        if (score > best)
        {
            best = score;
            pick = piece;
        }
    }
    return pick;
}

int VyPlainDecision::ComputerChoosePiece(VyComputerPosition& position, VyRandom& random)
{
    switch (position.level)
    {
    case VyLevel::INTERMEDIATE:
    case VyLevel::HARD:
        return ChooseSafePiece(position, random);
    case VyLevel::ADVANCED:
        return ChooseAdvancedPiece(position, random);
    case VyLevel::BEGINNER:
    case VyLevel::EASY:
    case VyLevel::EXPERT: // the reference knows the five rule-table levels only
        break;
    }
    return RandomOffBoardPiece(position, random);
}

// Hard and Advanced: a random square after which the computer still has a safe piece to hand over.
int VyPlainDecision::ChooseSafeSquare(VyComputerPosition& position, VyRandom& random)
{
    const int current = position.currentPiece;
    std::vector<int> safeSquares;
    for (int s : EmptySquares(position))
    {
        position.squares[static_cast<size_t>(s)].piece = current;
        if (HasSafePiece(position, current))
            safeSquares.push_back(s);
        position.squares[static_cast<size_t>(s)].piece = -1;
    }
    if (safeSquares.empty())
        return RandomEmptySquare(position, random);
    return safeSquares[static_cast<size_t>(random.Below(static_cast<int>(safeSquares.size())))];
}

int VyPlainDecision::ComputerChooseSquare(VyComputerPosition& position, VyRandom& random)
{
    const int current = position.currentPiece;
    if (current < 0 || static_cast<size_t>(current) >= position.pieces.size())
        return -1;
    if (position.level == VyLevel::BEGINNER)
        return RandomEmptySquare(position, random);
    const int winning = FindWinningSquare(position, current);
    if (winning != -1)
        return winning;
    if (position.level == VyLevel::HARD || position.level == VyLevel::ADVANCED)
        return ChooseSafeSquare(position, random);
    return RandomEmptySquare(position, random);
}
