#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "VyGameSocket.h"
#include "WireTestSupport.h"
#include "vyio/VyListenSocket.h"
#include "vyio/VySocketTestPeer.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyTraceCapture.h"

namespace
{
using Texts = std::vector<std::string>;

Bytes Header(int type, uint32_t msgVersion)
{
    return VyWireWord(static_cast<uint32_t>(type)) + VyWireWord(VY_SOCKET_MSG_VERSION) + VyWireWord(msgVersion);
}

Bytes Front(const Bytes& bytes, size_t count)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

std::string AsText(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Writes all of bytes (a peer that stopped reading holds this up to the guard time).
void Put(const VyRawFd& peer, const Bytes& bytes)
{
    for (size_t sent = 0; sent < bytes.size();)
    {
        const ssize_t result = ::send(peer.Get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (result <= 0)
            return;
        sent += static_cast<size_t>(result);
    }
}

// A peer's reads and writes give up after far more time than they ever need.
void GuardAgainstHangs(const VyRawFd& peer)
{
    const timeval guard{30, 0};
    ::setsockopt(peer.Get(), SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof guard);
    ::setsockopt(peer.Get(), SOL_SOCKET, SO_SNDTIMEO, &guard, sizeof guard);
}

VyRawFd RawConnect(int port)
{
    VyRawFd connection(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(connection.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        connection.Reset();
    GuardAgainstHangs(connection);
    return connection;
}

struct Seen
{
    int id;
    int param1;
    int serial;
    bool operator==(const Seen&) const = default;
};

// The owner: records every report and, once told which socket to take from, takes one message on
// each DATA, as the game does.
class Owner : public VyMessageTarget
{
public:
    void TakeFrom(VyGameSocket* pSocket) { m_pSocket = pSocket; }

    void HandleMessage(const VyMessage& msg) override
    {
        m_seen.push_back({msg.id, msg.param1, msg.param2});
        if (msg.id != VY_MSG_SOCKET_DATA || m_pSocket == nullptr)
            return;
        const std::unique_ptr<VySocketMsg> pMessage = m_pSocket->PopMessage();
        m_taken.push_back(pMessage ? VyDescribeMsg(*pMessage) : "none");
    }

    std::vector<Seen> SeenOf(int serial) const
    {
        std::vector<Seen> seen;
        for (const Seen& report : m_seen)
            if (report.serial == serial)
                seen.push_back(report);
        return seen;
    }
    std::vector<int> IdsOf(int serial) const
    {
        std::vector<int> ids;
        for (const Seen& report : SeenOf(serial))
            ids.push_back(report.id);
        return ids;
    }
    int Count(int id, int serial) const
    {
        const std::vector<int> ids = IdsOf(serial);
        return static_cast<int>(std::count(ids.begin(), ids.end(), id));
    }
    bool Has(int id, int serial) const { return Count(id, serial) > 0; }
    bool IsEmpty() const { return m_seen.empty(); }
    const Texts& Taken() const { return m_taken; }

private:
    VyGameSocket* m_pSocket = nullptr;
    std::vector<Seen> m_seen;
    Texts m_taken;
};

constexpr int CONNECTED = VY_MSG_SOCKET_CONNECTED;
constexpr int DATA = VY_MSG_SOCKET_DATA;
constexpr int CLOSED = VY_MSG_SOCKET_CLOSED;

class VyGameSocketTest : public ::testing::Test
{
protected:
    // Checks done() between rounds of step() until it holds; false after the hang guard.
    static bool Poll(const std::function<bool()>& done, const std::function<void()>& step)
    {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done())
        {
            if (std::chrono::steady_clock::now() > giveUp)
                return false;
            step();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    static bool PumpUntil(const std::function<bool()>& done)
    {
        return Poll(done, [] { VyMessageTarget::DispatchMessages(); });
    }
    static bool WaitUntil(const std::function<bool()>& done)
    {
        return Poll(done, [] {});
    }

    // Connects game to the listener and returns the peer's end, which has read the handshake.
    VyRawFd ConnectPeer(VyGameSocket& game)
    {
        EXPECT_TRUE(game.Connect("127.0.0.1", m_port)) << game.GetErrorText();
        VyRawFd peer = VyRawAccept(m_listener);
        GuardAgainstHangs(peer);
        EXPECT_EQ(VyRawReceive(peer, HANDSHAKE.size()), AsText(HANDSHAKE));
        return peer;
    }

    VyMessageQueue m_queue;
    Owner m_owner;
    const std::shared_ptr<VyPostBox> m_pBox = VyPostBox::Make(&m_owner);
    int m_port = 0;
    const VyRawFd m_listener = VyRawListen(AF_INET, 16, m_port);
};

TEST_F(VyGameSocketTest, TheHandshakeGoesFirstWhetherItConnectsOrAccepts)
{
    VyGameSocket connecting(m_pBox, 1);
    ASSERT_TRUE(connecting.Connect("127.0.0.1", m_port));
    const VyRawFd accepted = VyRawAccept(m_listener);
    GuardAgainstHangs(accepted);
    EXPECT_EQ(VyRawReceive(accepted, 8), std::string("\x78\x34\x56\x12\x01\x00\x01\x00", 8));

    VyGameSocket accepting(m_pBox, 2);
    VyListenSocket server;
    ASSERT_TRUE(server.StartServer(0, &accepting)) << server.GetErrorText();
    const VyRawFd client = RawConnect(server.GetLocalPort());
    EXPECT_EQ(VyRawReceive(client, 8), std::string("\x78\x34\x56\x12\x01\x00\x01\x00", 8));
    ASSERT_TRUE(server.WaitAcceptEnded(30000));
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Has(CONNECTED, 1) && m_owner.Has(CONNECTED, 2); }));
    EXPECT_EQ(m_owner.IdsOf(1), std::vector<int>{CONNECTED});
    EXPECT_EQ(m_owner.IdsOf(2), std::vector<int>{CONNECTED});
}

// Sent: the peer reads exactly the example frames. Received in one write: one report each, taken in
// order as the right kinds with the right fields.
TEST_F(VyGameSocketTest, TheWireExamplesGoOutAndComeInByteForByte)
{
    VyGameSocket game(m_pBox, 1);
    m_owner.TakeFrom(&game);
    const VyRawFd peer = ConnectPeer(game);
    EXPECT_TRUE(game.Send(VyMoveMsg::Placement(5, 10)));
    EXPECT_TRUE(game.Send(VyMoveMsg::Choice(5)));
    EXPECT_TRUE(game.Send(VyNameMsg(VyString("Ann"))));
    const Bytes sent = PIECE_5_ON_SQUARE_10 + PIECE_5_CHOSEN + NAME_ANN;
    EXPECT_EQ(VyRawReceive(peer, sent.size()), AsText(sent));

    Put(peer, HANDSHAKE + PIECE_5_ON_SQUARE_10 + PIECE_5_CHOSEN + NAME_ANN);
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Taken().size() == 3; }));
    EXPECT_EQ(m_owner.Taken(), (Texts{"move 5 10", "move 5 -1", "name Ann"}));
    EXPECT_EQ(m_owner.IdsOf(1), (std::vector<int>{CONNECTED, DATA, DATA, DATA}));
    EXPECT_EQ(game.PopMessage(), nullptr);
}

