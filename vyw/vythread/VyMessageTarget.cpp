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

// Dispatching and timer ticks run on the main thread, which is also the only thread that destroys
// the queue, so they do not hold the installation lock while handlers run.
void VyMessageTarget::DispatchMessages()
{
    VyMessageQueue* pQueue = VyMessageQueue::Current();
    VY_ASSERT(pQueue);
    if (pQueue)
        pQueue->DispatchMessages();
}

void VyMessageTarget::SetTimer(VyMessageTarget* pTarget, int id, int periodMs)
{
    VyMessageQueue::UseCurrent([&](VyMessageQueue& queue) { queue.SetTimer(pTarget, id, periodMs); });
}

void VyMessageTarget::KillTimer(VyMessageTarget* pTarget, int id)
{
    VyMessageQueue::UseCurrent([&](VyMessageQueue& queue) { queue.KillTimer(pTarget, id); });
}

void VyMessageTarget::KillTimers(VyMessageTarget* pTarget)
{
    VyMessageQueue::UseCurrent([&](VyMessageQueue& queue) { queue.KillTimers(pTarget); });
}

void VyMessageTarget::ProcessTimers()
{
    VyMessageQueue* pQueue = VyMessageQueue::Current();
    VY_ASSERT(pQueue);
    if (pQueue)
        pQueue->ProcessTimers();
}
