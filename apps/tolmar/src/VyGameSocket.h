#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>

#include "VyMsgDecoder.h"
#include "VySocketMsg.h"
#include "vyio/VySocket.h"
#include "vythread/VyPostBox.h"
#include "vythread/VyThread.h"

// The game's connection to another copy: a socket that speaks the wire protocol of VyProtocol.h. It
// sends the handshake as soon as a connection comes up, receives on a thread of its own, keeps the
// peer's messages in order until the owner takes them (PopMessage) and reports to the owner.
//
// Reports. Each goes to the owner's post box with param2 = the serial given at construction, so that
// an owner can drop the reports of a socket it has given up:
//
//   message                  | param1        | meaning
//   -------------------------+---------------+-------------------------------------------------------
//   VY_MSG_SOCKET_CONNECTED  | 0             | a connection came up and the handshake is queued; Send
//                            |               | from now on (bytes sent before would go ahead of it)
//   VY_MSG_SOCKET_DATA       | 0             | one message arrived: PopMessage takes it, oldest first
//   VY_MSG_SOCKET_CLOSED     | 0             | the connection ended: the peer closed it, it failed,
//                            |               | it was closed on this side (Close, an overflow), or the
//                            |               | peer broke the protocol (a message version other than
//                            |               | ours, a text longer than VY_MAX_WIRE_STRING)
//   VY_MSG_SOCKET_FOREIGN    | 0             | the peer is not a Tolmar game (wrong magic); the
//                            |               | connection is closed and no CLOSED follows
//   VY_MSG_SOCKET_VERSION    | peer version  | the peer speaks another protocol version; closed, and
//                            |               | no CLOSED follows
//
// Each connection gets CONNECTED first, then DATA in the order the messages came, then at most one of
// CLOSED, FOREIGN, VERSION; nothing after that. Messages that arrived before the end stay in the queue
// for PopMessage. A socket that is destroyed reports nothing more. A detached post box drops the
// reports, and the socket goes on as before.
//
// Threads.
//   - OnConnected runs on the thread that connected (Connect) or accepted (VyListenSocket): it writes
//     the handshake, posts CONNECTED and starts the receive thread. One connect or accept at a time.
//   - The receive thread reads, decodes and queues; it touches only the socket, its decoder and the
//     queue, and reports to the socket itself. When the peer's messages wait untaken beyond
//     RECEIVE_LIMIT bytes it stops reading until the owner takes some, so that a peer that floods
//     holds up only its own connection (the system's flow control then holds it back).
//   - The socket turns its own reports into the owner's on the main thread (HandleMessage, the hooks).
//   - PopMessage, Send, Close and GetSerial may be called from any thread.
//
// Connections in turn. One socket may serve many connections; a new one (Connect, or an accept that
// hands it over) closes the earlier one and waits for its receive thread first, then starts with an
// empty queue and a fresh decoder, which expects the peer's handshake again. Reports of the earlier
// connection that have not reached the owner by the time the new one is reported CONNECTED are
// dropped. A DATA of the earlier connection that the owner is still to handle may find PopMessage
// empty (null), or take a message of the new connection; an owner that must tell connections apart
// uses a new socket, with a new serial, for each.
//
// Connect here rather than through a VySocket reference: this Connect ends the earlier connection's
// receive thread before the new connection exists, which a reader still waiting on the earlier one
// would otherwise close again as it fails.
//
// Destruction. A socket that has had a connection must be destroyed on the main thread, with the
// message queue still installed: the destructor closes, waits for the receive thread, and then
// VySocket's destructor removes the reports still pending for the socket. No connect or accept may run
// meanwhile (a VyListenSocket serving this socket must be closed and its accept thread waited for).
//
// Failures. Nothing here throws but std::bad_alloc. Send answers false; a failed handshake write means
// the connection is already gone, which the receive thread then reports as CLOSED; a receive thread
// that cannot be started closes the connection, reported likewise. A peer's bytes cannot make this side
// fail, hang or allocate without bound: garbage ends the connection, a text longer than
// VY_MAX_WIRE_STRING is refused on its length prefix alone, and an unfinished message is never
// delivered. Connect reports as VySocket::Connect does; without a message queue the reports are lost
// (VyMessageTarget::Post reports the failed assertion).
class VyGameSocket : public VySocket
{
public:
    // Bytes of received messages that may wait untaken before the receive thread stops reading. A
    // chunk read before the stop may take it up to one message (and one read) past the limit.
    static constexpr size_t RECEIVE_LIMIT = 1 << 20;

    // Reports go to pOwner (a null box is reported as a failed assertion and drops them).
    VyGameSocket(std::shared_ptr<VyPostBox> pOwner, int serial);
    ~VyGameSocket() override; // closes and waits for the receive thread

    // The oldest received message not yet taken, or null. Any thread.
    std::unique_ptr<VySocketMsg> PopMessage();
    // Writes the whole frame of msg (msg.Encode()) with one Write, so that a message is queued whole
    // or not at all. Never throws: false when the connection is closed, or when the send queue would
    // overflow (the socket is then closed and, once the receive thread notices, CLOSED is posted).
    bool Send(const VySocketMsg& msg);
    int GetSerial() const { return m_serial; }

    // Ends the earlier connection and its receive thread, then connects as VySocket::Connect does.
    bool Connect(const VyString& host, int port);
    // As VySocket::Close, and the receive thread ends: when called from any other thread, it has ended
    // (after posting its report) by the time Close returns.
    void Close() override;
    // Reports of a connection that a newer one replaced are dropped; the rest go to the hooks.
    void HandleMessage(const VyMessage& msg) override;

protected:
    void OnConnected() override;    // on the connecting or accepting thread
    void OnDataArrived() override;  // main thread, as are the three below
    void OnClosed() override;
    void OnForeignPeer() override;  // the receive thread closed the connection before its report
    void OnWrongVersion() override; // likewise

private:
    // A received message and the bytes it took on the wire (unknown type codes before it included).
    struct Received
    {
        std::unique_ptr<VySocketMsg> pMessage;
        size_t wireSize = 0;
    };

    static unsigned int ReceiveProcedure(void* pSocket);
    void Receive();
    bool WaitForRoom();
    int ReceiveChunk(unsigned char* buffer, int count);
    bool DecodeReceived();
    void Enqueue(std::unique_ptr<VySocketMsg> pMessage, size_t wireSize);
    void EndForProtocol();
    void EndConnection();
    void PostToSelf(int id, int param1);

    void BeginConnection();
    void SendHandshake();
    void Announce();
    void StartReceiving();
    void StopReceiving();
    void WaitForReceiver();
    void Forward(int id, int param1);
    void PostToOwner(int id, int param1);

    const std::shared_ptr<VyPostBox> m_pOwner;
    const int m_serial;

    mutable std::mutex m_threadLock; // guards the handle of the receive thread
    VyThread m_receiveThread;
    // The receive thread's own: set while none runs, before it starts.
    VyMsgDecoder m_decoder;
    int m_receiving = 0; // the number of the connection it receives for

    mutable std::mutex m_reportLock; // guards the number below; held while a report goes to the owner
    int m_connection = 0;            // counts the connections that came up

    mutable std::mutex m_queueLock; // guards the members below; the framework's locks are taken after it
    std::condition_variable m_room; // the owner took a message, or the receive thread is to stop
    std::deque<Received> m_messages;
    size_t m_waitingBytes = 0;
    bool m_bStopReceiving = false;

    VyMessage m_handling; // main thread: the report being handled
};
