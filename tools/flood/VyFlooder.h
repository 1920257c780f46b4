#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>

// What one connection of the flood sends once it is connected.
enum class VyFloodKind
{
    JUNK,          // random bytes
    HANDSHAKE,     // the game's handshake, then random bytes as if they were messages
    HUGE_MESSAGE,  // the handshake and the header of a message that announces 16 MiB, never sent
    SILENT,        // nothing: the connection is only held
};

// The counts of a flood.
struct VyFloodCounts
{
    long attempts = 0;
    long connected = 0; // connects the port took
    long refused = 0;   // connects refused, or not answered within the connect wait
    long bytes = 0;     // junk handed to the system
    long mostHeld = 0;
};

// A stranger on a TCP port of 127.0.0.1 (and only there): connects again and again, sends each
// connection a kind of junk in turn (VyFloodKind), and keeps up to a number of connections open,
// closing the oldest when one more comes. Plain POSIX sockets; every socket is non-blocking, so a
// port that does not read never holds the flood up.
//
// Failures: a socket the system refuses to make counts as refused; nothing throws. Run returns
// early when Stop was called (from a signal handler: it only sets a flag).
class VyFlooder
{
public:
    VyFlooder(int port, int held, uint32_t seed);
    ~VyFlooder();
    VyFlooder(const VyFlooder&) = delete;
    VyFlooder& operator=(const VyFlooder&) = delete;

    // Floods for seconds, one attempt every intervalMs milliseconds.
    VyFloodCounts Run(int seconds, int intervalMs);
    static void Stop();

    // "flood: 40 attempts, 0 connected, 40 refused, 0 bytes of junk, at most 0 held"
    static std::string Describe(const VyFloodCounts& counts);

private:
    void Attempt();
    // A connected descriptor, or -1 when the port refused or did not answer in time.
    int Connect() const;
    std::string JunkFor(VyFloodKind kind);
    void SendAll(int descriptor, const std::string& bytes);
    void Hold(int descriptor);
    void CloseAll();

    int m_port;
    size_t m_held;
    std::mt19937 m_random;
    std::deque<int> m_open;
    VyFloodCounts m_counts;
    int m_nextKind = 0;
};
