#include "VyMoveMsg.h"

void VyMoveMsg::SendMsg(VyIO& stream) const
{
    VySocketMsg::SendMsg(stream);
    stream << m_msgVersion << m_piece << m_square;
}

void VyMoveMsg::ReceiveMsg(VyWireReader& reader)
{
    VySocketMsg::ReceiveMsg(reader);
    reader.ExpectVersion(m_msgVersion);
    reader.Read(m_piece);
    reader.Read(m_square);
}
