#pragma once

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>

#include "vyio/VySocket.h"
#include "vythread/VyThread.h"

// Helpers for the socket tests: a peer made of plain system calls, so that the classes under test are
// checked against something that does not share their code, and ways to wait for a thread to block.

// A descriptor that closes itself.
class VyRawFd
{
public:
    explicit VyRawFd(int descriptor = -1) : m_descriptor(descriptor) {}
    VyRawFd(VyRawFd&& other) noexcept : m_descriptor(other.m_descriptor) { other.m_descriptor = -1; }
    VyRawFd& operator=(VyRawFd&&) = delete;
    ~VyRawFd() { Reset(); }
    int Get() const { return m_descriptor; }
    void Reset()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = -1;
    }

private:
    int m_descriptor;
};

// A server on the loopback address of family (127.0.0.1 or ::1) on a port the system picks.
// receiveBuffer > 0 makes the connections it accepts take few bytes before the sender must wait.
inline VyRawFd VyRawListen(int family, int backlog, int& outPort, int receiveBuffer = 0)
{
    VyRawFd listener(::socket(family, SOCK_STREAM, 0));
    if (receiveBuffer > 0)
        ::setsockopt(listener.Get(), SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in6 address{}; // large enough for either family; the port sits at the same place
    auto* pAddress = reinterpret_cast<sockaddr*>(&address);
    socklen_t length = family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
    address.sin6_family = static_cast<sa_family_t>(family);
    if (family == AF_INET)
        reinterpret_cast<sockaddr_in*>(pAddress)->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    else
        address.sin6_addr = in6addr_loopback;
    if (::bind(listener.Get(), pAddress, length) != 0 || ::listen(listener.Get(), backlog) != 0)
        return VyRawFd();
    ::getsockname(listener.Get(), pAddress, &length);
    outPort = ntohs(address.sin6_port);
    return listener;
}

inline VyRawFd VyRawAccept(const VyRawFd& listener)
{
    return VyRawFd(::accept(listener.Get(), nullptr, nullptr));
}

// Reads until count bytes came or the connection ended; what arrived.
inline std::string VyRawReceive(const VyRawFd& connection, size_t count)
{
    std::string bytes(count, '\0');
    size_t got = 0;
    while (got < count)
    {
        const ssize_t result = ::recv(connection.Get(), bytes.data() + got, count - got, 0);
        if (result <= 0)
            break;
        got += static_cast<size_t>(result);
    }
    bytes.resize(got);
    return bytes;
}

// A body run on a VyThread. The destructor waits for it: a test that saw Ended fail hangs there
// until the test runner's time limit, after having reported the failure.
class VyBackground
{
public:
    explicit VyBackground(std::function<void()> body) : m_body(std::move(body)) { m_thread.Start(Run, this); }
    ~VyBackground() { m_thread.Wait(VY_INFINITE); }
    VyBackground(const VyBackground&) = delete;
    VyBackground& operator=(const VyBackground&) = delete;

    // Guards against a hang only: far more than the body ever needs.
    bool Ended(unsigned int ms = 30000) const { return m_thread.Wait(ms); }

private:
    static unsigned int Run(void* pSelf)
    {
        static_cast<VyBackground*>(pSelf)->m_body();
        return 0;
    }
    std::function<void()> m_body;
    VyThread m_thread;
};

// Waits until some thread of this process sits in one of the system calls (read from
// /proc/self/task/*/syscall). False when none did within the guard time, or the system does not show
// it; a test then goes on, checking the same outcome with less certainty that the call had begun.
inline bool VyWaitForThreadIn(std::initializer_list<long> calls)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < giveUp)
    {
        DIR* pTasks = ::opendir("/proc/self/task");
        if (pTasks == nullptr)
            return false;
        bool bFound = false;
        while (const dirent* pEntry = ::readdir(pTasks))
        {
            std::ifstream file(std::string("/proc/self/task/") + pEntry->d_name + "/syscall");
            long call = -1;
            if (file >> call)
                for (long wanted : calls)
                    bFound = bFound || call == wanted;
        }
        ::closedir(pTasks);
        if (bFound)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// The keep-alive settings of a connection notice a vanished peer within a minute.
inline bool VyNoticesVanishedPeerWithinAMinute(int descriptor)
{
    auto option = [descriptor](int level, int name) {
        int value = -1;
        socklen_t length = sizeof value;
        ::getsockopt(descriptor, level, name, &value, &length);
        return value;
    };
    const int idle = option(IPPROTO_TCP, TCP_KEEPIDLE);
    const int silence = idle + option(IPPROTO_TCP, TCP_KEEPINTVL) * option(IPPROTO_TCP, TCP_KEEPCNT);
    const int userTimeout = option(IPPROTO_TCP, TCP_USER_TIMEOUT);
    return option(SOL_SOCKET, SO_KEEPALIVE) == 1 && idle > 0 && silence <= 60 && userTimeout > 0 &&
           userTimeout <= 60000;
}

// A socket that counts its hooks and remembers the thread OnConnected ran on. Read the counts from
// the main thread after the threads that call the hooks have been waited for.
class VyRecordingSocket : public VySocket
{
public:
    int connected = 0;
    std::thread::id connectedOn;
    int data = 0;
    int closed = 0;
    int foreign = 0;
    int version = 0;

protected:
    void OnConnected() override
    {
        ++connected;
        connectedOn = std::this_thread::get_id();
    }
    void OnDataArrived() override { ++data; }
    void OnClosed() override { ++closed; }
    void OnForeignPeer() override
    {
        ++foreign;
        VySocket::OnForeignPeer();
    }
    void OnWrongVersion() override { ++version; }
};
