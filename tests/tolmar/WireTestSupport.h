#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VyChatMsg.h"
#include "VyGameMsg.h"
#include "VyMoveMsg.h"
#include "VyMsgDecoder.h"
#include "VyNameMsg.h"

using Bytes = std::vector<unsigned char>;

inline Bytes operator+(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// An unsigned int as the wire carries it: four bytes, little-endian.
inline Bytes Word(uint32_t value)
{
    return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

// The handshake and the example messages, as another copy of the game sends them.
inline const Bytes HANDSHAKE = {0x78, 0x34, 0x56, 0x12, 0x01, 0x00, 0x01, 0x00};
inline const Bytes PIECE_5_ON_SQUARE_10 = {0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00};
inline const Bytes PIECE_5_CHOSEN = {0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
inline const Bytes NAME_ANN = {0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x03, 0x41, 0x6E, 0x6E};

// A message as one line: "name Ann", "move 5 10", "game 1 3", "chat hi".
inline std::string Describe(const VySocketMsg& message)
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

// Decodes until the decoder wants more or closes; appends what it decoded, described.
inline VyMsgDecoder::Result Drain(VyMsgDecoder& decoder, std::vector<std::string>& decoded)
{
    for (;;)
    {
        const VyMsgDecoder::Result result = decoder.Next();
        if (result != VyMsgDecoder::Result::MESSAGE_READY)
            return result;
        decoded.push_back(Describe(*decoder.TakeMessage()));
    }
}

inline void Feed(VyMsgDecoder& decoder, const Bytes& bytes, size_t begin, size_t end)
{
    decoder.Feed(bytes.data() + begin, end - begin);
}

// Feeds the bytes in one chunk and decodes them.
inline std::vector<std::string> DecodeAll(const Bytes& bytes, VyMsgDecoder::Result expectedEnd)
{
    VyMsgDecoder decoder;
    std::vector<std::string> decoded;
    Feed(decoder, bytes, 0, bytes.size());
    EXPECT_EQ(Drain(decoder, decoded), expectedEnd);
    return decoded;
}
