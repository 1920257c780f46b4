#pragma once

#include "VySocketMsg.h"

// Type 4: a chat line typed by the sender.
//
//   04 00 00 00 | 01 00 00 00 | 00 00 00 00 | m_text (VyString)
//   e.g. "hi": 04 00 00 00 | 01 00 00 00 | 00 00 00 00 | 02 68 69
//
// Failures are VySocketMsg's: a stream error while sending throws; on receipt a wrong version, a
// text longer than VY_MAX_WIRE_STRING or bytes that end early show in the reader's status. A longer
// text is still sent as it is (the encoding allows it), and a peer of ours then closes: keep what is
// sent within the limit.
class VyChatMsg : public VySocketMsg
{
public:
    VyChatMsg() : VySocketMsg(VyMsgType::CHAT) {}
    explicit VyChatMsg(const VyString& text) : VySocketMsg(VyMsgType::CHAT), m_text(text) {}

    const VyString& GetText() const { return m_text; }
    unsigned int GetMsgVersion() const override { return m_msgVersion; }

    void SendMsg(VyIO& stream) const override;
    void ReceiveMsg(VyWireReader& reader) override;

private:
    unsigned int m_msgVersion = VY_SOCKET_MSG_BODY_VERSION;
    VyString m_text; // empty by default
};
