#include "vyio/VyListenSocket.h"

#include <cerrno>

#include "vythread/VyTrace.h"

namespace
{
// Errors of an IPv6 socket on a machine without IPv6: serve IPv4 alone.
bool IsFamilyMissing(int error)
{
    return error == EAFNOSUPPORT || error == EADDRNOTAVAIL || error == EPROTONOSUPPORT;
}
} // namespace

VyListenSocket::~VyListenSocket()
{
    Close();
    WaitAcceptEnded(VY_INFINITE);
}

bool VyListenSocket::StartServer(int port, VySocket* pConnection, VyLaterConnections later)
{
    Close();
    WaitAcceptEnded(VY_INFINITE);
    VY_ASSERT(pConnection);
    if (pConnection == nullptr)
        return Fail(VySocketFailure::System, EINVAL);
    m_pConnection = pConnection;
    m_later = later;
    m_turnedAway = 0;
    if (!Serve(port))
        return false;
    if (m_acceptThread.Start(AcceptProcedure, this))
        return true;
    Close();
    return Fail(VySocketFailure::System, EAGAIN);
}

bool VyListenSocket::WaitAcceptEnded(unsigned int ms) const
{
    return m_acceptThread.IsEmpty() || m_acceptThread.Wait(ms);
}

bool VyListenSocket::Serve(int port)
{
    if (Create(AF_INET6, SOCK_STREAM, 0) && Listen(port))
        return true;
    if (!IsFamilyMissing(GetErrorNumber()))
        return false;
    return Create(AF_INET, SOCK_STREAM, 0) && Listen(port);
}

unsigned int VyListenSocket::AcceptProcedure(void* pListenSocket)
{
    auto* self = static_cast<VyListenSocket*>(pListenSocket);
    if (!self->Accept(*self->m_pConnection))
        return 0;
    if (self->m_later == VyLaterConnections::TURNED_AWAY)
        self->TurnAwayLaterConnections();
    return 1;
}

// Until the port is closed (Accept then fails), every later connection is closed as soon as it is
// accepted: its peer reads the end of the stream at once, and nothing it sends is read.
void VyListenSocket::TurnAwayLaterConnections()
{
    VySocket stranger;
    while (Accept(stranger))
    {
        ++m_turnedAway; // counted before the peer can see its end
        stranger.Close();
    }
}
