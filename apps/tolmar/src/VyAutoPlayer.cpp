#include "VyAutoPlayer.h"

#include "VyGameRules.h"

VyAutoPlayer::VyAutoPlayer(VyGameRules& rules, VyLevel level) : m_rules(rules), m_level(level), m_pWorker(std::make_unique<VyComputerPlayer>(this))
{
}

VyAutoPlayer::~VyAutoPlayer()
{
    m_pWorker.reset();
    VyMessageTarget::RemoveMessages({this, 0, 0, 0});
}

void VyAutoPlayer::Consider()
{
    if (!VyMessageTarget::HasMessage({this, MSG_CONSIDER, 0, 0}))
        VyMessageTarget::Post({this, MSG_CONSIDER, 0, 0});
}

bool VyAutoPlayer::IsOurTurn() const
{
    const VyGameState state = m_rules.GetState();
    if (m_rules.IsMoving() || m_rules.IsAwaitingPeerStart())
        return false;
    return state == VyGameState::PLAYER1_CHOOSES || state == VyGameState::PLAYER1_PLACES;
}

void VyAutoPlayer::WakeWorker()
{
    if (!IsOurTurn() || m_askedGeneration == m_rules.GetPositionGeneration())
        return;
    VyComputerPosition position = m_rules.TakeComputerPosition();
    position.level = m_level;
    position.state = position.state == VyGameState::PLAYER1_CHOOSES ? VyGameState::PLAYER2_CHOOSES
                                                                     : VyGameState::PLAYER2_PLACES;
    m_askedGeneration = position.generation;
    m_pWorker->Wake(position);
}

void VyAutoPlayer::HandleMessage(const VyMessage& msg)
{
    if (msg.id == MSG_CONSIDER)
        return WakeWorker();
    const bool bCurrent = msg.param2 == m_rules.GetPositionGeneration() && IsOurTurn();
    m_askedGeneration = -1;
    if (!bCurrent)
        return WakeWorker(); // the position moved on meanwhile: decide on the new one
    if (msg.id == MSG_COMPUTER_PIECE && m_rules.GetState() == VyGameState::PLAYER1_CHOOSES)
        m_rules.ChoosePiece(msg.param1);
    else if (msg.id == MSG_COMPUTER_SQUARE && m_rules.GetState() == VyGameState::PLAYER1_PLACES)
        m_rules.PlacePiece(msg.param1);
}