// Each case ends the connection with exactly one report, after the messages that came before it.
TEST_F(VyGameSocketTest, AForeignPeerAnotherVersionOrAWrongMessageVersionEndsTheConnection)
{
    struct Case
    {
        Bytes stream;
        std::vector<Seen> reports; // after CONNECTED
    };
    const Bytes http = {'G', 'E', 'T', ' ', '/', ' ', 'H', 'T', 'T', 'P', '/', '1', '.', '0', '\r', '\n'};
    const Case cases[] = {
        {http + HANDSHAKE + NAME_ANN, {{VY_MSG_SOCKET_FOREIGN, 0, 1}}},
        {VyWireWord(VY_PROTOCOL_MAGIC) + VyWireWord(0x00010002) + NAME_ANN, {{VY_MSG_SOCKET_VERSION, 0x00010002, 2}}},
        {HANDSHAKE + NAME_ANN + Header(2, 1) + VyWireWord(5) + VyWireWord(10) + NAME_ANN, {{DATA, 0, 3}, {CLOSED, 0, 3}}},
    };
    for (int serial = 1; serial <= 3; ++serial)
    {
        const Case& current = cases[serial - 1];
        VyGameSocket game(m_pBox, serial);
        m_owner.TakeFrom(&game);
        const VyRawFd peer = ConnectPeer(game);
        Put(peer, current.stream);
        EXPECT_EQ(VyRawReceive(peer, 1), ""); // this side closed
        ASSERT_TRUE(PumpUntil([&] { return m_owner.SeenOf(serial).size() > current.reports.size(); }));
        VyMessageTarget::DispatchMessages();
        std::vector<Seen> expected = {{CONNECTED, 0, serial}};
        expected.insert(expected.end(), current.reports.begin(), current.reports.end());
        EXPECT_EQ(m_owner.SeenOf(serial), expected) << serial;
        EXPECT_FALSE(game.IsOpen());
        EXPECT_FALSE(game.Send(VyNameMsg(VyString("Bob"))));
        EXPECT_EQ(game.PopMessage(), nullptr);
    }
    EXPECT_EQ(m_owner.Taken(), Texts{"name Ann"});
}

