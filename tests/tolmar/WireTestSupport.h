#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VyMsgDecoder.h"
#include "VyWireBytes.h"

using Bytes = VyBytes;

// The handshake and the example messages, as another copy of the game sends them.
inline const Bytes HANDSHAKE = {0x78, 0x34, 0x56, 0x12, 0x01, 0x00, 0x01, 0x00};
inline const Bytes PIECE_5_ON_SQUARE_10 = {0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00};
inline const Bytes PIECE_5_CHOSEN = {0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
inline const Bytes NAME_ANN = {0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x03, 0x41, 0x6E, 0x6E};

// Decodes until the decoder wants more or closes; appends what it decoded, described.
inline VyMsgDecoder::Result Drain(VyMsgDecoder& decoder, std::vector<std::string>& decoded)
{
    for (;;)
    {
        const VyMsgDecoder::Result result = decoder.Next();
        if (result != VyMsgDecoder::Result::MESSAGE_READY)
            return result;
        decoded.push_back(VyDescribeMsg(*decoder.TakeMessage()));
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
