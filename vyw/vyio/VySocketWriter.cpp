#include "vyio/VySocketWriter.h"

#include <sys/socket.h>

#include <cerrno>

#include "vyio/VySocketHandle.h"

VySocketWriter::~VySocketWriter()
{
    Stop();
    Wait(VY_INFINITE);
}

bool VySocketWriter::Start(std::shared_ptr<VySocketHandle> pHandle)
{
    Stop();
    Wait(VY_INFINITE);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pending.clear();
        m_unsent = 0;
        m_bStopped = false;
        m_pHandle = std::move(pHandle);
    }
    if (m_thread.Start(Run, this))
        return true;
    Stop();
    return false;
}

VySocketQueueResult VySocketWriter::Queue(const void* bytes, int count)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_bStopped)
        return VySocketQueueResult::Stopped;
    if (count > LIMIT - m_unsent)
        return VySocketQueueResult::Full;
    m_pending.append(static_cast<const char*>(bytes), static_cast<size_t>(count));
    m_unsent += count;
    m_wake.notify_one();
    return VySocketQueueResult::Queued;
}

void VySocketWriter::Stop()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_bStopped = true;
    m_unsent -= static_cast<int>(m_pending.size());
    m_pending.clear();
    m_wake.notify_one();
}

bool VySocketWriter::Wait(unsigned int ms) const
{
    return m_thread.IsEmpty() || m_thread.Wait(ms);
}

int VySocketWriter::GetUnsentBytes() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_unsent;
}

unsigned int VySocketWriter::Run(void* pWriter)
{
    static_cast<VySocketWriter*>(pWriter)->Drain();
    return 0;
}

void VySocketWriter::Drain()
{
    std::shared_ptr<VySocketHandle> pHandle;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        pHandle = m_pHandle;
    }
    if (!pHandle)
        return;
    std::string chunk;
    while (TakeChunk(chunk))
    {
        if (!SendChunk(chunk, *pHandle))
            Stop();
    }
}

// Waits for bytes; false once stopped.
bool VySocketWriter::TakeChunk(std::string& outChunk)
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_wake.wait(guard, [this] { return m_bStopped || !m_pending.empty(); });
    if (m_bStopped)
        return false;
    outChunk.clear();
    outChunk.swap(m_pending);
    return true;
}

bool VySocketWriter::SendChunk(const std::string& chunk, VySocketHandle& handle)
{
    const VySocketHandle::Use use = handle.Acquire();
    if (!use)
        return false;
    size_t sent = 0;
    while (sent < chunk.size())
    {
        // MSG_NOSIGNAL: a peer that has gone makes the send fail with EPIPE instead of ending the process.
        const ssize_t result = ::send(use.Get(), chunk.data() + sent, chunk.size() - sent, MSG_NOSIGNAL);
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0)
        {
            handle.Close(errno);
            return false;
        }
        sent += static_cast<size_t>(result);
        CountSent(static_cast<int>(result));
    }
    return true;
}

void VySocketWriter::CountSent(int count)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_unsent -= count;
}
