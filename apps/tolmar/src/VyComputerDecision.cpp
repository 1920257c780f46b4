#include "VyComputerDecision.h"

#include "VyCompactPosition.h"
#include "VyGameTypes.h"
#include "vythread/VyTrace.h"

namespace
{
uint64_t Bit(int index)
{
    return uint64_t{1} << index;
}

// A uniformly drawn member of mask: random indices below count are drawn until one is in it.
// The loop ends because mask has a member below count.
int DrawFrom(uint64_t mask, int count, VyRandom& random)
{
    for (;;)
    {
        const int index = random.Below(count);
        if (mask >> index & 1)
            return index;
    }
}

// The index-th member of mask, counted from its lowest bit.
int NthMember(uint64_t mask, int index)
{
    for (int i = 0; i < index; ++i)
        mask &= mask - 1;
    return VyLowestBit(mask);
}
} // namespace

std::shared_ptr<const VyCompactSet> VyComputerDecision::CompactSetOf(const VyComputerPosition& position)
{
    if (position.compact)
        return position.compact;
    return std::make_shared<const VyCompactSet>(position.squares.size(), position.pieces, position.propertyCount,
                                                position.combinations);
}

int VyComputerDecision::FindWinningSquare(VyComputerPosition& position, int piece)
{
    const std::shared_ptr<const VyCompactSet> set = CompactSetOf(position);
    return VyCompactPosition(*set, position).WinningSquare(piece);
}

bool VyComputerDecision::IsSafe(VyComputerPosition& position, int piece)
{
    return FindWinningSquare(position, piece) == -1;
}

int VyComputerDecision::LastOffBoardPiece(const VyCompactPosition& board)
{
    const uint64_t off = board.OffBoardPieces();
    return off == 0 ? -1 : 63 - __builtin_clzll(off);
}

int VyComputerDecision::RandomOffBoardPiece(const VyCompactPosition& board, VyRandom& random)
{
    if (board.OffBoardPieces() == 0)
        return -1;
    return DrawFrom(board.OffBoardPieces(), board.Set().PieceCount(), random);
}

int VyComputerDecision::RandomEmptySquare(const VyCompactPosition& board, VyRandom& random)
{
    if (board.EmptySquares() == 0)
        return -1;
    return DrawFrom(board.EmptySquares(), board.Set().SquareCount(), random);
}

// Intermediate and Hard: a uniformly drawn safe piece, else the off-board piece with the highest index.
int VyComputerDecision::ChooseSafePiece(const VyCompactPosition& board, VyRandom& random)
{
    const uint64_t safe = board.SafePieces();
    if (safe == 0)
        return LastOffBoardPiece(board);
    return DrawFrom(safe, board.Set().PieceCount(), random);
}

// Piece stands on square i already: the pairs (off-board piece j, empty square k) for which j on k
// makes a winning line. Without a win on the board, a line j completes runs through k.
int VyComputerDecision::AdvancedPairs(const VyCompactPosition& board)
{
    const uint64_t others = board.OffBoardPieces();
    const uint64_t empty = board.EmptySquares();
    if (board.HasWin())
        return VyBitCount(others) * VyBitCount(empty);
    int pairs = 0;
    for (uint64_t k = empty; k != 0; k &= k - 1)
    {
        const uint64_t winning = board.WinningValuesAt(VyLowestBit(k));
        if (winning == 0)
            continue;
        for (uint64_t j = others; j != 0; j &= j - 1)
            if ((board.Set().Code(VyLowestBit(j)) & winning) != 0)
                ++pairs;
    }
    return pairs;
}

int VyComputerDecision::AdvancedScore(VyCompactPosition& board, int piece)
{
    int score = 0;
    for (uint64_t i = board.EmptySquares(); i != 0; i &= i - 1)
    {
        board.Place(piece, VyLowestBit(i));
        score += AdvancedPairs(board);
        board.Remove(VyLowestBit(i));
    }
    return score;
}

int VyComputerDecision::AdvancedScore(VyComputerPosition& position, int piece)
{
    const std::shared_ptr<const VyCompactSet> set = CompactSetOf(position);
    VyCompactPosition board(*set, position);
    return AdvancedScore(board, piece);
}

