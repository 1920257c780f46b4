#pragma once

#include "VyExpertSearch.h"

// A hint as MSG_HINT carries it in param1: the square to place the piece in hand on (placing
// states), the piece to hand over (choosing states; after the placement in placing states) and the
// outlook for the player to act. Square and piece are -1 for none. Unpack of a number Pack did not
// make gives square and piece -1 (or out of the set's range: the reader checks) and UNKNOWN.
struct VyHintAnswer
{
    int square = -1;
    int piece = -1;
    VyOutcome outcome = VyOutcome::UNKNOWN;

    // Square and piece must lie in -1..254.
    static int Pack(const VyHintAnswer& answer);
    static VyHintAnswer Unpack(int packed);
    // The message log's line for the outlook, e.g. "You can force a win."
    static const char* OutlookText(VyOutcome outcome);
};
