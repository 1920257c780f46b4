#include "VyFlooder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace
{
constexpr int CONNECT_WAIT_MS = 200;
constexpr int KINDS = 4;
constexpr size_t MOST_JUNK = 4096;
// The game's handshake (VyProtocol.h): magic 0x12563478 and version 0x00010001, little-endian.
const std::string HANDSHAKE("\x78\x34\x56\x12\x01\x00\x01\x00", 8);
// A name message (type 1, version 1) whose string announces 0x00FFFFFF bytes.
const std::string HUGE_HEADER("\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00\x01", 19);

std::atomic<bool> g_bStop{false};

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Whether a non-blocking connect in progress completed within the wait.
bool AwaitConnect(int descriptor)
{
    pollfd entry{descriptor, POLLOUT, 0};
    if (poll(&entry, 1, CONNECT_WAIT_MS) <= 0)
        return false;
    int error = 0;
    socklen_t size = sizeof error;
    return getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}
} // namespace

VyFlooder::VyFlooder(int port, int held, uint32_t seed)
    : m_port(port), m_held(static_cast<size_t>(std::max(held, 0))), m_random(seed)
{
}

VyFlooder::~VyFlooder()
{
    CloseAll();
}

void VyFlooder::Stop()
{
    g_bStop.store(true);
}

VyFloodCounts VyFlooder::Run(int seconds, int intervalMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!g_bStop.load() && std::chrono::steady_clock::now() < end)
    {
        Attempt();
        std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
    }
    CloseAll();
    return m_counts;
}

void VyFlooder::Attempt()
{
    ++m_counts.attempts;
    const int descriptor = Connect();
    if (descriptor < 0)
    {
        ++m_counts.refused;
        return;
    }
    ++m_counts.connected;
    const auto kind = static_cast<VyFloodKind>(m_nextKind++ % KINDS);
    SendAll(descriptor, JunkFor(kind));
    Hold(descriptor);
}

int VyFlooder::Connect() const
{
    const int descriptor = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return -1;
    sockaddr_in address = Loopback(m_port);
    const int result = connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address);
    if (result == 0 || (errno == EINPROGRESS && AwaitConnect(descriptor)))
        return descriptor;
    close(descriptor);
    return -1;
}

std::string VyFlooder::JunkFor(VyFloodKind kind)
{
    std::string bytes;
    if (kind == VyFloodKind::SILENT)
        return bytes;
    if (kind == VyFloodKind::HUGE_MESSAGE)
        return HANDSHAKE + HUGE_HEADER;
    if (kind == VyFloodKind::HANDSHAKE)
        bytes = HANDSHAKE;
    const size_t count = 1 + m_random() % MOST_JUNK;
    for (size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(m_random() & 0xFF);
    return bytes;
}

// As much as the system takes at once; a port that does not read gets the rest never.
void VyFlooder::SendAll(int descriptor, const std::string& bytes)
{
    if (bytes.empty())
        return;
    const ssize_t sent = send(descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0)
        m_counts.bytes += sent;
}

void VyFlooder::Hold(int descriptor)
{
    m_open.push_back(descriptor);
    while (m_open.size() > m_held)
    {
        close(m_open.front());
        m_open.pop_front();
    }
    m_counts.mostHeld = std::max(m_counts.mostHeld, static_cast<long>(m_open.size()));
}

void VyFlooder::CloseAll()
{
    for (int descriptor : m_open)
        close(descriptor);
    m_open.clear();
}

std::string VyFlooder::Describe(const VyFloodCounts& counts)
{
    return "flood: " + std::to_string(counts.attempts) + " attempts, " + std::to_string(counts.connected) +
           " connected, " + std::to_string(counts.refused) + " refused, " + std::to_string(counts.bytes) +
           " bytes of junk, at most " + std::to_string(counts.mostHeld) + " held";
}
