#include "VySocketMsg.h"

#include "VyGameTypes.h"
#include "vyio/VyMemFile.h"

void VySocketMsg::SendMsg(VyIO& stream) const
{
    stream << VyNumberOf(m_type) << m_version;
}

void VySocketMsg::ReceiveMsg(VyWireReader& reader)
{
    reader.ExpectVersion(m_version);
}

std::vector<unsigned char> VySocketMsg::Encode() const
{
    VyMemFile file(VY_IO_WRITE);
    SendMsg(file);
    return {file.GetData(), file.GetData() + file.GetLength()};
}
