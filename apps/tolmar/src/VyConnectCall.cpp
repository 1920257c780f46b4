#include "VyConnectCall.h"

#include "VyGameSocket.h"

VyConnectCall::VyConnectCall(std::shared_ptr<VyGameSocket> pConnection, const VyString& host, int port,
                             std::shared_ptr<VyPostBox> pReport, std::shared_ptr<std::atomic<bool>> pGivenUp,
                             std::function<void()> hold)
    : m_pConnection(std::move(pConnection)), m_host(host), m_port(port), m_pReport(std::move(pReport)),
      m_pGivenUp(std::move(pGivenUp)), m_hold(std::move(hold))
{
}

bool VyConnectCall::Start(VyThread& thread, std::unique_ptr<VyConnectCall> pCall)
{
    if (!thread.Start(&VyConnectCall::Run, pCall.get()))
        return false;
    pCall.release(); // the thread's now
    return true;
}

unsigned int VyConnectCall::Run(void* pCall)
{
    std::unique_ptr<VyConnectCall> pOwned(static_cast<VyConnectCall*>(pCall));
    pOwned->Connect();
    return 0;
}

void VyConnectCall::Connect()
{
    if (m_hold)
        m_hold();
    if (m_pGivenUp->load())
        return;
    const bool bConnected = m_pConnection->Connect(m_host, m_port);
    // Given up while it connected: a connection nobody waits for any more is closed again.
    if (m_pGivenUp->load())
    {
        if (bConnected)
            m_pConnection->Close();
        return;
    }
    if (!bConnected)
        m_pReport->Post(MSG_CONNECT_FAILED, 0, m_pConnection->GetSerial());
}
