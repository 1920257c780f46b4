#include "VyExpertPlayer.h"

#include "VyCompactPosition.h"

VyExpertPlayer::VyExpertPlayer(VyRandom& random) : m_random(random)
{
}

VyExpertPlayer::~VyExpertPlayer() = default;

VyExpertSearch& VyExpertPlayer::SearchFor(const VyComputerPosition& position)
{
    std::shared_ptr<const VyCompactSet> set = position.compact;
    if (!set)
        set = std::make_shared<const VyCompactSet>(position.squares.size(), position.pieces, position.propertyCount,
                                                   position.combinations);
    if (set != m_pSet || !m_pSearch)
    {
        m_pSearch.reset();
        m_pSet = std::move(set);
        m_pSearch = std::make_unique<VyExpertSearch>(*m_pSet, m_random);
    }
    return *m_pSearch;
}

VyExpertResult VyExpertPlayer::Fallback(const VyComputerPosition& position, VyExpertResult result)
{
    VyComputerPosition advanced = position;
    advanced.level = VyLevel::ADVANCED;
    if (IsPlacingState(position.state) && result.square == -1)
        result.square = VyComputerDecision::ComputerChooseSquare(advanced, m_random);
    if (IsChoosingState(position.state) && result.piece == -1)
        result.piece = VyComputerDecision::ComputerChoosePiece(advanced, m_random);
    return result;
}

VyExpertResult VyExpertPlayer::Decide(const VyComputerPosition& position, const VyExpertLimits& limits)
{
    VyExpertSearch& search = SearchFor(position);
    const VyCompactPosition board(*m_pSet, position);
    if (IsPlacingState(position.state))
    {
        const int piece = position.currentPiece;
        if (piece < 0 || piece >= m_pSet->PieceCount() || !board.IsOffBoard(piece) || board.EmptySquares() == 0)
            return VyExpertResult();
        return Fallback(position, search.Place(board, piece, limits));
    }
    if (!IsChoosingState(position.state) || board.OffBoardPieces() == 0)
        return VyExpertResult();
    return Fallback(position, search.Choose(board, limits));
}
