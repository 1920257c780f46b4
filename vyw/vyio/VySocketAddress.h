#pragma once

#include <sys/socket.h>

#include <vector>

#include "vythread/VyString.h"

// One IPv4 or IPv6 socket address (host and port), as the system's calls take and give it.
// An IPv4 peer seen through an IPv6 socket that serves both families (::ffff:a.b.c.d) is written as
// the plain a.b.c.d.
class VySocketAddress
{
public:
    VySocketAddress() = default; // empty: family AF_UNSPEC
    // Copies length bytes of address; an address of another family than IPv4 or IPv6 gives an empty one.
    VySocketAddress(const sockaddr* address, socklen_t length);
    // The wildcard address of family (AF_INET or AF_INET6) and port, or for hostOrder == INADDR_LOOPBACK
    // the loopback address; another IPv4 address is taken as is for AF_INET and mapped (::ffff:a.b.c.d)
    // for AF_INET6.
    static VySocketAddress OfIPv4(int family, unsigned int hostOrder, int port);

    // The addresses host stands for, in the order the system prefers, each with port. A numeric IPv4 or
    // IPv6 address (the IPv6 one optionally in brackets) is taken as it is, without a look-up; an empty
    // host stands for this machine's loopback addresses; anything else is looked up by name.
    // Returns 0, or the getaddrinfo result (EAI_...) when nothing was found; errno then holds the cause
    // of EAI_SYSTEM. Blocks for as long as the look-up takes; nothing can cut that short.
    static int Resolve(const VyString& host, int port, std::vector<VySocketAddress>& outAddresses);
    // The other end of a connected socket; empty when getpeername fails.
    static VySocketAddress OfPeer(int descriptor);
    // The address a socket is bound to; empty when getsockname fails.
    static VySocketAddress OfLocal(int descriptor);
    // The addresses other machines can reach this one by: those of the interfaces that are up, IPv4
    // first, without loopback addresses, IPv6 link-local ones (they only mean something with the
    // interface named) and repetitions. Empty when there are none or the interfaces cannot be listed.
    static std::vector<VyString> GetLocalAddresses();

    bool IsEmpty() const { return m_length == 0; }
    int GetFamily() const { return m_storage.ss_family; }
    int GetPort() const;
    // a.b.c.d for IPv4 (mapped ones included), the usual IPv6 text otherwise; empty for an empty address.
    VyString ToText() const;
    const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&m_storage); }
    socklen_t GetLength() const { return m_length; }

private:
    bool IsLoopback() const;
    bool IsIPv6LinkLocal() const;

    sockaddr_storage m_storage{};
    socklen_t m_length = 0;
};
