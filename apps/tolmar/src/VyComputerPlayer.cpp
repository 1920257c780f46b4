#include "VyComputerPlayer.h"

VyComputerPlayer::VyComputerPlayer(VyMessageTarget* pTarget, VyRandom& random) : m_pTarget(pTarget), m_random(random)
{
    m_thread.Start(ComputerThread, this);
}

VyComputerPlayer::~VyComputerPlayer()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bStop = true;
    }
    m_wake.Set();
    m_thread.Wait(VY_INFINITE);
}

void VyComputerPlayer::Wake(const VyComputerPosition& position)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_request = position;
        m_bPending = true;
    }
    m_wake.Set();
}

unsigned int VyComputerPlayer::ComputerThread(void* argument)
{
    static_cast<VyComputerPlayer*>(argument)->Run();
    return 0;
}

bool VyComputerPlayer::TakeRequest(VyComputerPosition& position, bool& bHaveRequest)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_bStop)
        return false;
    bHaveRequest = m_bPending;
    if (m_bPending)
    {
        position = std::move(m_request);
        m_bPending = false;
    }
    return true;
}

void VyComputerPlayer::Run()
{
    for (;;)
    {
        m_wake.Wait();
        VyComputerPosition position;
        bool bHaveRequest = false;
        if (!TakeRequest(position, bHaveRequest))
            return;
        if (!bHaveRequest)
            continue;
        VyMessage answer;
        if (!VyComputerDecision::Decide(position, m_random, m_pTarget, answer))
            continue;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_bStop)
                return;
        }
        VyMessageTarget::Post(answer);
    }
}