// Advanced: among the safe pieces, the first with the strictly highest score (a random safe piece
// when every score is 0); the highest-index off-board piece when none is safe.
int VyComputerDecision::ChooseAdvancedPiece(VyCompactPosition& board, VyRandom& random)
{
    const uint64_t safe = board.SafePieces();
    if (safe == 0)
        return LastOffBoardPiece(board);
    int pick = VyLowestBit(safe);
    if (VyBitCount(safe) > 1)
        pick = NthMember(safe, random.Below(VyBitCount(safe)));
    int best = 0;
    for (uint64_t rest = safe; rest != 0; rest &= rest - 1)
    {
        const int score = AdvancedScore(board, VyLowestBit(rest));
        if (score > best)
        {
            best = score;
            pick = VyLowestBit(rest);
        }
    }
    return pick;
}

int VyComputerDecision::ComputerChoosePiece(VyComputerPosition& position, VyRandom& random)
{
    const std::shared_ptr<const VyCompactSet> set = CompactSetOf(position);
    VyCompactPosition board(*set, position);
    switch (position.level)
    {
    case VyLevel::INTERMEDIATE:
    case VyLevel::HARD:
        return ChooseSafePiece(board, random);
    case VyLevel::ADVANCED:
    case VyLevel::EXPERT: // asked directly: the Expert's own fallback
        return ChooseAdvancedPiece(board, random);
    case VyLevel::BEGINNER:
    case VyLevel::EASY:
        break;
    }
    return RandomOffBoardPiece(board, random);
}

// Hard and Advanced: a random square after which the computer still has a safe piece to hand over.
int VyComputerDecision::ChooseSafeSquare(VyCompactPosition& board, int current, VyRandom& random)
{
    uint64_t safeSquares = 0;
    for (uint64_t rest = board.EmptySquares(); rest != 0; rest &= rest - 1)
    {
        const int s = VyLowestBit(rest);
        board.Place(current, s);
        if (board.SafePieces() != 0)
            safeSquares |= Bit(s);
        board.Remove(s);
    }
    if (safeSquares == 0)
        return RandomEmptySquare(board, random);
    return NthMember(safeSquares, random.Below(VyBitCount(safeSquares)));
}

int VyComputerDecision::ComputerChooseSquare(VyComputerPosition& position, VyRandom& random)
{
    const int current = position.currentPiece;
    if (current < 0 || static_cast<size_t>(current) >= position.pieces.size())
        return -1;
    const std::shared_ptr<const VyCompactSet> set = CompactSetOf(position);
    VyCompactPosition board(*set, position);
    if (position.level == VyLevel::BEGINNER)
        return RandomEmptySquare(board, random);
    const int winning = board.WinningSquare(current);
    if (winning != -1)
        return winning;
    if (position.level == VyLevel::HARD || position.level == VyLevel::ADVANCED || position.level == VyLevel::EXPERT)
        return ChooseSafeSquare(board, current, random);
    return RandomEmptySquare(board, random);
}

bool VyComputerDecision::MakeAnswer(const VyComputerPosition& position, int choice, VyMessageTarget* pTarget,
                                    VyMessage& answer)
{
    const bool bPlacing = IsPlacingState(position.state);
    const size_t count = bPlacing ? position.squares.size() : position.pieces.size();
    answer = {pTarget, bPlacing ? MSG_COMPUTER_SQUARE : MSG_COMPUTER_PIECE, choice, position.generation};
    return choice >= 0 && static_cast<size_t>(choice) < count;
}

bool VyComputerDecision::Decide(VyComputerPosition& position, VyRandom& random, VyMessageTarget* pTarget,
                                VyMessage& answer)
{
    if (position.state == VyGameState::PLAYER2_CHOOSES)
    {
        const bool valid = MakeAnswer(position, ComputerChoosePiece(position, random), pTarget, answer);
        VY_ASSERT_TEXT(valid, "option>=0 && option<game.GetNumberOfPieces()");
        return valid;
    }
    if (position.state == VyGameState::PLAYER2_PLACES)
    {
        const bool valid = MakeAnswer(position, ComputerChooseSquare(position, random), pTarget, answer);
        VY_ASSERT_TEXT(valid, "option>=0 && option<game.GetNumberOfSquares()");
        return valid;
    }
    VY_ASSERT_TEXT(false, "false");
    return false;
}
