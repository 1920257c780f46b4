#pragma once

#include "vythread/VyString.h"

// Where the chat lines typed here go: the connection of a network game implements it (a chat
// message of the game's protocol, type 4). Called on the window thread, only while the connection is
// open (the game window is told of it and of its end, VyGameWnd::SetChatSender).
//
// Failure: SendChat answers false when the line did not go out; the sender itself reports why and
// closes the connection when it must. It is not to throw; an exception it throws all the same is
// taken as "not sent" by the caller.
class VyChatSender
{
public:
    virtual ~VyChatSender() = default;

    // Sends one chat line as it was typed (no markup); true when it went out.
    virtual bool SendChat(const VyString& text) = 0;
};
