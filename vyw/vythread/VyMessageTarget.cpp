#include "vythread/VyMessageTarget.h"

#include "vythread/VyMessageQueue.h"
#include "vythread/VyTrace.h"

void VyMessageTarget::HandleMessage(const VyMessage&)
{
}

void VyMessageTarget::Post(const VyMessage& msg)
{
    VyMessageQueue::UseCurrent([&](VyMessageQueue& queue) { queue.Post(msg); });
}

bool VyMessageTarget::HasMessage(const VyMessage& filter)
{
    bool found = false;
    VyMessageQueue::UseCurrent([&](VyMessageQueue& queue) { found = queue.HasMessage(filter); });
    return found;
}

void VyMessageTarget::RemoveMessages(const VyMessage& filter)
{
    VyMessageQueue::UseCurrent([&](VyMessageQueue& queue) { queue.RemoveMessages(filter); });
}

// The main thread alone dispatches, ticks and destroys the queue, so these do not hold the
// installation lock while handlers run. Timer calls do not hold it either: timer handlers run under
// the timer lock and post, which takes the installation lock, so holding it around the timer lock
// would invert the order. A worker thread that sets timers must end before the queue goes.
namespace
{
VyMessageQueue* InstalledOrReport()
{
    VyMessageQueue* pQueue = VyMessageQueue::Current();
    VY_ASSERT(pQueue);
    return pQueue;
}
} // namespace

void VyMessageTarget::DispatchMessages()
{
    if (VyMessageQueue* pQueue = InstalledOrReport())
        pQueue->DispatchMessages();
}

void VyMessageTarget::SetTimer(VyMessageTarget* pTarget, int id, int periodMs)
{
    if (VyMessageQueue* pQueue = InstalledOrReport())
        pQueue->SetTimer(pTarget, id, periodMs);
}

void VyMessageTarget::KillTimer(VyMessageTarget* pTarget, int id)
{
    if (VyMessageQueue* pQueue = InstalledOrReport())
        pQueue->KillTimer(pTarget, id);
}

void VyMessageTarget::KillTimers(VyMessageTarget* pTarget)
{
    if (VyMessageQueue* pQueue = InstalledOrReport())
        pQueue->KillTimers(pTarget);
}

void VyMessageTarget::ProcessTimers()
{
    if (VyMessageQueue* pQueue = InstalledOrReport())
        pQueue->ProcessTimers();
}
