#include "vythread/VyPostBox.h"

#include "vythread/VyMessageTarget.h"

bool VyPostBox::Post(int id, int param1, int param2)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_pTarget == nullptr)
        return false;
    VyMessage msg;
    msg.pTarget = m_pTarget;
    msg.id = id;
    msg.param1 = param1;
    msg.param2 = param2;
    VyMessageTarget::Post(msg);
    return true;
}

void VyPostBox::Detach()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_pTarget = nullptr;
}

bool VyPostBox::IsDetached() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pTarget == nullptr;
}
