#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "vythread/VyMessage.h"

// The process-wide message queue and timers. Constructing one installs it as the current queue (there
// is one at a time: the main window owns it; tests make their own) and makes the constructing thread
// the main thread; destroying it uninstalls it. Posting, querying and removal may come from any
// thread; dispatching and timer ticks run on the main thread only.
//
// Locks: the queue lock guards the pending messages, the timer lock the timers, removal requests and
// tick counter. Both are recursive so that timer handlers may set and kill timers. A handler is never
// called with the queue lock held; timer handlers run with the timer lock held. The queue lock is
// always the last lock taken.
class VyMessageQueue
{
public:
    VyMessageQueue();
    ~VyMessageQueue();
    VyMessageQueue(const VyMessageQueue&) = delete;
    VyMessageQueue& operator=(const VyMessageQueue&) = delete;

    // The installed queue, or null.
    static VyMessageQueue* Current();
    // Runs action on the installed queue, which stays installed meanwhile (the action must not wait
    // for the main thread). Without a queue: a failed assertion, and false.
    static bool UseCurrent(const std::function<void(VyMessageQueue&)>& action);

    // The operations behind the VyMessageTarget statics; see there.
    void Post(const VyMessage& msg);
    bool HasMessage(const VyMessage& filter) const;
    void RemoveMessages(const VyMessage& filter);
    void DispatchMessages();
    size_t GetMessageCount() const;

    void SetTimer(VyMessageTarget* pTarget, int id, int periodMs);
    void KillTimer(VyMessageTarget* pTarget, int id);
    void KillTimers(VyMessageTarget* pTarget);
    void ProcessTimers();
    size_t GetTimerCount() const;           // timers set and not yet removed by a tick
    unsigned int GetTickCounter() const;    // ticks processed since construction

    // Length of one timer tick in milliseconds.
    static constexpr int TICK_MS = 50;

private:
    // Filter rule shared by HasMessage and RemoveMessages.
    static bool Matches(const VyMessage& msg, const VyMessage& filter);

    struct Timer
    {
        int period = 0;  // in ticks, at least 1
        int phase = 0;   // fires when tick counter % period == phase
        int id = 0;
        VyMessageTarget* pTarget = nullptr;
    };

    bool TryTakeOldest(VyMessage& msg);
    void ApplyRemovals();
    bool IsLive(const Timer& timer) const;
    void FireTimer(const Timer& timer);

    mutable std::recursive_mutex m_queueLock;
    std::deque<VyMessage> m_messages;

    mutable std::recursive_mutex m_timerLock;
    std::vector<Timer> m_timers;
    std::vector<Timer> m_removals;
    unsigned int m_tickCounter = 0;
};
