#include <gtest/gtest.h>

#include <cstdint>

#include "WireTestSupport.h"
#include "vyio/VyMemFile.h"

namespace
{
using Result = VyMsgDecoder::Result;

TEST(VySocketMsgTest, HandshakeIsTheMagicThenTheVersion)
{
    const auto handshake = VyEncodeHandshake();
    EXPECT_EQ(Bytes(handshake.begin(), handshake.end()), HANDSHAKE);
    VyMemFile file(VY_IO_WRITE);
    VyWriteHandshake(file);
    EXPECT_EQ(Bytes(file.GetData(), file.GetData() + file.GetLength()), HANDSHAKE);
}

TEST(VySocketMsgTest, ExamplesAreEncodedByteForByte)
{
    EXPECT_EQ(VyMoveMsg::Placement(5, 10).Encode(), PIECE_5_ON_SQUARE_10);
    EXPECT_EQ(VyMoveMsg::Choice(5).Encode(), PIECE_5_CHOSEN);
    EXPECT_EQ(VyNameMsg(VyString("Ann")).Encode(), NAME_ANN);
}

TEST(VySocketMsgTest, ExamplesAreDecodedFromTheirBytes)
{
    EXPECT_EQ(DecodeAll(HANDSHAKE + PIECE_5_ON_SQUARE_10 + PIECE_5_CHOSEN + NAME_ANN, Result::NEED_MORE_BYTES),
              (std::vector<std::string>{"move 5 10", "move 5 -1", "name Ann"}));
}

TEST(VySocketMsgTest, GameAndChatMessagesHaveTheirFraming)
{
    const Bytes header3 = {0x03, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(VyGameMsg::GameState(VyGameState::PLAYER2_CHOOSES).Encode(), (header3 + Bytes{1, 0, 0, 0, 3, 0, 0, 0}));
    EXPECT_EQ(VyGameMsg::NewGameOffer().Encode(), (header3 + Bytes{2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(VyChatMsg(VyString("hi")).Encode(), (Bytes{0x04, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 2, 'h', 'i'}));
}

TEST(VySocketMsgTest, FreshMessagesHaveTheirDefaults)
{
    EXPECT_EQ(VyDescribeMsg(VyNameMsg()), "name ");
    EXPECT_EQ(VyDescribeMsg(VyMoveMsg()), "move -1 -1");
    EXPECT_EQ(VyDescribeMsg(VyGameMsg()), "game -1 -1");
    EXPECT_EQ(VyDescribeMsg(VyChatMsg()), "chat ");
    EXPECT_EQ(VyNameMsg().Encode(), (Bytes{0x01, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0x00}));
    EXPECT_FALSE(VyMoveMsg::Placement(0, 0).IsChoice());
    EXPECT_TRUE(VyMoveMsg::Choice(0).IsChoice());
}

TEST(VySocketMsgTest, KnownGameCommandsAreNamedAndOthersKeptAsNumbers)
{
    EXPECT_EQ(VyGameMsg::GameState(VyGameState::GAME_WON).GetKnownCommand(), VyGameCommand::GAME_STATE);
    EXPECT_EQ(VyGameMsg::NewGameOffer().GetKnownCommand(), VyGameCommand::OFFER_NEW_GAME);
    EXPECT_FALSE(VyGameMsg(3, 7).GetKnownCommand().has_value());
    EXPECT_EQ(DecodeAll(HANDSHAKE + VyGameMsg(3, 7).Encode(), Result::NEED_MORE_BYTES),
              std::vector<std::string>{"game 3 7"});
}

// Every kind survives the trip, with values at the ends of their ranges.
TEST(VySocketMsgTest, EveryKindReadsBackWhatWasSent)
{
    const Bytes stream = HANDSHAKE + VyNameMsg(VyString("Chris")).Encode() + VyMoveMsg(15, 0).Encode() +
                         VyMoveMsg(INT32_MIN, INT32_MAX).Encode() +
                         VyGameMsg::GameState(VyGameState::AWAITING_ACCEPT).Encode() +
                         VyChatMsg(VyString("")).Encode() + VyChatMsg(VyString("a\0b\xff", 4)).Encode();
    EXPECT_EQ(DecodeAll(stream, Result::NEED_MORE_BYTES),
              (std::vector<std::string>{"name Chris", "move 15 0", "move -2147483648 2147483647", "game 1 8",
                                        "chat ", std::string("chat a\0b\xff", 9)}));
}

// The three length prefixes, and the longest text a peer may send.
TEST(VySocketMsgTest, LongTextsTakeTheLongerPrefixesBothWays)
{
    struct Case
    {
        size_t length;
        Bytes prefix;
    };
    const Case cases[] = {{254, {0xFE}},
                          {255, {0xFF, 0xFF, 0x00}},
                          {300, {0xFF, 0x2C, 0x01}},
                          {65533, {0xFF, 0xFD, 0xFF}},
                          {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                          {VY_MAX_WIRE_STRING, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}}};
    for (const Case& c : cases)
    {
        const VyString text(c.length, 'x');
        const Bytes encoded = VyChatMsg(text).Encode();
        ASSERT_EQ(encoded.size(), 12 + c.prefix.size() + c.length);
        EXPECT_EQ(Bytes(encoded.begin() + 12, encoded.begin() + 12 + static_cast<long>(c.prefix.size())), c.prefix)
            << c.length;
        EXPECT_EQ(DecodeAll(HANDSHAKE + encoded, Result::NEED_MORE_BYTES), std::vector<std::string>{"chat " + text});
    }
}

// Another copy's reader takes any of the three forms for any length; so does ours.
TEST(VySocketMsgTest, ALongPrefixForAShortTextIsRead)
{
    const Bytes header = {0x01, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(DecodeAll(HANDSHAKE + header + Bytes{0xFF, 0x03, 0x00, 'A', 'n', 'n'} + header +
                            Bytes{0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0, 'B', 'o', 'b'},
                        Result::NEED_MORE_BYTES),
              (std::vector<std::string>{"name Ann", "name Bob"}));
}
} // namespace
