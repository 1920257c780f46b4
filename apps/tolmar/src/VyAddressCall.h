#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "vythread/VyPostBox.h"
#include "vythread/VyString.h"
#include "vythread/VyThread.h"

// Finding the addresses another machine can reach this one by, for the start dialog, on the game's
// network thread: the interface addresses (on many systems the host name resolves to a loopback
// address that nobody else can reach), else the host name's address, else "unknown".
//
// The call shares itself with its thread and reports only by posting MSG_ADDRESS_FOUND (param2 =
// serial) through a post box once its text is ready, so it never touches a dialog or window.
class VyAddressCall
{
public:
    static constexpr int MSG_ADDRESS_FOUND = 1202;

    VyAddressCall(const VyString& hostName, int serial, std::shared_ptr<VyPostBox> pReport);
    // Starts the look-up on thread; false when the thread cannot be started (nothing is posted).
    static bool Start(VyThread& thread, const std::shared_ptr<VyAddressCall>& pCall);
    // The text found; empty until MSG_ADDRESS_FOUND went out. Any thread.
    VyString GetText() const;
    int GetSerial() const { return m_serial; }

    // The line shown for the interface addresses (the first three) and the host name's address
    // (either may be empty).
    static VyString DescribeAddresses(const std::vector<VyString>& addresses, const VyString& hostAddress);

private:
    static unsigned int Run(void* pCall);
    void LookUp();

    const VyString m_hostName;
    const int m_serial;
    const std::shared_ptr<VyPostBox> m_pReport;
    mutable std::mutex m_lock; // guards m_text
    VyString m_text;
};
