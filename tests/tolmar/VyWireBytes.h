#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "VyChatMsg.h"
#include "VyGameMsg.h"
#include "VyMoveMsg.h"
#include "VyNameMsg.h"
#include "VyProtocol.h"

// Protocol bytes and message texts, for the tests, the fuzz targets and their seeds (no test framework).
using VyBytes = std::vector<unsigned char>;

inline VyBytes operator+(VyBytes first, const VyBytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// An unsigned int as the wire carries it: four bytes, little-endian.
inline VyBytes VyWireWord(uint32_t value)
{
    return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

// The handshake another copy of the game sends first.
inline VyBytes VyWireHandshake()
{
    return VyWireWord(VY_PROTOCOL_MAGIC) + VyWireWord(VY_PROTOCOL_VERSION);
}

// A message as one line: "name Ann", "move 5 10", "game 1 3", "chat hi".
inline std::string VyDescribeMsg(const VySocketMsg& message)
{
    if (const auto* name = dynamic_cast<const VyNameMsg*>(&message))
        return "name " + name->GetName();
    if (const auto* move = dynamic_cast<const VyMoveMsg*>(&message))
        return "move " + std::to_string(move->GetPiece()) + " " + std::to_string(move->GetSquare());
    if (const auto* game = dynamic_cast<const VyGameMsg*>(&message))
        return "game " + std::to_string(game->GetCommand()) + " " + std::to_string(game->GetValue());
    if (const auto* chat = dynamic_cast<const VyChatMsg*>(&message))
        return "chat " + chat->GetText();
    return "?";
}
