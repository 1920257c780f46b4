#pragma once

#include <cstdint>
#include <vector>

#include "VyCompactPosition.h"
#include "VySymmetryMap.h"

// The canonical form of a position with a piece in hand under the symmetries of a set: of all the
// images of the position under (board symmetry b, piece symmetry g) (the piece on square s goes to
// square b(s) as piece g(piece), the piece in hand becomes g(hand)), the one that reads smallest,
// square by square from square 0 (an empty square reads after every piece) and then the piece in
// hand. Every symmetric image of a position has the same canonical form, and positions with the same
// form have the same value. The key is a 64-bit hash of that reading.
//
// It is found without making every image: the board symmetries that put a piece on the first square
// that any of them fills are kept, with the piece symmetries that give that piece its smallest
// image, and each further square keeps only the pairs that read smallest there.
class VyCanonicalForm
{
public:
    // The transform that produced the form: indices into the two groups.
    struct Transform
    {
        int board = 0;
        int pieces = 0;
    };

    // The groups must hold the identity first and outlive the form.
    VyCanonicalForm(const VyCompactSet& set, const std::vector<VySymmetryMap>& boardGroup,
                    const std::vector<VySymmetryMap>& pieceGroup);

    // The key of board with hand in hand, and one transform that carries it to its canonical form.
    uint64_t Key(const VyCompactPosition& board, int hand, Transform& transform);

    const VySymmetryMap& BoardMap(int index) const { return (*m_pBoardGroup)[static_cast<size_t>(index)]; }
    const VySymmetryMap& PieceMap(int index) const { return (*m_pPieceGroup)[static_cast<size_t>(index)]; }

private:
    static constexpr uint8_t EMPTY = 0xFF;

    // The reading of square t under the pair.
    uint8_t Read(const VyCompactPosition& board, const Transform& pair, int t) const;
    // The first square that a board symmetry fills, with the pairs that read smallest there.
    int FirstFilled(const VyCompactPosition& board, uint64_t& hash);
    void KeepSmallest(const VyCompactPosition& board, int t, uint64_t& hash);
    void KeepSmallestHand(int hand, uint64_t& hash);

    const VyCompactSet& m_set;
    const std::vector<VySymmetryMap>* m_pBoardGroup;
    const std::vector<VySymmetryMap>* m_pPieceGroup;
    std::vector<uint8_t> m_smallestImage;         // per piece, its smallest image under the piece group
    std::vector<std::vector<int>> m_toSmallest;   // per piece, the piece symmetries giving it
    std::vector<Transform> m_pairs;               // the candidates while reading
    std::vector<Transform> m_next;
};
