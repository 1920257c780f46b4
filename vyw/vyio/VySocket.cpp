#include "vyio/VySocket.h"

#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "vyio/VySocketAddress.h"
#include "vyio/VySocketError.h"
#include "vythread/VyException.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyTrace.h"

namespace
{
// Keep-alive: the first probe after 20 idle seconds, then every 5 seconds; 4 unanswered probes end the
// connection (40 s). Sent bytes that stay unacknowledged for 45 s end it too.
constexpr int KEEPALIVE_IDLE_S = 20;
constexpr int KEEPALIVE_INTERVAL_S = 5;
constexpr int KEEPALIVE_PROBES = 4;
constexpr int USER_TIMEOUT_MS = 45000;
constexpr int LISTEN_BACKLOG = 5;

// Options that only tune a working socket: a system without one works on without it.
void SetOption(int descriptor, int level, int name, int value)
{
    ::setsockopt(descriptor, level, name, &value, sizeof value);
}

void UseKeepAlive(int descriptor)
{
    SetOption(descriptor, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetOption(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, KEEPALIVE_IDLE_S);
    SetOption(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, KEEPALIVE_INTERVAL_S);
    SetOption(descriptor, IPPROTO_TCP, TCP_KEEPCNT, KEEPALIVE_PROBES);
    SetOption(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT, USER_TIMEOUT_MS);
}

void MakeBlocking(int descriptor)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0)
        ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
}

// The accept errors that concern one incoming connection, not the serving socket: wait for the next.
bool IsPassingAcceptError(int error)
{
    switch (error)
    {
    case EINTR:
    case ECONNABORTED:
    case EPROTO:
    case ENETDOWN:
    case ENOPROTOOPT:
    case EHOSTDOWN:
    case ENONET:
    case EHOSTUNREACH:
    case ENETUNREACH:
        return true;
    default:
        return false;
    }
}

// A non-blocking connect that waits in poll: a shutdown from another thread wakes poll whether it
// came before or during the wait, which a blocking connect does not promise.
int WaitForConnection(VySocketHandle& handle, const VySocketAddress& address)
{
    const VySocketHandle::Use use = handle.Acquire();
    if (!use)
        return handle.GetCloseReason();
    if (::connect(use.Get(), address.Get(), address.GetLength()) == 0)
        return 0;
    if (errno != EINPROGRESS && errno != EINTR)
        return errno;
    pollfd entry{use.Get(), POLLOUT, 0};
    int polled = 0;
    do
        polled = ::poll(&entry, 1, -1);
    while (polled < 0 && errno == EINTR);
    if (polled < 0)
        return errno;
    if (handle.IsClosed())
        return handle.GetCloseReason();
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(use.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

VySocketFailure BindFailure(int error, int port)
{
    if (error == EADDRINUSE)
        return VySocketFailure::AddressInUse;
    if (error == EACCES && port < VySocket::GetUnprivilegedPortStart())
        return VySocketFailure::PrivilegedPort;
    return VySocketFailure::System;
}
} // namespace

VySocket::~VySocket()
{
    Close();
    if (VyMessageQueue::Current() != nullptr)
        RemoveMessages({this, 0, 0, 0});
}

// -- Making, serving, accepting, connecting ----------------------------------------------------------

bool VySocket::Create(int family, int type, int protocol)
{
    Close();
    const int descriptor = ::socket(family, type | SOCK_CLOEXEC, protocol);
    if (descriptor < 0)
        return Fail(VySocketFailure::System, errno);
    std::lock_guard<std::mutex> guard(m_lock);
    m_pHandle = std::make_shared<VySocketHandle>(descriptor, family);
    m_failure = VySocketFailure::None;
    m_errorText.clear();
    m_errorNumber = 0;
    return true;
}

bool VySocket::Bind(int port, int family, unsigned int address)
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = AcquireOrReport(pHandle.get());
    if (!use)
        return Fail(VySocketFailure::Closed, ENOTCONN);
    const VySocketAddress where = VySocketAddress::OfIPv4(family, address, port);
    if (port < 0 || port > 65535 || where.IsEmpty())
        return Fail(VySocketFailure::System, where.IsEmpty() ? EAFNOSUPPORT : EINVAL);
    if (family == AF_INET6 && address == INADDR_ANY)
        SetOption(use.Get(), IPPROTO_IPV6, IPV6_V6ONLY, 0);
    if (::bind(use.Get(), where.Get(), where.GetLength()) == 0)
        return Succeed();
    const int error = errno;
    return Fail(BindFailure(error, port), error);
}

