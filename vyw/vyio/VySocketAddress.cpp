#include "vyio/VySocketAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
socklen_t SizeOfFamily(int family)
{
    if (family == AF_INET)
        return sizeof(sockaddr_in);
    if (family == AF_INET6)
        return sizeof(sockaddr_in6);
    return 0;
}

// getaddrinfo wants an IPv6 literal without the brackets it is often written in.
VyString WithoutBrackets(const VyString& host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        return host.substr(1, host.size() - 2);
    return host;
}

int LookUp(const char* node, int port, int flags, std::vector<VySocketAddress>& outAddresses)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    const std::string service = std::to_string(port);
    addrinfo* pList = nullptr;
    const int result = getaddrinfo(node, service.c_str(), &hints, &pList);
    if (result != 0)
        return result;
    for (const addrinfo* p = pList; p != nullptr; p = p->ai_next)
    {
        const VySocketAddress address(p->ai_addr, p->ai_addrlen);
        if (!address.IsEmpty())
            outAddresses.push_back(address);
    }
    freeaddrinfo(pList);
    return outAddresses.empty() ? EAI_NONAME : 0;
}

void AddOnce(std::vector<VyString>& texts, const VyString& text)
{
    if (std::find(texts.begin(), texts.end(), text) == texts.end())
        texts.push_back(text);
}

using AddressQuery = int (*)(int, sockaddr*, socklen_t*);

VySocketAddress Query(AddressQuery query, int descriptor)
{
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (query(descriptor, reinterpret_cast<sockaddr*>(&storage), &length) != 0)
        return {};
    return VySocketAddress(reinterpret_cast<const sockaddr*>(&storage), length);
}

bool IsIPv4Loopback(const void* fourBytes)
{
    return static_cast<const unsigned char*>(fourBytes)[0] == 127;
}
} // namespace

VySocketAddress::VySocketAddress(const sockaddr* address, socklen_t length)
{
    if (address == nullptr)
        return;
    const socklen_t size = SizeOfFamily(address->sa_family);
    if (size == 0 || length < size)
        return;
    std::memcpy(&m_storage, address, size);
    m_length = size;
}

VySocketAddress VySocketAddress::OfIPv4(int family, unsigned int hostOrder, int port)
{
    if (family == AF_INET6)
    {
        sockaddr_in6 six{};
        six.sin6_family = AF_INET6;
        six.sin6_port = htons(static_cast<uint16_t>(port));
        if (hostOrder == INADDR_ANY)
            six.sin6_addr = in6addr_any;
        else if (hostOrder == INADDR_LOOPBACK)
            six.sin6_addr = in6addr_loopback;
        else
        {
            six.sin6_addr.s6_addr[10] = 0xFF;
            six.sin6_addr.s6_addr[11] = 0xFF;
            const uint32_t networkOrder = htonl(hostOrder);
            std::memcpy(six.sin6_addr.s6_addr + 12, &networkOrder, 4);
        }
        return VySocketAddress(reinterpret_cast<const sockaddr*>(&six), sizeof six);
    }
    sockaddr_in four{};
    four.sin_family = static_cast<sa_family_t>(family);
    four.sin_port = htons(static_cast<uint16_t>(port));
    four.sin_addr.s_addr = htonl(hostOrder);
    return VySocketAddress(reinterpret_cast<const sockaddr*>(&four), sizeof four);
}

int VySocketAddress::Resolve(const VyString& host, int port, std::vector<VySocketAddress>& outAddresses)
{
    outAddresses.clear();
    if (port < 0 || port > 65535)
        return EAI_SERVICE;
    if (host.empty())
        return LookUp(nullptr, port, 0, outAddresses);
    const VyString node = WithoutBrackets(host);
    const int numeric = LookUp(node.c_str(), port, AI_NUMERICHOST, outAddresses);
    if (numeric != EAI_NONAME)
        return numeric;
    return LookUp(node.c_str(), port, 0, outAddresses);
}

VySocketAddress VySocketAddress::OfPeer(int descriptor)
{
    return Query(getpeername, descriptor);
}

VySocketAddress VySocketAddress::OfLocal(int descriptor)
{
    return Query(getsockname, descriptor);
}

std::vector<VyString> VySocketAddress::GetLocalAddresses()
{
    ifaddrs* pList = nullptr;
    if (getifaddrs(&pList) != 0)
        return {};
    std::vector<VyString> ipv4;
    std::vector<VyString> ipv6;
    for (const ifaddrs* p = pList; p != nullptr; p = p->ifa_next)
    {
        if (p->ifa_addr == nullptr || (p->ifa_flags & IFF_UP) == 0 || (p->ifa_flags & IFF_LOOPBACK) != 0)
            continue;
        const VySocketAddress address(p->ifa_addr, SizeOfFamily(p->ifa_addr->sa_family));
        if (address.IsEmpty() || address.IsLoopback() || address.IsIPv6LinkLocal())
            continue;
        AddOnce(address.GetFamily() == AF_INET ? ipv4 : ipv6, address.ToText());
    }
    freeifaddrs(pList);
    ipv4.insert(ipv4.end(), ipv6.begin(), ipv6.end());
    return ipv4;
}

int VySocketAddress::GetPort() const
{
    if (GetFamily() == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_port);
    if (GetFamily() == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_port);
    return 0;
}

VyString VySocketAddress::ToText() const
{
    char text[INET6_ADDRSTRLEN] = {};
    if (GetFamily() == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_addr, text, sizeof text);
    if (GetFamily() == AF_INET6)
    {
        const in6_addr& address = reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&address))
            inet_ntop(AF_INET, address.s6_addr + 12, text, sizeof text);
        else
            inet_ntop(AF_INET6, &address, text, sizeof text);
    }
    return text;
}

bool VySocketAddress::IsLoopback() const
{
    if (GetFamily() == AF_INET)
        return IsIPv4Loopback(&reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_addr);
    if (GetFamily() != AF_INET6)
        return false;
    const in6_addr& address = reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_addr;
    return IN6_IS_ADDR_LOOPBACK(&address) || (IN6_IS_ADDR_V4MAPPED(&address) && IsIPv4Loopback(address.s6_addr + 12));
}

bool VySocketAddress::IsIPv6LinkLocal() const
{
    return GetFamily() == AF_INET6 &&
           IN6_IS_ADDR_LINKLOCAL(&reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_addr);
}
