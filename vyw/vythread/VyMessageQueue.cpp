#include "vythread/VyMessageQueue.h"

#include <algorithm>
#include <shared_mutex>

#include "vythread/VyException.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyThread.h"
#include "vythread/VyTrace.h"

namespace
{
// Guards the pointer to the installed queue. Operations that may come from other threads hold it
// shared for their whole run, so the queue cannot be uninstalled and destroyed under them.
std::shared_mutex& InstallLock()
{
    static std::shared_mutex lock;
    return lock;
}

VyMessageQueue*& InstalledQueue()
{
    static VyMessageQueue* pQueue = nullptr;
    return pQueue;
}

bool SameTimer(int id, const VyMessageTarget* pTarget, int otherId, const VyMessageTarget* pOther)
{
    return id == otherId && pTarget == pOther;
}
} // namespace

VyMessageQueue::VyMessageQueue()
{
    std::unique_lock<std::shared_mutex> guard(InstallLock());
    VY_ASSERT_TEXT(InstalledQueue() == nullptr, "only one message queue at a time");
    InstalledQueue() = this;
    VyThread::SetMainThread(std::this_thread::get_id());
}

VyMessageQueue::~VyMessageQueue()
{
    std::unique_lock<std::shared_mutex> guard(InstallLock());
    if (InstalledQueue() == this)
        InstalledQueue() = nullptr;
}

VyMessageQueue* VyMessageQueue::Current()
{
    std::shared_lock<std::shared_mutex> guard(InstallLock());
    return InstalledQueue();
}

bool VyMessageQueue::UseCurrent(const std::function<void(VyMessageQueue&)>& action)
{
    std::shared_lock<std::shared_mutex> guard(InstallLock());
    VyMessageQueue* pQueue = InstalledQueue();
    VY_ASSERT(pQueue);
    if (pQueue == nullptr)
        return false;
    action(*pQueue);
    return true;
}

bool VyMessageQueue::Matches(const VyMessage& msg, const VyMessage& filter)
{
    return msg.pTarget == filter.pTarget && (filter.id == 0 || filter.id == msg.id) &&
           (filter.param1 == 0 || filter.param1 == msg.param1) &&
           (filter.param2 == 0 || filter.param2 == msg.param2);
}

void VyMessageQueue::Post(const VyMessage& msg)
{
    VY_ASSERT_TEXT(msg.pTarget, "msg.pTarget");
    if (msg.pTarget == nullptr)
        return; // it could only be dropped at dispatch
    std::lock_guard<std::recursive_mutex> guard(m_queueLock);
    m_messages.push_back(msg);
}

bool VyMessageQueue::HasMessage(const VyMessage& filter) const
{
    std::lock_guard<std::recursive_mutex> guard(m_queueLock);
    return std::any_of(m_messages.begin(), m_messages.end(),
                       [&](const VyMessage& msg) { return Matches(msg, filter); });
}

void VyMessageQueue::RemoveMessages(const VyMessage& filter)
{
    std::lock_guard<std::recursive_mutex> guard(m_queueLock);
    std::erase_if(m_messages, [&](const VyMessage& msg) { return Matches(msg, filter); });
}

size_t VyMessageQueue::GetMessageCount() const
{
    std::lock_guard<std::recursive_mutex> guard(m_queueLock);
    return m_messages.size();
}

bool VyMessageQueue::TryTakeOldest(VyMessage& msg)
{
    std::lock_guard<std::recursive_mutex> guard(m_queueLock);
    if (m_messages.empty())
        return false;
    msg = m_messages.front();
    m_messages.pop_front();
    return true;
}

