#pragma once

#include <vector>

#include "VyProtocol.h"
#include "VyWireReader.h"
#include "vyio/VyIO.h"

// One message of the game's wire protocol (see VyProtocol.h for the framing). The base holds the
// type code and m_version (always 1); each kind adds its m_msgVersion (always 0) and its body.
//
// Sending writes the whole frame: type code, m_version, m_msgVersion, body. Receiving starts after
// the type code (which the decoder has read to choose the kind): it checks m_version, then
// m_msgVersion, then reads the body fields in order.
class VySocketMsg
{
public:
    virtual ~VySocketMsg() = default;

    VyMsgType GetType() const { return m_type; }
    unsigned int GetVersion() const { return m_version; }
    virtual unsigned int GetMsgVersion() const = 0;

    // Writes the frame to the stream field by field with the VyIO operators. The base part writes the
    // type code and m_version. The stream's exceptions (VyException) pass through.
    virtual void SendMsg(VyIO& stream) const;
    // Reads what follows the type code from received bytes. The base part checks m_version. The
    // outcome is the reader's status: INCORRECT_VERSION for a version that is not ours,
    // NEED_MORE_BYTES when the bytes end inside the message, STRING_TOO_LONG for an oversized text.
    // Fields whose bytes did not arrive keep their values.
    virtual void ReceiveMsg(VyWireReader& reader);

    // The frame's bytes, as SendMsg writes them.
    std::vector<unsigned char> Encode() const;

protected:
    explicit VySocketMsg(VyMsgType type) : m_type(type) {}
    VySocketMsg(const VySocketMsg&) = default;
    VySocketMsg& operator=(const VySocketMsg&) = default;

private:
    VyMsgType m_type;
    unsigned int m_version = VY_SOCKET_MSG_VERSION;
};