bool VySocket::ListenBacklog(int backlog)
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = AcquireOrReport(pHandle.get());
    if (!use)
        return Fail(VySocketFailure::Closed, ENOTCONN);
    if (::listen(use.Get(), backlog) != 0)
        return Fail(VySocketFailure::System, errno);
    return Succeed();
}

bool VySocket::Listen(int port)
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    if (const VySocketHandle::Use use = AcquireOrReport(pHandle.get()))
        SetOption(use.Get(), SOL_SOCKET, SO_REUSEADDR, 1);
    const int family = pHandle ? pHandle->GetFamily() : AF_INET;
    return Bind(port, family, INADDR_ANY) && ListenBacklog(LISTEN_BACKLOG);
}

bool VySocket::Accept(VySocket& target)
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = AcquireOrReport(pHandle.get());
    if (!use)
        return Fail(VySocketFailure::Closed, pHandle ? pHandle->GetCloseReason() : ENOTCONN);
    for (;;)
    {
        const int descriptor = ::accept4(use.Get(), nullptr, nullptr, SOCK_CLOEXEC);
        if (descriptor >= 0)
            return HandOver(target, descriptor, pHandle->GetFamily());
        const int error = errno;
        if (pHandle->IsClosed())
            return Fail(VySocketFailure::Closed, pHandle->GetCloseReason());
        if (!IsPassingAcceptError(error))
            return Fail(VySocketFailure::System, error);
    }
}

bool VySocket::Connect(const VyString& host, int port)
{
    const unsigned int generation = GetGeneration();
    std::vector<VySocketAddress> addresses;
    const int lookup = VySocketAddress::Resolve(host, port, addresses);
    if (lookup != 0)
    {
        const VySocketFailure failure =
            VySocketError::IsHostNotFound(lookup) ? VySocketFailure::HostNotFound : VySocketFailure::System;
        return FailText(failure, VySocketError::LookupText(lookup, errno));
    }
    int error = 0;
    for (const VySocketAddress& address : addresses)
    {
        error = ConnectTo(address, generation);
        if (error == 0)
        {
            Succeed();
            OnConnected();
            return true;
        }
        if (GetGeneration() != generation)
            return Fail(VySocketFailure::Closed, error);
    }
    return Fail(VySocketFailure::System, error);
}

// One attempt; 0 when connected, else the errno value.
int VySocket::ConnectTo(const VySocketAddress& address, unsigned int generation)
{
    const int descriptor = ::socket(address.GetFamily(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return errno;
    const auto pHandle = std::make_shared<VySocketHandle>(descriptor, address.GetFamily());
    if (!Install(pHandle, generation))
        return ECONNABORTED;
    const int error = WaitForConnection(*pHandle, address);
    if (error != 0)
    {
        pHandle->Close(error);
        return error;
    }
    return StartConnection(pHandle);
}

// Makes pHandle the socket's, unless Close came after generation was read; the earlier socket closes.
bool VySocket::Install(const std::shared_ptr<VySocketHandle>& pHandle, unsigned int generation)
{
    std::shared_ptr<VySocketHandle> pEarlier;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_generation != generation)
            return false;
        pEarlier = std::exchange(m_pHandle, pHandle);
    }
    if (pEarlier)
        pEarlier->Close(ECONNABORTED);
    m_writer.Stop();
    return true;
}

// A connected socket becomes a connection: blocking calls, keep-alive, its writer thread.
int VySocket::StartConnection(const std::shared_ptr<VySocketHandle>& pHandle)
{
    {
        const VySocketHandle::Use use = pHandle->Acquire();
        if (!use)
            return pHandle->GetCloseReason();
        MakeBlocking(use.Get());
        UseKeepAlive(use.Get());
    }
    if (m_writer.Start(pHandle))
        return 0;
    pHandle->Close(EAGAIN);
    return EAGAIN;
}

