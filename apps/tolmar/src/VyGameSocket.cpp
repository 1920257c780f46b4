#include "VyGameSocket.h"

#include <array>
#include <chrono>
#include <limits>

#include "VyProtocol.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

namespace
{
// What one read of the receive thread may take.
constexpr int RECEIVE_CHUNK = 4096;
// How often a receive thread that waits for room looks whether its connection was closed by a failure
// or an overflow, which do not wake it.
constexpr int ROOM_CHECK_MS = 50;

// The socket the current thread receives for; null on every other thread.
thread_local const VyGameSocket* t_pReceivingFor = nullptr;
} // namespace

VyGameSocket::VyGameSocket(std::shared_ptr<VyPostBox> pOwner, int serial)
    : m_pOwner(std::move(pOwner)), m_serial(serial)
{
    VY_ASSERT(m_pOwner);
}

VyGameSocket::~VyGameSocket()
{
    Close();
}

// -- The owner's side ----------------------------------------------------------------------------------

std::unique_ptr<VySocketMsg> VyGameSocket::PopMessage()
{
    std::lock_guard<std::mutex> guard(m_queueLock);
    if (m_messages.empty())
        return nullptr;
    Received oldest = std::move(m_messages.front());
    m_messages.pop_front();
    m_waitingBytes -= oldest.wireSize;
    m_room.notify_all();
    return std::move(oldest.pMessage);
}

