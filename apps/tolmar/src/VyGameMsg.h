#pragma once

#include <optional>

#include "VyGameTypes.h"
#include "VySocketMsg.h"

// The commands a VyGameMsg carries.
enum class VyGameCommand
{
    GAME_STATE = 1,     // m_value is the sender's game state (VyGameState's number)
    OFFER_NEW_GAME = 2, // the sender offers another game; m_value is -1
};

// Type 3: game control.
//
//   03 00 00 00 | 01 00 00 00 | 00 00 00 00 | m_command (int) | m_value (int)
//   e.g. state 3: ... | 01 00 00 00 | 03 00 00 00;  offer: ... | 02 00 00 00 | FF FF FF FF
//
// Both numbers are kept as received: a command this side does not know is the receiver's to pass
// over, and a state number is converted (VyGameStateFromNumber) where it is used.
//
// Failures are VySocketMsg's: a stream error while sending throws; on receipt a wrong version or bytes
// that end early show in the reader's status.
class VyGameMsg : public VySocketMsg
{
public:
    VyGameMsg() : VySocketMsg(VyMsgType::GAME) {}
    VyGameMsg(int command, int value) : VySocketMsg(VyMsgType::GAME), m_command(command), m_value(value) {}
    // Command 1 with the sender's state.
    static VyGameMsg GameState(VyGameState state);
    // Command 2 with the value -1.
    static VyGameMsg NewGameOffer();

    int GetCommand() const { return m_command; }
    int GetValue() const { return m_value; }
    // The command, or nothing for a number this side does not know.
    std::optional<VyGameCommand> GetKnownCommand() const;
    unsigned int GetMsgVersion() const override { return m_msgVersion; }

    void SendMsg(VyIO& stream) const override;
    void ReceiveMsg(VyWireReader& reader) override;

private:
    unsigned int m_msgVersion = VY_SOCKET_MSG_BODY_VERSION;
    int m_command = -1;
    int m_value = -1;
};
