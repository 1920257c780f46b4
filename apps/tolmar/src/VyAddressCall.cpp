#include "VyAddressCall.h"

#include "vyio/VySocket.h"

VyAddressCall::VyAddressCall(const VyString& hostName, int serial, std::shared_ptr<VyPostBox> pReport)
    : m_hostName(hostName), m_serial(serial), m_pReport(std::move(pReport))
{
}

bool VyAddressCall::Start(VyThread& thread, const std::shared_ptr<VyAddressCall>& pCall)
{
    // The thread holds a share of its own until it ends.
    auto* pShare = new std::shared_ptr<VyAddressCall>(pCall);
    if (thread.Start(&VyAddressCall::Run, pShare))
        return true;
    delete pShare;
    return false;
}

unsigned int VyAddressCall::Run(void* pShare)
{
    std::unique_ptr<std::shared_ptr<VyAddressCall>> pOwned(static_cast<std::shared_ptr<VyAddressCall>*>(pShare));
    (*pOwned)->LookUp();
    return 0;
}

void VyAddressCall::LookUp()
{
    const std::vector<VyString> addresses = VySocket::GetLocalAddresses();
    const VyString hostAddress = addresses.empty() ? VySocket::LookupHost(m_hostName) : VyString();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_text = DescribeAddresses(addresses, hostAddress);
    }
    m_pReport->Post(MSG_ADDRESS_FOUND, 0, m_serial);
}

VyString VyAddressCall::GetText() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_text;
}

VyString VyAddressCall::DescribeAddresses(const std::vector<VyString>& addresses, const VyString& hostAddress)
{
    if (addresses.empty())
        return hostAddress.empty() ? VyString("unknown") : hostAddress;
    // IPv4 comes first; a machine with many IPv6 addresses would not fit the dialog's line.
    constexpr size_t SHOWN = 3;
    VyString text;
    for (size_t i = 0; i < addresses.size() && i < SHOWN; ++i)
        text += (i == 0 ? VyString() : VyString(", ")) + addresses[i];
    return text;
}
