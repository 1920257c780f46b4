#include "VyGameTypes.h"

namespace
{
// The enumeration value of number when it lies in first..last, which must be contiguous.
template <class Enum> std::optional<Enum> InRange(int number, Enum first, Enum last)
{
    if (number < VyNumberOf(first) || number > VyNumberOf(last))
        return std::nullopt;
    return static_cast<Enum>(number);
}
} // namespace

std::optional<VyGameState> VyGameStateFromNumber(int number)
{
    return InRange(number, VyGameState::PLAYER1_CHOOSES, VyGameState::AWAITING_ACCEPT);
}

std::optional<VyOpponent> VyOpponentFromNumber(int number)
{
    return InRange(number, VyOpponent::HUMAN, VyOpponent::COMPUTER);
}

std::optional<VyLevel> VyLevelFromNumber(int number)
{
    return InRange(number, VyLevel::BEGINNER, VyLevel::EXPERT);
}

std::optional<VyFirstPlayer> VyFirstPlayerFromNumber(int number)
{
    return InRange(number, VyFirstPlayer::PLAYER1, VyFirstPlayer::RANDOM);
}

bool IsPlacingState(VyGameState state)
{
    return state == VyGameState::PLAYER1_PLACES || state == VyGameState::PLAYER2_PLACES;
}

bool IsChoosingState(VyGameState state)
{
    return state == VyGameState::PLAYER1_CHOOSES || state == VyGameState::PLAYER2_CHOOSES;
}

const char* LevelName(VyLevel level)
{
    switch (level)
    {
    case VyLevel::BEGINNER: return "Beginner";
    case VyLevel::EASY: return "Easy";
    case VyLevel::INTERMEDIATE: return "Intermediate";
    case VyLevel::HARD: return "Hard";
    case VyLevel::ADVANCED: return "Advanced";
    case VyLevel::EXPERT: return "Expert";
    }
    return "";
}
