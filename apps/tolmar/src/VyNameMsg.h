#pragma once

#include "VySocketMsg.h"

// Type 1: the sender's player name, sent once when the connection comes up.
//
//   01 00 00 00 | 01 00 00 00 | 00 00 00 00 | m_name (VyString)
//   e.g. the name Ann: 01 00 00 00 | 01 00 00 00 | 00 00 00 00 | 03 41 6E 6E
//
// Failures are VySocketMsg's: a stream error while sending throws; on receipt a wrong version, a
// text longer than VY_MAX_WIRE_STRING or bytes that end early show in the reader's status. A longer
// text is still sent as it is (the encoding allows it), and a peer of ours then closes: keep what is
// sent within the limit.
class VyNameMsg : public VySocketMsg
{
public:
    VyNameMsg() : VySocketMsg(VyMsgType::NAME) {}
    explicit VyNameMsg(const VyString& name) : VySocketMsg(VyMsgType::NAME), m_name(name) {}

    const VyString& GetName() const { return m_name; }
    unsigned int GetMsgVersion() const override { return m_msgVersion; }

    void SendMsg(VyIO& stream) const override;
    void ReceiveMsg(VyWireReader& reader) override;

private:
    unsigned int m_msgVersion = VY_SOCKET_MSG_BODY_VERSION;
    VyString m_name; // empty by default
};
