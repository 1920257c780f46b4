#pragma once

#include <memory>

#include "VyComputerDecision.h"
#include "VyExpertSearch.h"
#include "vythread/VyRandom.h"

// The Expert level on a copy of the game: the exact search (VyExpertSearch) for the player to act,
// kept from one decision to the next so that what it has solved serves the next move, and made
// anew when the set changes. Where the limits end the search before its first pass, the Advanced
// level's choice is taken (outcome UNKNOWN). One player per thread: it is not safe to share.
class VyExpertPlayer
{
public:
    explicit VyExpertPlayer(VyRandom& random = VyRandom::Global());
    ~VyExpertPlayer();
    VyExpertPlayer(const VyExpertPlayer&) = delete;
    VyExpertPlayer& operator=(const VyExpertPlayer&) = delete;

    // In a placing state (PLAYER1_PLACES, PLAYER2_PLACES) the square for position.currentPiece and
    // the piece to hand over after it; in a choosing state the piece to hand over. Any other state,
    // or a placing state without a valid piece in hand, answers square and piece -1.
    VyExpertResult Decide(const VyComputerPosition& position, const VyExpertLimits& limits);

private:
    VyExpertSearch& SearchFor(const VyComputerPosition& position);
    VyExpertResult Fallback(const VyComputerPosition& position, VyExpertResult result);

    VyRandom& m_random;
    std::shared_ptr<const VyCompactSet> m_pSet;
    std::unique_ptr<VyExpertSearch> m_pSearch;
};
