#include <gtest/gtest.h>

#include <algorithm>

#include "WireTestSupport.h"

namespace
{
using Result = VyMsgDecoder::Result;
using Texts = std::vector<std::string>;

// A frame with the given type code, versions and body bytes.
Bytes Frame(int type, uint32_t version, uint32_t msgVersion, const Bytes& body)
{
    return VyWireWord(static_cast<uint32_t>(type)) + VyWireWord(version) + VyWireWord(msgVersion) + body;
}

// The decoder's verdict on a stream fed in one chunk.
VyCloseReason CloseReasonOf(const Bytes& bytes)
{
    VyMsgDecoder decoder;
    Texts decoded;
    Feed(decoder, bytes, 0, bytes.size());
    EXPECT_EQ(Drain(decoder, decoded), Result::CLOSE);
    return decoder.GetCloseReason();
}

// --- handshake ---

TEST(VyMsgDecoderTest, TheRightHandshakeIsConsumedSilently)
{
    VyMsgDecoder decoder;
    Feed(decoder, HANDSHAKE, 0, 7);
    EXPECT_EQ(decoder.Next(), Result::NEED_MORE_BYTES);
    EXPECT_FALSE(decoder.IsHandshakeDone());
    Feed(decoder, HANDSHAKE, 7, 8);
    EXPECT_EQ(decoder.Next(), Result::NEED_MORE_BYTES);
    EXPECT_TRUE(decoder.IsHandshakeDone());
    EXPECT_EQ(decoder.GetPeerVersion(), VY_PROTOCOL_VERSION);
    EXPECT_EQ(decoder.GetPendingSize(), 0u);
}

// A wrong magic is judged on its four bytes, a wrong version on the next four; nothing after them
// is decoded.
TEST(VyMsgDecoderTest, AWrongMagicIsAForeignPeerAndAWrongVersionTheWrongVersion)
{
    for (const Bytes& start : {Bytes{'G', 'E', 'T', ' '}, Bytes{0x12, 0x56, 0x34, 0x78}, VyWireWord(0x12563479)})
        EXPECT_EQ(CloseReasonOf(start), VyCloseReason::FOREIGN_PEER);
    EXPECT_EQ(CloseReasonOf(VyWireWord(0) + VyWireWord(VY_PROTOCOL_VERSION) + NAME_ANN), VyCloseReason::FOREIGN_PEER);
    for (const uint32_t version : {0x00010002u, 0x00010000u, 0x00020001u, 0u, 1u})
    {
        VyMsgDecoder decoder;
        const Bytes stream = VyWireWord(VY_PROTOCOL_MAGIC) + VyWireWord(version) + NAME_ANN;
        Feed(decoder, stream, 0, stream.size());
        EXPECT_EQ(decoder.Next(), Result::CLOSE);
        EXPECT_EQ(decoder.GetCloseReason(), VyCloseReason::WRONG_VERSION);
        EXPECT_EQ(decoder.GetPeerVersion(), version);
    }
}

// --- versions of a message ---

// A wrong m_version or m_msgVersion closes as soon as its own bytes are there; the messages before
// it are delivered.
TEST(VyMsgDecoderTest, AMessageVersionOtherThanZeroCloses)
{
    const Bytes bodies[] = {{0x03, 'A', 'n', 'n'}, VyWireWord(5) + VyWireWord(10), VyWireWord(1) + VyWireWord(3), {0x02, 'h', 'i'}};
    for (int type = 1; type <= 4; ++type)
    {
        const Bytes& body = bodies[type - 1];
        EXPECT_EQ(CloseReasonOf(HANDSHAKE + Frame(type, 1, 1, body)), VyCloseReason::INCORRECT_VERSION) << type;
        EXPECT_EQ(CloseReasonOf(HANDSHAKE + Frame(type, 0, 0, body)), VyCloseReason::INCORRECT_VERSION) << type;
        EXPECT_EQ(CloseReasonOf(HANDSHAKE + Frame(type, 2, 0, body)), VyCloseReason::INCORRECT_VERSION) << type;
    }
    EXPECT_EQ(DecodeAll(HANDSHAKE + NAME_ANN + Frame(1, 1, 1, {}), Result::CLOSE), Texts{"name Ann"});
}

// --- framing ---

TEST(VyMsgDecoderTest, TwoMessagesInOneChunkComeOutInOrder)
{
    VyMsgDecoder decoder;
    const Bytes stream = HANDSHAKE + NAME_ANN + PIECE_5_ON_SQUARE_10;
    Feed(decoder, stream, 0, stream.size());
    ASSERT_EQ(decoder.Next(), Result::MESSAGE_READY);
    EXPECT_EQ(VyDescribeMsg(*decoder.TakeMessage()), "name Ann");
    ASSERT_EQ(decoder.Next(), Result::MESSAGE_READY);
    EXPECT_EQ(VyDescribeMsg(*decoder.TakeMessage()), "move 5 10");
    EXPECT_EQ(decoder.Next(), Result::NEED_MORE_BYTES);
    EXPECT_EQ(decoder.TakeMessage(), nullptr);
}

// Wherever the two or three chunks of a stream are cut, the same messages come out.
TEST(VyMsgDecoderTest, EverySplitOfAStreamGivesTheSameMessages)
{
    const Bytes stream = HANDSHAKE + NAME_ANN + PIECE_5_CHOSEN;
    const Texts expected = {"name Ann", "move 5 -1"};
    for (size_t first = 0; first <= stream.size(); ++first)
    {
        for (size_t second = first; second <= stream.size(); ++second)
        {
            VyMsgDecoder decoder;
            Texts decoded;
            Feed(decoder, stream, 0, first);
            EXPECT_EQ(Drain(decoder, decoded), Result::NEED_MORE_BYTES);
            Feed(decoder, stream, first, second);
            EXPECT_EQ(Drain(decoder, decoded), Result::NEED_MORE_BYTES);
            Feed(decoder, stream, second, stream.size());
            EXPECT_EQ(Drain(decoder, decoded), Result::NEED_MORE_BYTES);
            ASSERT_EQ(decoded, expected) << "cut at " << first << " and " << second;
            EXPECT_EQ(decoder.GetPendingSize(), 0u);
        }
    }
}

// Byte by byte: a message appears exactly when its last byte arrives.
TEST(VyMsgDecoderTest, AMessageSplitIntoSingleBytesAppearsWithItsLastByte)
{
    const Bytes stream = HANDSHAKE + PIECE_5_ON_SQUARE_10 + NAME_ANN;
    const size_t ends[] = {HANDSHAKE.size() + PIECE_5_ON_SQUARE_10.size(), stream.size()};
    VyMsgDecoder decoder;
    Texts decoded;
    for (size_t i = 0; i < stream.size(); ++i)
    {
        Feed(decoder, stream, i, i + 1);
        EXPECT_EQ(Drain(decoder, decoded), Result::NEED_MORE_BYTES);
        const auto whole = std::count_if(std::begin(ends), std::end(ends), [i](size_t end) { return end <= i + 1; });
        ASSERT_EQ(decoded.size(), static_cast<size_t>(whole)) << "after byte " << i;
    }
    EXPECT_EQ(decoded, (Texts{"move 5 10", "name Ann"}));
}

// A stream that stops inside a message yields nothing of it, whatever byte it stops at.
TEST(VyMsgDecoderTest, ATruncatedMessageGivesNothing)
{
    for (const Bytes& message : {NAME_ANN, PIECE_5_CHOSEN, VyGameMsg::NewGameOffer().Encode(),
                                 VyChatMsg(VyString(300, 'c')).Encode()})
    {
        for (size_t length = 0; length < message.size(); ++length)
        {
            VyMsgDecoder decoder;
            const Bytes stream = HANDSHAKE + Bytes(message.begin(), message.begin() + static_cast<long>(length));
            Feed(decoder, stream, 0, stream.size());
            Texts decoded;
            ASSERT_EQ(Drain(decoder, decoded), Result::NEED_MORE_BYTES) << length;
            EXPECT_TRUE(decoded.empty());
            EXPECT_EQ(decoder.GetPendingSize(), length);
        }
    }
}

// A small deterministic generator, so that a failure can be repeated from its seed.
class Random
{
public:
    explicit Random(uint32_t seed) : m_state(seed) {}
    uint32_t Below(uint32_t limit) { return ((m_state = m_state * 1103515245u + 12345u) >> 8) % limit; }

private:
    uint32_t m_state;
};

// A stream of random messages with unknown type codes between them, which may end in a bad message
// (a wrong m_msgVersion or an oversized text): the bytes, the messages, and the reason it closes.
struct RandomStream
{
    Bytes bytes = HANDSHAKE;
    Texts messages;
    VyCloseReason end = VyCloseReason::NONE;