bool VyGameSocket::Send(const VySocketMsg& msg)
{
    if (!IsOpen())
        return false;
    const std::vector<unsigned char> frame = msg.Encode();
    if (frame.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    {
        Close(); // more than any queue takes: as an overflow
        return false;
    }
    try
    {
        Write(frame.data(), static_cast<int>(frame.size()));
        return true;
    }
    catch (const VyException&)
    {
        return false;
    }
}

bool VyGameSocket::Connect(const VyString& host, int port)
{
    Close();
    return VySocket::Connect(host, port);
}

void VyGameSocket::Close()
{
    VySocket::Close();
    StopReceiving();
    if (t_pReceivingFor != this)
        WaitForReceiver();
}

// -- Connecting ----------------------------------------------------------------------------------------

void VyGameSocket::OnConnected()
{
    WaitForReceiver(); // the earlier connection was closed before this one came: its thread ends
    BeginConnection();
    SendHandshake();
    Announce();
    StartReceiving();
}

// Runs while no receive thread does.
void VyGameSocket::BeginConnection()
{
    std::lock_guard<std::mutex> guard(m_queueLock);
    m_messages.clear();
    m_waitingBytes = 0;
    m_bStopReceiving = false;
    m_decoder.Reset();
}

void VyGameSocket::SendHandshake()
{
    const std::array<unsigned char, VY_HANDSHAKE_SIZE> handshake = VyEncodeHandshake();
    try
    {
        Write(handshake.data(), static_cast<int>(handshake.size()));
    }
    catch (const VyException&)
    {
        // The connection is gone already; the receive thread finds it so and reports CLOSED.
    }
}

// From here on, reports of the earlier connections are stale. The owner hears CONNECTED before any
// report of this connection, since those pass through the same lock after the receive thread starts.
void VyGameSocket::Announce()
{
    std::lock_guard<std::mutex> guard(m_reportLock);
    m_receiving = ++m_connection;
    PostToOwner(VY_MSG_SOCKET_CONNECTED, 0);
}

void VyGameSocket::StartReceiving()
{
    bool bStarted = false;
    {
        std::lock_guard<std::mutex> guard(m_threadLock);
        bStarted = m_receiveThread.Start(ReceiveProcedure, this);
    }
    if (!bStarted)
        EndConnection();
}

void VyGameSocket::StopReceiving()
{
    {
        std::lock_guard<std::mutex> guard(m_queueLock);
        m_bStopReceiving = true;
    }
    m_room.notify_all();
}

void VyGameSocket::WaitForReceiver()
{
    VyThread receiver;
    {
        std::lock_guard<std::mutex> guard(m_threadLock);
        receiver = m_receiveThread;
    }
    receiver.Wait(VY_INFINITE);
}

// -- The receive thread --------------------------------------------------------------------------------

unsigned int VyGameSocket::ReceiveProcedure(void* pSocket)
{
    auto* self = static_cast<VyGameSocket*>(pSocket);
    t_pReceivingFor = self;
    self->Receive();
    t_pReceivingFor = nullptr;
    return 0;
}

void VyGameSocket::Receive()
{
    std::array<unsigned char, RECEIVE_CHUNK> buffer{};
    for (;;)
    {
        const int count = WaitForRoom() ? ReceiveChunk(buffer.data(), RECEIVE_CHUNK) : 0;
        if (count <= 0)
        {
            EndConnection();
            return;
        }
        m_decoder.Feed(buffer.data(), static_cast<size_t>(count));
        if (!DecodeReceived())
            return;
    }
}

// False when the thread is to end: Close came, or the connection is gone.
bool VyGameSocket::WaitForRoom()
{
    std::unique_lock<std::mutex> guard(m_queueLock);
    while (!m_bStopReceiving && m_waitingBytes > RECEIVE_LIMIT && IsOpen())
        m_room.wait_for(guard, std::chrono::milliseconds(ROOM_CHECK_MS));
    return !m_bStopReceiving && IsOpen();
}

// What one read gave; 0 when the peer closed the connection or it failed.
int VyGameSocket::ReceiveChunk(unsigned char* buffer, int count)
{
    try
    {
        return ReadSome(buffer, count);
    }
    catch (const VyException&)
    {
        return 0;
    }
}

// Queues every whole message fed so far; false when the peer broke the protocol.
bool VyGameSocket::DecodeReceived()
{
    for (;;)
    {
        const size_t pendingBefore = m_decoder.GetPendingSize();
        switch (m_decoder.Next())
        {
        case VyMsgDecoder::Result::MESSAGE_READY:
            Enqueue(m_decoder.TakeMessage(), pendingBefore - m_decoder.GetPendingSize());
            break;
        case VyMsgDecoder::Result::NEED_MORE_BYTES:
            return true;
        case VyMsgDecoder::Result::CLOSE:
            EndForProtocol();
            return false;
        }
    }
}

void VyGameSocket::Enqueue(std::unique_ptr<VySocketMsg> pMessage, size_t wireSize)
{
    std::lock_guard<std::mutex> guard(m_queueLock);
    m_messages.push_back({std::move(pMessage), wireSize});
    m_waitingBytes += wireSize;
    PostToSelf(VY_MSG_SOCKET_DATA, 0);
}

// The connection closes at once, so that nothing more goes to a peer that is not one of ours.
void VyGameSocket::EndForProtocol()
{
    Close();
    switch (m_decoder.GetCloseReason())
    {
    case VyCloseReason::FOREIGN_PEER:
        PostToSelf(VY_MSG_SOCKET_FOREIGN, 0);
        return;
    case VyCloseReason::WRONG_VERSION:
        PostToSelf(VY_MSG_SOCKET_VERSION, static_cast<int>(m_decoder.GetPeerVersion()));
        return;
    case VyCloseReason::NONE:
    case VyCloseReason::INCORRECT_VERSION:
    case VyCloseReason::STRING_TOO_LONG:
        break;
    }
    PostToSelf(VY_MSG_SOCKET_CLOSED, 0);
}

void VyGameSocket::EndConnection()
{
    Close();
    PostToSelf(VY_MSG_SOCKET_CLOSED, 0);
}

// param2 carries the connection's number, so that the reports of a replaced connection can be dropped.
void VyGameSocket::PostToSelf(int id, int param1)
{
    VyMessageTarget::Post({this, id, param1, m_receiving});
}

// -- Reports on the main thread ------------------------------------------------------------------------

void VyGameSocket::HandleMessage(const VyMessage& msg)
{
    m_handling = msg;
    VySocket::HandleMessage(msg);
}

void VyGameSocket::OnDataArrived()
{
    Forward(VY_MSG_SOCKET_DATA, 0);
}

void VyGameSocket::OnClosed()
{
    Forward(VY_MSG_SOCKET_CLOSED, 0);
}

void VyGameSocket::OnForeignPeer()
{
    Forward(VY_MSG_SOCKET_FOREIGN, 0);
}

void VyGameSocket::OnWrongVersion()
{
    Forward(VY_MSG_SOCKET_VERSION, m_handling.param1);
}

// Passes the report being handled on to the owner, unless a newer connection came up since it was
// posted. The check and the post share the lock with Announce, so a stale report never follows the
// CONNECTED of the connection that replaced its own.
void VyGameSocket::Forward(int id, int param1)
{
    std::lock_guard<std::mutex> guard(m_reportLock);
    if (m_handling.param2 != m_connection)
        return;
    PostToOwner(id, param1);
}

void VyGameSocket::PostToOwner(int id, int param1)
{
    if (m_pOwner)
        m_pOwner->Post(id, param1, m_serial);
}
