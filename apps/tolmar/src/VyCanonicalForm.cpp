#include "VyCanonicalForm.h"

#include <algorithm>

namespace
{
uint64_t Mix(uint64_t hash, uint64_t value)
{
    uint64_t z = hash + 0x9E3779B97F4A7C15ull + value;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
} // namespace

VyCanonicalForm::VyCanonicalForm(const VyCompactSet& set, const std::vector<VySymmetryMap>& boardGroup,
                                 const std::vector<VySymmetryMap>& pieceGroup)
    : m_set(set), m_pBoardGroup(&boardGroup), m_pPieceGroup(&pieceGroup)
{
    const auto pieces = static_cast<size_t>(set.PieceCount());
    m_smallestImage.assign(pieces, EMPTY);
    m_toSmallest.assign(pieces, {});
    for (size_t piece = 0; piece < pieces; ++piece)
        for (size_t g = 0; g < pieceGroup.size(); ++g)
        {
            const uint8_t image = pieceGroup[g].image[piece];
            if (image < m_smallestImage[piece])
            {
                m_smallestImage[piece] = image;
                m_toSmallest[piece].clear();
            }
            if (image == m_smallestImage[piece])
                m_toSmallest[piece].push_back(static_cast<int>(g));
        }
}

uint8_t VyCanonicalForm::Read(const VyCompactPosition& board, const Transform& pair, int t) const
{
    const int square = BoardMap(pair.board).inverse[static_cast<size_t>(t)];
    const int piece = board.PieceOn(square);
    return piece < 0 ? EMPTY : PieceMap(pair.pieces).image[static_cast<size_t>(piece)];
}

int VyCanonicalForm::FirstFilled(const VyCompactPosition& board, uint64_t& hash)
{
    const int squares = m_set.SquareCount();
    const auto boards = static_cast<int>(m_pBoardGroup->size());
    for (int t = 0; t < squares; ++t)
    {
        uint8_t smallest = EMPTY;
        for (int b = 0; b < boards; ++b)
        {
            const int piece = board.PieceOn(BoardMap(b).inverse[static_cast<size_t>(t)]);
            if (piece >= 0)
                smallest = std::min(smallest, m_smallestImage[static_cast<size_t>(piece)]);
        }
        hash = Mix(hash, smallest);
        if (smallest == EMPTY)
            continue;
        m_pairs.clear();
        for (int b = 0; b < boards; ++b)
        {
            const int piece = board.PieceOn(BoardMap(b).inverse[static_cast<size_t>(t)]);
            if (piece >= 0 && m_smallestImage[static_cast<size_t>(piece)] == smallest)
                for (int g : m_toSmallest[static_cast<size_t>(piece)])
                    m_pairs.push_back({b, g});
        }
        return t;
    }
    return squares;
}

void VyCanonicalForm::KeepSmallest(const VyCompactPosition& board, int t, uint64_t& hash)
{
    uint8_t smallest = EMPTY;
    for (const Transform& pair : m_pairs)
        smallest = std::min(smallest, Read(board, pair, t));
    if (m_pairs.size() > 1)
    {
        m_next.clear();
        for (const Transform& pair : m_pairs)
            if (Read(board, pair, t) == smallest)
                m_next.push_back(pair);
        m_pairs.swap(m_next);
    }
    hash = Mix(hash, smallest);
}

void VyCanonicalForm::KeepSmallestHand(int hand, uint64_t& hash)
{
    if (hand < 0)
    {
        hash = Mix(hash, EMPTY);
        return;
    }
    uint8_t smallest = EMPTY;
    for (const Transform& pair : m_pairs)
        smallest = std::min(smallest, PieceMap(pair.pieces).image[static_cast<size_t>(hand)]);
    for (const Transform& pair : m_pairs)
        if (PieceMap(pair.pieces).image[static_cast<size_t>(hand)] == smallest)
        {
            m_pairs.front() = pair;
            break;
        }
    hash = Mix(hash, smallest);
}

uint64_t VyCanonicalForm::Key(const VyCompactPosition& board, int hand, Transform& transform)
{
    uint64_t hash = 0;
    const int first = FirstFilled(board, hash);
    if (first == m_set.SquareCount())
    {
        // An empty board: every board symmetry reads alike; the hand alone decides.
        m_pairs.clear();
        for (int g = 0; g < static_cast<int>(m_pPieceGroup->size()); ++g)
            m_pairs.push_back({0, g});
    }
    for (int t = first + 1; t < m_set.SquareCount(); ++t)
        KeepSmallest(board, t, hash);
    KeepSmallestHand(hand, hash);
    transform = m_pairs.front();
    return hash;
}