// A message written a byte at a time arrives once, whole; an unknown type code is passed over.
TEST_F(VyGameSocketTest, SingleByteWritesAndUnknownTypeCodesStillGiveEachMessageOnce)
{
    VyGameSocket game(m_pBox, 1);
    m_owner.TakeFrom(&game);
    const VyRawFd peer = ConnectPeer(game);
    const int noDelay = 1;
    ::setsockopt(peer.Get(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    for (unsigned char byte : HANDSHAKE + PIECE_5_ON_SQUARE_10)
    {
        Put(peer, {byte});
        std::this_thread::sleep_for(std::chrono::microseconds(50)); // one segment each
    }
    Put(peer, VyWireWord(9) + NAME_ANN);
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Taken().size() == 2; }));
    EXPECT_EQ(m_owner.Taken(), (Texts{"move 5 10", "name Ann"}));
    EXPECT_EQ(m_owner.IdsOf(1), (std::vector<int>{CONNECTED, DATA, DATA}));
}

// The longest text arrives; a longer one closes on its length, also when its bytes are never sent.
TEST_F(VyGameSocketTest, ATextOverTheLimitClosesOnItsLengthPrefixAlone)
{
    const VyString longest(VY_MAX_WIRE_STRING, 'x');
    const Bytes streams[] = {
        HANDSHAKE + Header(1, 0) + Bytes{0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF},
        HANDSHAKE + VyChatMsg(longest).Encode() + VyChatMsg(longest + "y").Encode() + NAME_ANN,
    };
    for (int serial = 1; serial <= 2; ++serial)
    {
        VyGameSocket game(m_pBox, serial);
        m_owner.TakeFrom(&game);
        const VyRawFd peer = ConnectPeer(game);
        Put(peer, streams[serial - 1]);
        ASSERT_TRUE(PumpUntil([&] { return m_owner.Has(CLOSED, serial); })) << serial;
        EXPECT_EQ(m_owner.IdsOf(serial).back(), CLOSED);
    }
    EXPECT_EQ(m_owner.Taken(), Texts{"chat " + longest});
}

