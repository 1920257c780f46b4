#pragma once

#include "vythread/VyMessage.h"

// Base class of every object that receives framework messages (windows, streams, render contexts).
// The static operations act on the process-wide queue (VyMessageQueue::Current()). With no queue
// installed they report a failed assertion and do nothing (HasMessage then answers false).
class VyMessageTarget
{
public:
    virtual ~VyMessageTarget() = default;

    // Receives one message on the main thread. Classes that take no messages leave it empty.
    virtual void HandleMessage(const VyMessage& msg);

    // Appends a copy of msg to the queue; callable from any thread. msg.pTarget must be set.
    static void Post(const VyMessage& msg);
    // Whether a pending message matches the filter: same pTarget, and id, param1, param2 each 0 in the
    // filter or equal to the message's.
    static bool HasMessage(const VyMessage& filter);
    // Deletes every pending message that matches the filter (rule as for HasMessage).
    static void RemoveMessages(const VyMessage& filter);
    // Delivers pending messages on the calling (main) thread, including those posted meanwhile.
    // A VyException from a handler gets the line "*VyMessageTarget::DispatchMessages" and ends the
    // call; any other exception is swallowed and dispatching goes on.
    static void DispatchMessages();

    // Starts (or replaces) timer id of pTarget: a VY_MSG_TIMER every periodMs / 50 ticks, at least
    // every tick, the first one that many ticks from now. Timer handlers may call it; a worker thread
    // may too, if it ends before the queue goes.
    static void SetTimer(VyMessageTarget* pTarget, int id, int periodMs);
    // Stops timer id of pTarget; it fires no more, and its entry goes at the next tick.
    static void KillTimer(VyMessageTarget* pTarget, int id);
    // Stops every timer of pTarget.
    static void KillTimers(VyMessageTarget* pTarget);
    // One tick of the timers, called by the main loop every 50 ms or more.
    static void ProcessTimers();
};