int VySocket::TakeConnection(int descriptor, int family)
{
    Close();
    const auto pHandle = std::make_shared<VySocketHandle>(descriptor, family);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pHandle = pHandle;
    }
    const int error = StartConnection(pHandle);
    if (error == 0)
        Succeed();
    else
        Fail(VySocketFailure::System, error);
    return error;
}

bool VySocket::HandOver(VySocket& target, int descriptor, int family)
{
    const int error = target.TakeConnection(descriptor, family);
    if (error != 0)
        return Fail(VySocketFailure::System, error);
    Succeed();
    target.OnConnected();
    return true;
}

// -- Queries -------------------------------------------------------------------------------------------

VyString VySocket::GetPeerAddress() const
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = AcquireOrReport(pHandle.get());
    return use ? VySocketAddress::OfPeer(use.Get()).ToText() : VyString();
}

int VySocket::GetLocalPort() const
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = AcquireOrReport(pHandle.get());
    return use ? VySocketAddress::OfLocal(use.Get()).GetPort() : 0;
}

VyString VySocket::GetHostName()
{
    char name[1024] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

VyString VySocket::LookupHost(const VyString& name)
{
    std::vector<VySocketAddress> addresses;
    if (VySocketAddress::Resolve(name, 0, addresses) != 0)
        return {};
    return addresses.front().ToText();
}

std::vector<VyString> VySocket::GetLocalAddresses()
{
    return VySocketAddress::GetLocalAddresses();
}

int VySocket::GetUnprivilegedPortStart()
{
    constexpr int DEFAULT_START = 1024;
    std::FILE* pFile = std::fopen("/proc/sys/net/ipv4/ip_unprivileged_port_start", "r");
    if (pFile == nullptr)
        return DEFAULT_START;
    int start = DEFAULT_START;
    if (std::fscanf(pFile, "%d", &start) != 1)
        start = DEFAULT_START;
    std::fclose(pFile);
    return start;
}

bool VySocket::IsOpen() const
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    return pHandle && !pHandle->IsClosed();
}

int VySocket::GetHandle() const
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = pHandle ? pHandle->Acquire() : VySocketHandle::Use();
    return use.Get();
}

VySocketFailure VySocket::GetFailure() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_failure;
}

VyString VySocket::GetErrorText() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_errorText;
}

int VySocket::GetErrorNumber() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_errorNumber;
}

// -- The stream ----------------------------------------------------------------------------------------

void VySocket::Close()
{
    CloseFor(ECONNABORTED);
}

int VySocket::Read(void* buffer, int count)
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = AcquireOrReport(pHandle.get());
    if (!use)
        ThrowClosed("Read", pHandle.get());
    char* bytes = static_cast<char*>(buffer);
    int got = 0;
    while (got < count)
    {
        const int received = ReceiveOnce("Read", use, *pHandle, bytes + got, count - got);
        if (received == 0)
            break; // the peer closed the connection
        got += received;
    }
    return got;
}

int VySocket::ReadSome(void* buffer, int count)
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    const VySocketHandle::Use use = AcquireOrReport(pHandle.get());
    if (!use)
        ThrowClosed("ReadSome", pHandle.get());
    if (count <= 0)
        return 0;
    return ReceiveOnce("ReadSome", use, *pHandle, static_cast<char*>(buffer), count);
}

int VySocket::Write(const void* buffer, int count)
{
    const std::shared_ptr<VySocketHandle> pHandle = GetCurrentHandle();
    if (!pHandle || pHandle->IsClosed())
    {
        VY_ASSERT_TEXT(false, "m_nSocket>=0");
        ThrowClosed("Write", pHandle.get());
    }
    if (count <= 0)
        return 0;
    switch (m_writer.Queue(buffer, count))
    {
    case VySocketQueueResult::Queued:
        return count;
    case VySocketQueueResult::Full:
        Throw("Write", VySocketFailure::Overflow, ENOBUFS);
    case VySocketQueueResult::Stopped:
        break;
    }
    ThrowClosed("Write", pHandle.get());
}