TEST_F(VyGameSocketTest, APeerThatClosesAtAnyByteLeavesNothingHalfMade)
{
    const Bytes stream = HANDSHAKE + NAME_ANN + PIECE_5_CHOSEN;
    for (size_t cut = 0; cut <= stream.size(); ++cut)
    {
        const int serial = static_cast<int>(cut) + 1;
        VyGameSocket game(m_pBox, serial);
        m_owner.TakeFrom(&game);
        const size_t takenBefore = m_owner.Taken().size();
        Put(ConnectPeer(game), Front(stream, cut)); // the peer's end closes after the write
        ASSERT_TRUE(PumpUntil([&] { return m_owner.Has(CLOSED, serial); })) << cut;
        Texts expected;
        if (cut >= HANDSHAKE.size() + NAME_ANN.size())
            expected.push_back("name Ann");
        if (cut == stream.size())
            expected.push_back("move 5 -1");
        EXPECT_EQ(Texts(m_owner.Taken().begin() + static_cast<std::ptrdiff_t>(takenBefore), m_owner.Taken().end()),
                  expected)
            << cut;
        EXPECT_EQ(m_owner.IdsOf(serial).back(), CLOSED) << cut;
        EXPECT_EQ(game.PopMessage(), nullptr);
    }
}

// The main thread sends on, dispatching between sends, until the send queue overflows; then the
// connection closes and the owner hears of it.
TEST_F(VyGameSocketTest, APeerThatNeverReadsIsCutOffWithoutHoldingUpTheSender)
{
    int port = 0;
    const VyRawFd listener = VyRawListen(AF_INET, 5, port, 4096);
    VyGameSocket game(m_pBox, 1);
    ASSERT_TRUE(game.Connect("127.0.0.1", port));
    const int sendBuffer = 4096;
    ::setsockopt(game.GetHandle(), SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
    const VyRawFd peer = VyRawAccept(listener);
    VyTraceCapture trace;
    const VyChatMsg chat(VyString(60000, 'x'));
    const size_t frameSize = chat.Encode().size();
    size_t queued = 0;
    while (game.Send(chat) && queued < 64 * static_cast<size_t>(VySocketWriter::LIMIT))
    {
        queued += frameSize;
        VyMessageTarget::DispatchMessages();
    }
    EXPECT_GE(queued + frameSize, static_cast<size_t>(VySocketWriter::LIMIT));
    EXPECT_LT(queued, 64 * static_cast<size_t>(VySocketWriter::LIMIT));
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Has(CLOSED, 1); }));
    EXPECT_FALSE(game.IsOpen());
    EXPECT_FALSE(game.Send(chat));
    EXPECT_FALSE(trace.Has("Assertion Failed"));
}

// Close returns once the receive thread has posted its report; a socket destroyed while its thread
// waits takes the thread and its pending reports with it.
TEST_F(VyGameSocketTest, CloseAndDestructionEndTheReceiveThread)
{
    VyGameSocket game(m_pBox, 1);
    const VyRawFd peer = ConnectPeer(game);
    Put(peer, HANDSHAKE);
    VyWaitForThreadIn({SYS_recvfrom, SYS_recvmsg});
    game.Close();
    EXPECT_TRUE(VyMessageTarget::HasMessage({&game, CLOSED, 0, 0}));
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Has(CLOSED, 1); }));
    EXPECT_EQ(m_owner.IdsOf(1), (std::vector<int>{CONNECTED, CLOSED}));
    EXPECT_EQ(VyRawReceive(peer, 1), "");

    auto pDoomed = std::make_unique<VyGameSocket>(m_pBox, 2);
    const VyRawFd doomedPeer = ConnectPeer(*pDoomed);
    Put(doomedPeer, HANDSHAKE + NAME_ANN);
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Has(DATA, 2); }));
    pDoomed.reset();
    EXPECT_EQ(VyRawReceive(doomedPeer, 1), "");
    VyMessageTarget::DispatchMessages();
    EXPECT_EQ(m_owner.IdsOf(2), (std::vector<int>{CONNECTED, DATA}));
}

