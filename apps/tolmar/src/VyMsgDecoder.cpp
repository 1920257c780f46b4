#include "VyMsgDecoder.h"

#include "VyChatMsg.h"
#include "VyGameMsg.h"
#include "VyMoveMsg.h"
#include "VyNameMsg.h"

void VyMsgDecoder::Feed(const void* bytes, size_t count)
{
    if (m_closeReason != VyCloseReason::NONE || count == 0)
        return;
    const auto* first = static_cast<const unsigned char*>(bytes);
    m_pending.insert(m_pending.end(), first, first + count);
}

VyMsgDecoder::Result VyMsgDecoder::Next()
{
    m_pMessage.reset();
    if (m_closeReason != VyCloseReason::NONE)
        return Result::CLOSE;
    if (!m_bHandshakeDone)
    {
        if (const std::optional<Result> result = DecodeHandshake())
            return *result;
    }
    return DecodeMessage();
}

void VyMsgDecoder::Reset()
{
    *this = VyMsgDecoder();
}

VyWireReader VyMsgDecoder::PendingReader() const
{
    return VyWireReader(m_pending.data() + m_start, GetPendingSize());
}

// The magic is judged as soon as its four bytes are there, before the version arrives.
std::optional<VyMsgDecoder::Result> VyMsgDecoder::DecodeHandshake()
{
    VyWireReader reader = PendingReader();
    unsigned int magic = 0;
    reader.Read(magic);
    if (reader.IsComplete() && magic != VY_PROTOCOL_MAGIC)
        return Close(VyCloseReason::FOREIGN_PEER);
    reader.Read(m_peerVersion);
    if (!reader.IsComplete())
        return WaitForMore();
    if (m_peerVersion != VY_PROTOCOL_VERSION)
        return Close(VyCloseReason::WRONG_VERSION);
    m_start += reader.GetPosition();
    m_bHandshakeDone = true;
    return std::nullopt;
}

// A message is decoded from its first byte each time, until all of it is there; only the
// complete decode consumes bytes.
VyMsgDecoder::Result VyMsgDecoder::DecodeMessage()
{
    for (;;)
    {
        VyWireReader reader = PendingReader();
        int typeCode = 0;
        reader.Read(typeCode);
        if (!reader.IsComplete())
            return WaitForMore();
        std::unique_ptr<VySocketMsg> message = CreateMessage(typeCode);
        if (message == nullptr)
        {
            m_start += reader.GetPosition();
            continue;
        }
        message->ReceiveMsg(reader);
        return Finish(reader, std::move(message));
    }
}

VyMsgDecoder::Result VyMsgDecoder::Finish(const VyWireReader& reader, std::unique_ptr<VySocketMsg> message)
{
    switch (reader.GetStatus())
    {
    case VyWireStatus::COMPLETE:
        m_start += reader.GetPosition();
        m_pMessage = std::move(message);
        return Result::MESSAGE_READY;
    case VyWireStatus::NEED_MORE_BYTES:
        return WaitForMore();
    case VyWireStatus::INCORRECT_VERSION:
        return Close(VyCloseReason::INCORRECT_VERSION);
    case VyWireStatus::STRING_TOO_LONG:
        return Close(VyCloseReason::STRING_TOO_LONG);
    }
    return Close(VyCloseReason::INCORRECT_VERSION);
}

// Drops the decoded bytes so that the buffer holds only the unfinished part.
VyMsgDecoder::Result VyMsgDecoder::WaitForMore()
{
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(m_start));
    m_start = 0;
    return Result::NEED_MORE_BYTES;
}

VyMsgDecoder::Result VyMsgDecoder::Close(VyCloseReason reason)
{
    m_closeReason = reason;
    m_pending = {};
    m_start = 0;
    return Result::CLOSE;
}

std::unique_ptr<VySocketMsg> VyMsgDecoder::CreateMessage(int typeCode)
{
    const std::optional<VyMsgType> type = VyMsgTypeFromNumber(typeCode);
    if (!type)
        return nullptr;
    switch (*type)
    {
    case VyMsgType::NAME:
        return std::make_unique<VyNameMsg>();
    case VyMsgType::MOVE:
        return std::make_unique<VyMoveMsg>();
    case VyMsgType::GAME:
        return std::make_unique<VyGameMsg>();
    case VyMsgType::CHAT:
        return std::make_unique<VyChatMsg>();
    }
    return nullptr;
}
