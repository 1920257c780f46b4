#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "vythread/VyPostBox.h"
#include "vythread/VyString.h"
#include "vythread/VyThread.h"

class VyGameSocket;

// Connecting to a served game, on the game's network thread (the call blocks for as long as the
// name look-up and the connect take).
//
// The call owns a share of everything it works on (the connection, the host, the port) and reports
// only by posting through a post box. So the player's Kill, which can only let go of a thread that
// waits in a name look-up, leaves nothing behind that the thread could touch once the game has moved
// on: the game closes the connection and detaches the box, and the call ends on its own.
//
// On success the connection's own hook reports (handshake, receive thread, VY_MSG_SOCKET_CONNECTED).
// On failure MSG_CONNECT_FAILED goes out with param2 = serial; the reason stays in the connection
// (GetFailure, GetErrorText). An attempt the game has given up (pGivenUp set: Cancel, Kill, another
// opponent) is not begun, or a connection it made all the same is closed again, and it reports
// nothing. The game keeps its own share of the connection until the call has let go of it, so that
// a connection is always destroyed on the window thread.
class VyConnectCall
{
public:
    static constexpr int MSG_CONNECT_FAILED = 1201;

    // hold, when given, runs on the thread before the connect (tests keep a call waiting with it, as
    // a slow name look-up would).
    VyConnectCall(std::shared_ptr<VyGameSocket> pConnection, const VyString& host, int port,
                  std::shared_ptr<VyPostBox> pReport, std::shared_ptr<std::atomic<bool>> pGivenUp,
                  std::function<void()> hold = {});
    // Starts the call on thread (which lets go of an earlier thread of its). False when the thread
    // cannot be started; nothing is posted then.
    static bool Start(VyThread& thread, std::unique_ptr<VyConnectCall> pCall);

private:
    static unsigned int Run(void* pCall);
    void Connect();

    const std::shared_ptr<VyGameSocket> m_pConnection;
    const VyString m_host;
    const int m_port;
    const std::shared_ptr<VyPostBox> m_pReport;
    const std::shared_ptr<std::atomic<bool>> m_pGivenUp;
    const std::function<void()> m_hold;
};
