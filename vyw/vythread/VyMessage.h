#pragma once

class VyMessageTarget;

// The posted message record: receiver, type and two integer parameters, always copied by value.
// (On 64-bit the pointer makes it 24 bytes with padding; nothing relies on its size.)
struct VyMessage
{
    VyMessageTarget* pTarget = nullptr; // receiver; never null in a posted message
    int id = 0;                         // message type, one of the VY_MSG_ constants or a module's own
    int param1 = 0;
    int param2 = 0;
};

// Framework message types. The game's own types start at 1001.
constexpr int VY_MSG_DELETE = 2;            // delete the carried object
constexpr int VY_MSG_TIMER = 3;             // timer tick; param1 = timer id (delivered directly, not queued)
constexpr int VY_MSG_RELEASE_TEXTURES = 5;  // render context: release unused cached textures
constexpr int VY_MSG_COMMAND = 6;           // command from a control or menu item; param1 = its identifier
constexpr int VY_MSG_MOVE_WINDOW = 8;       // move a window to a carried rectangle
constexpr int VY_MSG_MENU_CLOSED = 9;       // pop-up menu closed
constexpr int VY_MSG_DIALOG_COMMAND = 10;   // dialog or message-box command; param1 = dialog id, param2 = button
constexpr int VY_MSG_SOCKET_DATA = 12;      // receive thread -> socket, socket -> owner window
constexpr int VY_MSG_SOCKET_CONNECTED = 13; // connected hook -> owner window
constexpr int VY_MSG_SOCKET_CLOSED = 14;    // receive thread -> socket, socket -> owner window
constexpr int VY_MSG_SOCKET_FOREIGN = 15;   // receive thread -> socket: the peer is not one of ours
constexpr int VY_MSG_SOCKET_VERSION = 16;   // receive thread -> socket; param1 = version received
constexpr int VY_MSG_DIALOG_CLOSED = 17;    // param1 = dialog id, param2 = result
constexpr int VY_MSG_BUTTON_STATE = 254;    // button state changed
