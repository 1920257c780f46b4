#pragma once

#include "vyio/VySocket.h"
#include "vythread/VyThread.h"

#include <atomic>

// What the served port does with the connections that come after the one it hands over.
enum class VyLaterConnections
{
    LEFT_WAITING, // the accept thread ends: they wait in the system's backlog until the port closes
    TURNED_AWAY,  // the accept thread goes on: each is accepted and closed at once, unread
};

// A socket that serves one port and hands the one connection it accepts to another socket. It serves
// IPv4 and IPv6 through one IPv6 socket where the machine has IPv6, IPv4 alone where it has not.
//
// StartServer starts the accept thread, which waits for one connection, hands it to the connection
// socket (whose OnConnected runs on that thread) and then either ends or turns every later connection
// away until the port is closed; the served port stays open until closed.
// Close from any thread ends a waiting accept at once, without a report (GetFailure then says Closed).
// The connection socket must outlive the accept thread: the destructor and StartServer close and wait
// for it, and WaitAcceptEnded lets an owner do the same before it lets the connection go.
class VyListenSocket : public VySocket
{
public:
    VyListenSocket() = default;
    ~VyListenSocket() override; // closes and waits for the accept thread

    // Closes an earlier server (and waits for its thread), serves port and starts the accept thread that
    // hands the connection to *pConnection. False when the port cannot be served (GetFailure:
    // AddressInUse, PrivilegedPort or System, with the system's text), the thread cannot be started,
    // or pConnection is null (reported as a failed assertion). Not from the accept thread (its
    // connection's OnConnected), which it would wait for.
    bool StartServer(int port, VySocket* pConnection,
                     VyLaterConnections later = VyLaterConnections::LEFT_WAITING);
    // True when no accept thread runs, at the latest after ms milliseconds (VY_INFINITE: no limit).
    bool WaitAcceptEnded(unsigned int ms) const;
    // How many later connections this server has turned away since StartServer.
    int GetTurnedAway() const { return m_turnedAway.load(); }

private:
    bool Serve(int port);
    static unsigned int AcceptProcedure(void* pListenSocket);
    void TurnAwayLaterConnections();

    VyThread m_acceptThread;
    VySocket* m_pConnection = nullptr; // not owned
    VyLaterConnections m_later = VyLaterConnections::LEFT_WAITING;
    std::atomic<int> m_turnedAway{0};
};
