#include "VyGameMsg.h"

namespace
{
constexpr int VY_NO_VALUE = -1;
} // namespace

VyGameMsg VyGameMsg::GameState(VyGameState state)
{
    return VyGameMsg(VyNumberOf(VyGameCommand::GAME_STATE), VyNumberOf(state));
}

VyGameMsg VyGameMsg::NewGameOffer()
{
    return VyGameMsg(VyNumberOf(VyGameCommand::OFFER_NEW_GAME), VY_NO_VALUE);
}

std::optional<VyGameCommand> VyGameMsg::GetKnownCommand() const
{
    if (m_command == VyNumberOf(VyGameCommand::GAME_STATE))
        return VyGameCommand::GAME_STATE;
    if (m_command == VyNumberOf(VyGameCommand::OFFER_NEW_GAME))
        return VyGameCommand::OFFER_NEW_GAME;
    return std::nullopt;
}

void VyGameMsg::SendMsg(VyIO& stream) const
{
    VySocketMsg::SendMsg(stream);
    stream << m_msgVersion << m_command << m_value;
}

void VyGameMsg::ReceiveMsg(VyWireReader& reader)
{
    VySocketMsg::ReceiveMsg(reader);
    reader.ExpectVersion(m_msgVersion);
    reader.Read(m_command);
    reader.Read(m_value);
}
