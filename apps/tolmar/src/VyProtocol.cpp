#include "VyProtocol.h"

#include <algorithm>

#include "VyGameTypes.h"
#include "vyio/VyMemFile.h"

std::optional<VyMsgType> VyMsgTypeFromNumber(int number)
{
    if (number < VyNumberOf(VyMsgType::NAME) || number > VyNumberOf(VyMsgType::CHAT))
        return std::nullopt;
    return static_cast<VyMsgType>(number);
}

std::array<unsigned char, VY_HANDSHAKE_SIZE> VyEncodeHandshake()
{
    VyMemFile file(VY_IO_WRITE);
    VyWriteHandshake(file);
    std::array<unsigned char, VY_HANDSHAKE_SIZE> bytes{};
    std::copy_n(file.GetData(), bytes.size(), bytes.begin());
    return bytes;
}

void VyWriteHandshake(VyIO& stream)
{
    stream << VY_PROTOCOL_MAGIC << VY_PROTOCOL_VERSION;
}
