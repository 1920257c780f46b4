#include "VyNameMsg.h"

void VyNameMsg::SendMsg(VyIO& stream) const
{
    VySocketMsg::SendMsg(stream);
    stream << m_msgVersion << m_name;
}

void VyNameMsg::ReceiveMsg(VyWireReader& reader)
{
    VySocketMsg::ReceiveMsg(reader);
    reader.ExpectVersion(m_msgVersion);
    reader.Read(m_name);
}
