#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

// The other side of a connection for the tests, in plain system calls and raw bytes: it serves a port
// on 127.0.0.1 (or connects to one), writes exactly the bytes a test gives, and collects what arrives
// without ever blocking, so that a test can keep the game's queue running while it waits.
class VyRawPeer
{
public:
    using Bytes = std::vector<unsigned char>;

    VyRawPeer() = default;
    VyRawPeer(const VyRawPeer&) = delete;
    VyRawPeer& operator=(const VyRawPeer&) = delete;
    ~VyRawPeer()
    {
        CloseConnection();
        if (m_listener >= 0)
            close(m_listener);
    }

    // Serves a free port of 127.0.0.1 (backlog 1); returns it, 0 on failure.
    int Serve()
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = Loopback(0);
        if (m_listener < 0 || bind(m_listener, Raw(address), sizeof address) != 0 || listen(m_listener, 1) != 0)
            return 0;
        socklen_t size = sizeof address;
        getsockname(m_listener, Raw(address), &size);
        return ntohs(address.sin_port);
    }
    // Takes a waiting connection if one is there; true once connected.
    bool TryAccept()
    {
        if (m_connection >= 0)
            return true;
        if (!IsReadable(m_listener))
            return false;
        m_connection = accept(m_listener, nullptr, nullptr);
        return m_connection >= 0;
    }
    bool Connect(int port)
    {
        m_connection = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = Loopback(port);
        return m_connection >= 0 && connect(m_connection, Raw(address), sizeof address) == 0;
    }

    void Send(const Bytes& bytes) { SendRaw(bytes.data(), bytes.size()); }
    void Send(const std::string& text) { SendRaw(text.data(), text.size()); }
    // Sends each byte in a write of its own.
    void SendByteByByte(const Bytes& bytes)
    {
        for (unsigned char byte : bytes)
            SendRaw(&byte, 1);
    }

    // Collects what has arrived so far (never waits). False once the other side has closed.
    bool Poll()
    {
        unsigned char buffer[65536];
        while (m_connection >= 0 && IsReadable(m_connection))
        {
            const ssize_t count = recv(m_connection, buffer, sizeof buffer, 0);
            if (count <= 0)
            {
                m_bClosedByOther = true;
                return false;
            }
            m_received.insert(m_received.end(), buffer, buffer + count);
        }
        return !m_bClosedByOther;
    }
    const Bytes& Received() const { return m_received; }
    // Drops what was received up to now (what a test has checked).
    void Consume(size_t count) { m_received.erase(m_received.begin(), m_received.begin() + static_cast<long>(count)); }
    bool IsClosedByOther() { return !Poll(); }
    void CloseConnection()
    {
        if (m_connection >= 0)
            close(m_connection);
        m_connection = -1;
    }
    // Stops reading: with a small receive buffer the other side's sends pile up in its own queue.
    void ShrinkReceiveBuffer()
    {
        const int size = 4096;
        setsockopt(m_connection, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }

private:
    static sockaddr_in Loopback(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }
    static sockaddr* Raw(sockaddr_in& address) { return reinterpret_cast<sockaddr*>(&address); }
    static bool IsReadable(int descriptor)
    {
        pollfd entry{descriptor, POLLIN, 0};
        return poll(&entry, 1, 0) > 0;
    }
    void SendRaw(const void* bytes, size_t count)
    {
        if (m_connection >= 0)
            send(m_connection, bytes, count, MSG_NOSIGNAL);
    }

    int m_listener = -1;
    int m_connection = -1;
    bool m_bClosedByOther = false;
    Bytes m_received;
};
