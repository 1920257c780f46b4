#include "VyChatMsg.h"

void VyChatMsg::SendMsg(VyIO& stream) const
{
    VySocketMsg::SendMsg(stream);
    stream << m_msgVersion << m_text;
}

void VyChatMsg::ReceiveMsg(VyWireReader& reader)
{
    VySocketMsg::ReceiveMsg(reader);
    reader.ExpectVersion(m_msgVersion);
    reader.Read(m_text);
}
