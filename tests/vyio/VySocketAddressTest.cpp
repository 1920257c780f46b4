#include <gtest/gtest.h>

#include <net/if.h>
#include <netdb.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "vyio/VySocketAddress.h"
#include "vyio/VySocketError.h"
#include "vyio/VySocketTestPeer.h"

namespace
{
VyString TextOf(const VyString& host)
{
    std::vector<VySocketAddress> addresses;
    if (VySocketAddress::Resolve(host, 80, addresses) != 0 || addresses.size() != 1)
        return "(" + std::to_string(addresses.size()) + " addresses)";
    return addresses[0].ToText() + " " + std::to_string(addresses[0].GetPort());
}

bool IsUp(const std::string& interfaceName)
{
    const VyRawFd probe(::socket(AF_INET, SOCK_DGRAM, 0));
    ifreq request{};
    std::strncpy(request.ifr_name, interfaceName.c_str(), IFNAMSIZ - 1);
    return ::ioctl(probe.Get(), SIOCGIFFLAGS, &request) == 0 && (request.ifr_flags & IFF_UP) != 0;
}

// This machine's addresses as the kernel lists them without getifaddrs: IPv4 through SIOCGIFCONF,
// IPv6 from /proc/net/if_inet6 (scope 00 = global), of interfaces that are up, loopback left out.
std::vector<VyString> KernelAddresses()
{
    std::vector<VyString> texts;
    const VyRawFd probe(::socket(AF_INET, SOCK_DGRAM, 0));
    ifreq requests[64] = {};
    ifconf list{};
    list.ifc_len = sizeof requests;
    list.ifc_req = requests;
    ::ioctl(probe.Get(), SIOCGIFCONF, &list);
    for (int i = 0; i < list.ifc_len / static_cast<int>(sizeof(ifreq)); ++i)
    {
        const VySocketAddress address(&requests[i].ifr_addr, sizeof(sockaddr_in));
        if (IsUp(requests[i].ifr_name) && address.ToText().rfind("127.", 0) != 0)
            texts.push_back(address.ToText());
    }
    std::ifstream table("/proc/net/if_inet6");
    std::string hex, index, prefix, scope, flags, name;
    while (table >> hex >> index >> prefix >> scope >> flags >> name)
    {
        if (scope != "00" || name == "lo" || !IsUp(name))
            continue;
        std::string text;
        for (size_t i = 0; i < hex.size(); i += 4)
            text += (i > 0 ? ":" : "") + hex.substr(i, 4);
        texts.push_back(TextOf(text).substr(0, TextOf(text).find(' ')));
    }
    return texts;
}
} // namespace

TEST(VySocketAddress, TextsOfIPv4IPv6AndMappedAddresses)
{
    EXPECT_EQ(TextOf("192.0.2.7"), "192.0.2.7 80");
    EXPECT_EQ(TextOf("[::1]"), "::1 80");
    EXPECT_EQ(TextOf("::ffff:10.1.2.3"), "10.1.2.3 80");
    EXPECT_EQ(TextOf("2001:db8:0:0:0:0:0:1"), "2001:db8::1 80");
    EXPECT_EQ(VySocketAddress::OfIPv4(AF_INET6, INADDR_ANY, 7).ToText(), "::");
    EXPECT_EQ(VySocketAddress::OfIPv4(AF_INET6, INADDR_LOOPBACK, 7).ToText(), "::1");
    EXPECT_EQ(VySocketAddress::OfIPv4(AF_INET6, 0x0A000001, 7).ToText(), "10.0.0.1");
    EXPECT_EQ(VySocketAddress::OfIPv4(AF_INET, 0x0A000001, 7).GetPort(), 7);
    EXPECT_TRUE(VySocketAddress::OfIPv4(AF_UNIX, INADDR_ANY, 7).IsEmpty());
    EXPECT_EQ(VySocketAddress().ToText(), "");

    std::vector<VySocketAddress> addresses;
    EXPECT_EQ(VySocketAddress::Resolve("127.0.0.1", 70000, addresses), EAI_SERVICE);
    EXPECT_EQ(VySocketError::LookupText(EAI_NONAME, 0), "Could not find host.");
    EXPECT_EQ(VySocketError::LookupText(EAI_AGAIN, 0), gai_strerror(EAI_AGAIN));
    EXPECT_EQ(VySocketError::LookupText(EAI_SYSTEM, ENOMEM), std::strerror(ENOMEM));
}

TEST(VySocketAddress, LocalAddressesAreTheReachableOnesOfTheInterfaces)
{
    std::vector<VyString> local = VySocketAddress::GetLocalAddresses();
    std::vector<VyString> kernel = KernelAddresses();
    // IPv4 first.
    const auto firstIPv6 = std::find_if(local.begin(), local.end(), [](const VyString& text) {
        return text.find(':') != VyString::npos;
    });
    EXPECT_TRUE(std::all_of(firstIPv6, local.end(), [](const VyString& t) { return t.find(':') != VyString::npos; }));
    std::sort(local.begin(), local.end());
    std::sort(kernel.begin(), kernel.end());
    kernel.erase(std::unique(kernel.begin(), kernel.end()), kernel.end());
    EXPECT_EQ(local, kernel);
    char name[1024] = {};
    ::gethostname(name, sizeof name - 1);
    EXPECT_EQ(VySocket::GetHostName(), name);
}
