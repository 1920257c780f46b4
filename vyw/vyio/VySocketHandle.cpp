#include "vyio/VySocketHandle.h"

#include <sys/socket.h>
#include <unistd.h>

VySocketHandle::Use::Use(std::shared_ptr<VySocketHandle> pHandle, int descriptor)
    : m_pHandle(std::move(pHandle)), m_descriptor(descriptor)
{
}

VySocketHandle::Use::Use(Use&& other) noexcept
    : m_pHandle(std::move(other.m_pHandle)), m_descriptor(other.m_descriptor)
{
    other.m_descriptor = -1;
}

VySocketHandle::Use::~Use()
{
    if (m_pHandle && m_descriptor >= 0)
        m_pHandle->Release();
}

VySocketHandle::VySocketHandle(int descriptor, int family) : m_descriptor(descriptor), m_family(family)
{
}

VySocketHandle::~VySocketHandle()
{
    if (!m_bDescriptorClosed)
        ::close(m_descriptor);
}

VySocketHandle::Use VySocketHandle::Acquire()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_bClosed)
        return {};
    ++m_users;
    return Use(shared_from_this(), m_descriptor);
}

void VySocketHandle::Close(int reason)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_closeReason = reason;
    // Fails harmlessly (ENOTCONN) on a socket that never connected.
    ::shutdown(m_descriptor, SHUT_RDWR);
    if (m_users == 0)
    {
        ::close(m_descriptor);
        m_bDescriptorClosed = true;
    }
}

bool VySocketHandle::IsClosed() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_bClosed;
}

int VySocketHandle::GetCloseReason() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_closeReason;
}

void VySocketHandle::Release()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (--m_users == 0 && m_bClosed && !m_bDescriptorClosed)
    {
        ::close(m_descriptor);
        m_bDescriptorClosed = true;
    }
}