    explicit RandomStream(Random& random)
    {
        while (end == VyCloseReason::NONE && messages.size() < 40)
        {
            const int number = static_cast<int>(random.Below(20)) - 2;
            const VyString text(random.Below(300), static_cast<char>('a' + random.Below(26)));
            const uint32_t kind = random.Below(40);
            if (kind < 8)
                Append(VyWireWord(kind < 4 ? 5 + random.Below(1000) : 0xFFFFFFFF - random.Below(1000)));
            else if (kind == 8)
                End(Frame(3, 1, 1, VyWireWord(1) + VyWireWord(1)), VyCloseReason::INCORRECT_VERSION);
            else if (kind == 9)
                End(Frame(4, 1, 0, {0xFF, 0xFF, 0xFF, 0, 0, 2, 0}), VyCloseReason::STRING_TOO_LONG);
            else if (kind < 18)
                Add(VyNameMsg(text));
            else if (kind < 26)
                Add(VyChatMsg(text));
            else if (kind < 33)
                Add(VyMoveMsg(number, static_cast<int>(random.Below(17)) - 1));
            else
                Add(VyGameMsg(number, static_cast<int>(random.Below(9))));
        }
    }
    void Add(const VySocketMsg& message)
    {
        Append(message.Encode());
        messages.push_back(VyDescribeMsg(message));
    }
    void End(const Bytes& bad, VyCloseReason reason)
    {
        Append(bad);
        end = reason;
    }
    void Append(const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
};

// However a stream is cut into chunks, the decoder yields its messages in order and stops where it
// turns bad.
TEST(VyMsgDecoderTest, RandomStreamsInRandomChunksDecodeInOrder)
{
    for (uint32_t seed = 1; seed <= 200; ++seed)
    {
        Random random(seed);
        const RandomStream stream(random);
        VyMsgDecoder decoder;
        Texts decoded;
        Result result = Result::NEED_MORE_BYTES;
        for (size_t at = 0; at < stream.bytes.size() && result != Result::CLOSE;)
        {
            const size_t end = std::min(stream.bytes.size(), at + 1 + random.Below(random.Below(2) ? 7 : 700));
            Feed(decoder, stream.bytes, at, end);
            result = Drain(decoder, decoded);
            at = end;
        }
        EXPECT_EQ(decoded, stream.messages) << seed;
        EXPECT_EQ(decoder.GetCloseReason(), stream.end) << seed;
        EXPECT_EQ(result, stream.end == VyCloseReason::NONE ? Result::NEED_MORE_BYTES : Result::CLOSE) << seed;
        EXPECT_EQ(decoder.GetPendingSize(), 0u) << seed;
    }
}

// --- type codes this side does not know ---

TEST(VyMsgDecoderTest, UnknownTypeCodesArePassedOver)
{
    const Bytes unknown = VyWireWord(0) + VyWireWord(5) + VyWireWord(0xFFFFFFFF) + VyWireWord(0x7FFFFFFF) + VyWireWord(0x80000000);
    EXPECT_EQ(DecodeAll(HANDSHAKE + unknown + NAME_ANN + unknown + PIECE_5_CHOSEN + unknown, Result::NEED_MORE_BYTES),
              (Texts{"name Ann", "move 5 -1"}));

    VyMsgDecoder decoder;
    Bytes flood = HANDSHAKE;
    for (int i = 0; i < 100000; ++i)
    {
        const Bytes code = VyWireWord(static_cast<uint32_t>(5 + i));
        flood.insert(flood.end(), code.begin(), code.end());
    }
    Feed(decoder, flood, 0, flood.size());
    EXPECT_EQ(decoder.Next(), Result::NEED_MORE_BYTES);
    EXPECT_EQ(decoder.GetPendingSize(), 0u);
}

// Without a length field only the code is passed over: the m_version of a framed message of an
// unknown type is then read as type 1, and its m_msgVersion as a wrong m_version.
TEST(VyMsgDecoderTest, AnUnknownTypeWithAFramedBodyCloses)
{
    EXPECT_EQ(CloseReasonOf(HANDSHAKE + Frame(9, 1, 0, VyWireWord(42))), VyCloseReason::INCORRECT_VERSION);
}

// --- lengths a peer must not get us to allocate ---

TEST(VyMsgDecoderTest, AnOversizedOrNegativeLengthClosesOnThePrefixAlone)
{
    const Bytes prefixes[] = {{0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00},  // 65537
                              {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01},  // 16 MiB
                              {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80},  // -2147483648
                              {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}; // -1
    for (const Bytes& prefix : prefixes)
    {
        EXPECT_EQ(CloseReasonOf(HANDSHAKE + Frame(1, 1, 0, prefix)), VyCloseReason::STRING_TOO_LONG);
        EXPECT_EQ(CloseReasonOf(HANDSHAKE + Frame(4, 1, 0, prefix)), VyCloseReason::STRING_TOO_LONG);
    }
}

// A text of the largest allowed length is buffered only as far as it has arrived.
TEST(VyMsgDecoderTest, TheLongestTextWaitsForItsBytes)
{
    const Bytes message = VyChatMsg(VyString(VY_MAX_WIRE_STRING, 'x')).Encode();
    const Bytes stream = HANDSHAKE + message;
    VyMsgDecoder decoder;
    Texts decoded;
    Feed(decoder, stream, 0, 100);
    EXPECT_EQ(Drain(decoder, decoded), Result::NEED_MORE_BYTES);
    EXPECT_EQ(decoder.GetPendingSize(), 100 - HANDSHAKE.size());
    Feed(decoder, stream, 100, stream.size());
    EXPECT_EQ(Drain(decoder, decoded), Result::NEED_MORE_BYTES);
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(decoded[0].size(), 5 + VY_MAX_WIRE_STRING);
}

// --- after the end ---

TEST(VyMsgDecoderTest, CloseIsFinalAndFreesTheBuffer)
{
    VyMsgDecoder decoder;
    const Bytes stream = HANDSHAKE + Frame(2, 7, 0, VyWireWord(1) + VyWireWord(2)) + NAME_ANN;
    Feed(decoder, stream, 0, stream.size());
    EXPECT_EQ(decoder.Next(), Result::CLOSE);
    EXPECT_EQ(decoder.GetPendingSize(), 0u);
    Feed(decoder, NAME_ANN, 0, NAME_ANN.size());
    EXPECT_EQ(decoder.Next(), Result::CLOSE);
    EXPECT_EQ(decoder.GetPendingSize(), 0u);
    EXPECT_EQ(decoder.GetCloseReason(), VyCloseReason::INCORRECT_VERSION);
}

TEST(VyMsgDecoderTest, ResetStartsANewConnection)
{
    VyMsgDecoder decoder;
    Feed(decoder, HANDSHAKE, 0, HANDSHAKE.size());
    Feed(decoder, NAME_ANN, 0, 5);
    EXPECT_EQ(decoder.Next(), Result::NEED_MORE_BYTES);
    decoder.Reset();
    EXPECT_FALSE(decoder.IsHandshakeDone());
    EXPECT_EQ(decoder.GetPendingSize(), 0u);
    const Bytes stream = HANDSHAKE + PIECE_5_CHOSEN;
    Feed(decoder, stream, 0, stream.size());
    ASSERT_EQ(decoder.Next(), Result::MESSAGE_READY);
    EXPECT_EQ(VyDescribeMsg(*decoder.TakeMessage()), "move 5 -1");
}
} // namespace
