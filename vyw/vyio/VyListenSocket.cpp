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

bool VyListenSocket::StartServer(int port, VySocket* pConnection)
{
    Close();
    WaitAcceptEnded(VY_INFINITE);
    VY_ASSERT(pConnection);
    if (pConnection == nullptr)
        return Fail(VySocketFailure::System, EINVAL);
    m_pConnection = pConnection;
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
    return self->Accept(*self->m_pConnection) ? 1 : 0;
}