void VyMessageQueue::DispatchMessages()
{
    VyMessage msg;
    // Messages posted while dispatching (by handlers or other threads) are delivered in this call too.
    while (TryTakeOldest(msg))
    {
        VY_ASSERT_TEXT(msg.pTarget, "msg.pTarget");
        if (msg.pTarget == nullptr)
            continue;
        try
        {
            msg.pTarget->HandleMessage(msg);
        }
        catch (VyException& error)
        {
            error.AddContext("VyMessageTarget", "DispatchMessages");
            throw;
        }
        catch (...)
        {
            VyTrace::Write("VyMessageTarget::DispatchMessages : a handler threw; the message is dropped\n");
        }
    }
}

void VyMessageQueue::SetTimer(VyMessageTarget* pTarget, int id, int periodMs)
{
    VY_ASSERT(pTarget);
    if (pTarget == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> guard(m_timerLock);
    // A period below one tick would make the tick arithmetic divide by zero: it fires every tick.
    Timer timer;
    timer.period = std::max(1, periodMs / TICK_MS);
    timer.phase = static_cast<int>(m_tickCounter % static_cast<unsigned int>(timer.period));
    timer.id = id;
    timer.pTarget = pTarget;
    auto same = [&](const Timer& entry) { return SameTimer(entry.id, entry.pTarget, id, pTarget); };
    std::erase_if(m_timers, same);
    std::erase_if(m_removals, same);
    m_timers.push_back(timer);
}

void VyMessageQueue::KillTimer(VyMessageTarget* pTarget, int id)
{
    std::lock_guard<std::recursive_mutex> guard(m_timerLock);
    Timer request;
    request.id = id;
    request.pTarget = pTarget;
    m_removals.push_back(request);
}

void VyMessageQueue::KillTimers(VyMessageTarget* pTarget)
{
    std::lock_guard<std::recursive_mutex> guard(m_timerLock);
    for (const Timer& timer : m_timers)
        if (timer.pTarget == pTarget)
            m_removals.push_back(timer);
}

void VyMessageQueue::ApplyRemovals()
{
    for (const Timer& request : m_removals)
        std::erase_if(m_timers, [&](const Timer& entry) {
            return SameTimer(entry.id, entry.pTarget, request.id, request.pTarget);
        });
    m_removals.clear();
}

bool VyMessageQueue::IsLive(const Timer& timer) const
{
    auto same = [&](const Timer& entry) { return SameTimer(entry.id, entry.pTarget, timer.id, timer.pTarget); };
    bool listed = std::any_of(m_timers.begin(), m_timers.end(), [&](const Timer& entry) {
        return same(entry) && entry.period == timer.period && entry.phase == timer.phase;
    });
    bool killed = std::any_of(m_removals.begin(), m_removals.end(), same);
    return listed && !killed;
}

void VyMessageQueue::FireTimer(const Timer& timer)
{
    VyMessage msg{timer.pTarget, VY_MSG_TIMER, timer.id, 0};
    try
    {
        timer.pTarget->HandleMessage(msg);
    }
    catch (...)
    {
        // A timer whose handler fails is stopped.
        m_removals.push_back(timer);
    }
}

void VyMessageQueue::ProcessTimers()
{
    std::lock_guard<std::recursive_mutex> guard(m_timerLock);
    ApplyRemovals();
    ++m_tickCounter;
    // Handlers may set and kill timers, so walk a copy and skip entries that were replaced or killed
    // by an earlier handler of this tick; a timer set during the tick does not fire in it.
    const std::vector<Timer> due = m_timers;
    for (const Timer& timer : due)
    {
        if (m_tickCounter % static_cast<unsigned int>(timer.period) != static_cast<unsigned int>(timer.phase))
            continue;
        if (IsLive(timer))
            FireTimer(timer);
    }
    ApplyRemovals();
}

size_t VyMessageQueue::GetTimerCount() const
{
    std::lock_guard<std::recursive_mutex> guard(m_timerLock);
    return m_timers.size();
}

unsigned int VyMessageQueue::GetTickCounter() const
{
    std::lock_guard<std::recursive_mutex> guard(m_timerLock);
    return m_tickCounter;
}
