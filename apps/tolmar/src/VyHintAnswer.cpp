#include "VyHintAnswer.h"

namespace
{
constexpr int FIELD_BITS = 8;
constexpr int FIELD_MASK = (1 << FIELD_BITS) - 1;

VyOutcome OutcomeFromNumber(int number)
{
    switch (number)
    {
    case 1: return VyOutcome::WIN;
    case 2: return VyOutcome::DRAW;
    case 3: return VyOutcome::LOSS;
    default: return VyOutcome::UNKNOWN;
    }
}

int NumberOf(VyOutcome outcome)
{
    switch (outcome)
    {
    case VyOutcome::WIN: return 1;
    case VyOutcome::DRAW: return 2;
    case VyOutcome::LOSS: return 3;
    case VyOutcome::UNKNOWN: break;
    }
    return 0;
}
} // namespace

int VyHintAnswer::Pack(const VyHintAnswer& answer)
{
    const int square = (answer.square + 1) & FIELD_MASK;
    const int piece = (answer.piece + 1) & FIELD_MASK;
    return square | (piece << FIELD_BITS) | (NumberOf(answer.outcome) << (2 * FIELD_BITS));
}

VyHintAnswer VyHintAnswer::Unpack(int packed)
{
    VyHintAnswer answer;
    if (packed < 0)
        return answer;
    answer.square = (packed & FIELD_MASK) - 1;
    answer.piece = ((packed >> FIELD_BITS) & FIELD_MASK) - 1;
    answer.outcome = OutcomeFromNumber(packed >> (2 * FIELD_BITS));
    return answer;
}

const char* VyHintAnswer::OutlookText(VyOutcome outcome)
{
    switch (outcome)
    {
    case VyOutcome::WIN: return "You can force a win.";
    case VyOutcome::DRAW: return "A draw is the best you can get.";
    case VyOutcome::LOSS: return "Every move loses against perfect play.";
    case VyOutcome::UNKNOWN: break;
    }
    return "No sure outcome yet.";
}