// The second connection expects the peer's handshake again, starts with an empty queue, and the end
// of the first is not reported after the second came up.
TEST_F(VyGameSocketTest, ASecondConnectionStartsWithAFreshDecoderAndAnEmptyQueue)
{
    VyGameSocket game(m_pBox, 1);
    const VyRawFd first = ConnectPeer(game);
    Put(first, HANDSHAKE + NAME_ANN + Front(PIECE_5_CHOSEN, 10));
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Has(DATA, 1); }));

    const VyRawFd second = ConnectPeer(game);
    EXPECT_EQ(VyRawReceive(first, 1), "");
    EXPECT_EQ(game.PopMessage(), nullptr);
    m_owner.TakeFrom(&game);
    Put(second, HANDSHAKE + PIECE_5_ON_SQUARE_10);
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Taken().size() == 1; }));
    EXPECT_EQ(m_owner.Taken(), Texts{"move 5 10"});
    EXPECT_EQ(m_owner.IdsOf(1), (std::vector<int>{CONNECTED, DATA, CONNECTED, DATA}));
}

TEST_F(VyGameSocketTest, AnOwnerThatIsGoneHearsNothingAndTheSocketGoesOn)
{
    auto pGone = std::make_unique<Owner>();
    const std::shared_ptr<VyPostBox> pBox = VyPostBox::Make(pGone.get());
    pBox->Detach();
    pGone.reset();
    VyGameSocket game(pBox, 1);
    Put(ConnectPeer(game), HANDSHAKE + NAME_ANN);
    // The receive thread's last report is pending; then the socket handles all of them.
    ASSERT_TRUE(WaitUntil([&] { return VyMessageTarget::HasMessage({&game, CLOSED, 0, 0}); }));
    VyMessageTarget::DispatchMessages();
    EXPECT_EQ(m_queue.GetMessageCount(), 0u);
    const std::unique_ptr<VySocketMsg> pName = game.PopMessage();
    ASSERT_NE(pName, nullptr);
    EXPECT_EQ(VyDescribeMsg(*pName), "name Ann");
    EXPECT_TRUE(m_owner.IsEmpty());
}

// Untaken messages stop the receive thread a message past the limit; taken, all arrive in order.
TEST_F(VyGameSocketTest, AFloodingPeerIsHeldBackUntilTheOwnerTakesItsMessages)
{
    constexpr int COUNT = 64;
    auto text = [](int i) { return std::to_string(i) + VyString(60000, 'x'); };
    Bytes flood = HANDSHAKE;
    for (int i = 0; i < COUNT; ++i)
    {
        const Bytes frame = VyChatMsg(text(i)).Encode();
        flood.insert(flood.end(), frame.begin(), frame.end());
    }
    const size_t frameSize = VyChatMsg(text(COUNT - 1)).Encode().size();
    VyGameSocket game(m_pBox, 1);
    const VyRawFd peer = ConnectPeer(game);
    VyBackground writer([&] { Put(peer, flood); });

    ASSERT_TRUE(PumpUntil([&] { return m_owner.Count(DATA, 1) * frameSize > VyGameSocket::RECEIVE_LIMIT; }));
    for (int round = 0; round < 100; ++round)
    {
        VyMessageTarget::DispatchMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_LE(m_owner.Count(DATA, 1) * frameSize, VyGameSocket::RECEIVE_LIMIT + frameSize);

    Texts taken;
    ASSERT_TRUE(PumpUntil([&] {
        while (const std::unique_ptr<VySocketMsg> pMessage = game.PopMessage())
            taken.push_back(VyDescribeMsg(*pMessage));
        return taken.size() == COUNT;
    }));
    for (int i = 0; i < COUNT; ++i)
        ASSERT_EQ(taken[i], "chat " + text(i)) << i;
    ASSERT_TRUE(writer.Ended());
    ASSERT_TRUE(PumpUntil([&] { return m_owner.Count(DATA, 1) == COUNT; }));
}
} // namespace