void VySocket::SeekToBegin()
{
    VY_ASSERT(false);
}

void VySocket::SeekToEnd()
{
    VY_ASSERT(false);
}

void VySocket::Seek(int)
{
    VY_ASSERT(false);
}

void VySocket::SetPosition(int)
{
    VY_ASSERT(false);
}

int VySocket::GetPosition()
{
    VY_ASSERT(false);
    return 0;
}

bool VySocket::IsEOF()
{
    VY_ASSERT(false);
    return false;
}

// -- Messages and hooks --------------------------------------------------------------------------------

void VySocket::HandleMessage(const VyMessage& msg)
{
    switch (msg.id)
    {
    case VY_MSG_SOCKET_DATA:
        OnDataArrived();
        break;
    case VY_MSG_SOCKET_CLOSED:
        OnClosed();
        break;
    case VY_MSG_SOCKET_FOREIGN:
        OnForeignPeer();
        break;
    case VY_MSG_SOCKET_VERSION:
        OnWrongVersion();
        break;
    default:
        break;
    }
}

void VySocket::OnForeignPeer()
{
    Close();
}

void VySocket::OnWrongVersion()
{
    Close();
}

// -- Outcomes ------------------------------------------------------------------------------------------

bool VySocket::Succeed()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_failure = VySocketFailure::None;
    m_errorText.clear();
    m_errorNumber = 0;
    return true;
}

bool VySocket::Fail(VySocketFailure failure, int errorNumber)
{
    const VyString text = VySocketError::SystemText(errorNumber);
    std::lock_guard<std::mutex> guard(m_lock);
    m_failure = failure;
    m_errorText = text;
    m_errorNumber = errorNumber;
    return false;
}

bool VySocket::FailText(VySocketFailure failure, const VyString& text)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_failure = failure;
    m_errorText = text;
    m_errorNumber = 0;
    return false;
}

// One receive of at least one byte; 0 when the peer closed the connection. Throws on failure.
int VySocket::ReceiveOnce(const char* method, const VySocketHandle::Use& use, const VySocketHandle& handle,
                          char* bytes, int count)
{
    for (;;)
    {
        const ssize_t result = ::recv(use.Get(), bytes, static_cast<size_t>(count), 0);
        if (result > 0)
            return static_cast<int>(result);
        if (result < 0 && errno == EINTR)
            continue;
        // A shutdown on this side also ends a waiting receive, as if the peer had closed.
        if (handle.IsClosed())
            ThrowClosed(method, &handle);
        if (result < 0)
            Throw(method, VySocketFailure::System, errno);
        return 0;
    }
}

void VySocket::CloseFor(int reason)
{
    std::shared_ptr<VySocketHandle> pHandle;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_generation;
        pHandle = std::move(m_pHandle);
    }
    if (pHandle)
        pHandle->Close(reason);
    m_writer.Stop();
}

void VySocket::Throw(const char* method, VySocketFailure failure, int errorNumber)
{
    Fail(failure, errorNumber);
    CloseFor(errorNumber);
    throw VyException("VySocket", method, VySocketError::SystemText(errorNumber));
}

// The connection was closed on this side (or never open): fail with the reason it was closed for.
void VySocket::ThrowClosed(const char* method, const VySocketHandle* pHandle)
{
    const int reason = pHandle != nullptr ? pHandle->GetCloseReason() : 0;
    Throw(method, VySocketFailure::Closed, reason != 0 ? reason : ENOTCONN);
}

// -- Helpers -------------------------------------------------------------------------------------------

std::shared_ptr<VySocketHandle> VySocket::GetCurrentHandle() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pHandle;
}

VySocketHandle::Use VySocket::AcquireOrReport(VySocketHandle* pHandle)
{
    VySocketHandle::Use use = pHandle != nullptr ? pHandle->Acquire() : VySocketHandle::Use();
    VY_ASSERT_TEXT(use, "m_nSocket>=0");
    return use;
}

unsigned int VySocket::GetGeneration() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_generation;
}
