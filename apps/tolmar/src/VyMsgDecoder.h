#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "VyProtocol.h"
#include "VySocketMsg.h"
#include "VyWireReader.h"

// Turns what a connection receives, in chunks of any size and split anywhere, into the peer's
// handshake and messages, in order. It does no I/O: the receive loop feeds it what each read gave
// and calls Next until it asks for more bytes.
//
//   bytes at the front of what was fed              | Next
//   ------------------------------------------------+------------------------------------------
//   fewer than a whole handshake or message         | NEED_MORE_BYTES (they stay buffered)
//   handshake, first unsigned int not the magic     | CLOSE, FOREIGN_PEER (decided on 4 bytes)
//   handshake, magic then another version           | CLOSE, WRONG_VERSION (GetPeerVersion)
//   handshake, right                                | consumed, decoding goes on
//   type code other than 1..4                       | its 4 bytes are passed over, decoding goes on
//   m_version not 1 or m_msgVersion not 0           | CLOSE, INCORRECT_VERSION
//   string length prefix above VY_MAX_WIRE_STRING   | CLOSE, STRING_TOO_LONG (on the prefix alone)
//   a whole message                                 | MESSAGE_READY (TakeMessage)
//
// CLOSE is final: the buffer is freed, later bytes are ignored and every later Next says CLOSE.
// Memory: after NEED_MORE_BYTES the buffer holds one unfinished message (at most its header, a
// 7-byte prefix and VY_MAX_WIRE_STRING bytes) plus what the last chunk added beyond it.
// A connection that ends while bytes are buffered just ends: the unfinished message is never
// reported. Nothing here throws but std::bad_alloc. Not thread-safe; one receive loop owns it.
class VyMsgDecoder
{
public:
    enum class Result
    {
        MESSAGE_READY,   // one whole message decoded: TakeMessage
        NEED_MORE_BYTES, // nothing whole left: feed the next chunk
        CLOSE,           // the peer broke the protocol: GetCloseReason; end the connection
    };

    // Appends received bytes; ignored once the decoder has said CLOSE.
    void Feed(const void* bytes, size_t count);
    // Decodes the next whole message, if the bytes fed so far hold one. A message from an earlier
    // MESSAGE_READY that was not taken is dropped.
    Result Next();
    // The message of the last MESSAGE_READY; the caller owns it. Null when there is none.
    std::unique_ptr<VySocketMsg> TakeMessage() { return std::move(m_pMessage); }

    // NONE until Next says CLOSE.
    VyCloseReason GetCloseReason() const { return m_closeReason; }
    // The protocol version the peer's handshake named; 0 before it arrived.
    unsigned int GetPeerVersion() const { return m_peerVersion; }
    bool IsHandshakeDone() const { return m_bHandshakeDone; }
    // Bytes fed and not yet decoded.
    size_t GetPendingSize() const { return m_pending.size() - m_start; }

    // Back to the state of a new connection: the handshake comes first again.
    void Reset();

private:
    // A result that ends this Next, or nothing when the handshake is through.
    std::optional<Result> DecodeHandshake();
    Result DecodeMessage();
    Result Finish(const VyWireReader& reader, std::unique_ptr<VySocketMsg> message);
    Result Close(VyCloseReason reason);
    Result WaitForMore();
    VyWireReader PendingReader() const;
    // The message kind for a type code; null for a code this side does not know.
    static std::unique_ptr<VySocketMsg> CreateMessage(int typeCode);

    std::vector<unsigned char> m_pending;
    size_t m_start = 0; // first byte of m_pending not yet decoded
    bool m_bHandshakeDone = false;
    unsigned int m_peerVersion = 0;
    VyCloseReason m_closeReason = VyCloseReason::NONE;
    std::unique_ptr<VySocketMsg> m_pMessage;
};
