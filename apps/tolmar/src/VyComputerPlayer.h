#pragma once

#include <mutex>

#include "VyComputerDecision.h"
#include "vythread/VyEvent.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyRandom.h"
#include "vythread/VyThread.h"

// The computer opponent's worker thread. It is started with the game and ended with it; in between
// it sleeps until Wake hands it a position, decides, and posts MSG_COMPUTER_PIECE or
// MSG_COMPUTER_SQUARE (param1 = the choice, param2 = the position's generation) to the target.
//
// Race-free by construction: the position is a copy taken on the window thread when the computer is
// woken (VyGameRules::TakeComputerPosition), handed over under a lock; the worker never reads the
// live game, and its answer is applied on the window thread, which drops it when the position has
// changed since (undo, new game, load). The wake-up uses VyEvent::Set, not a pulse: a pulse would be
// lost when the worker has not yet reached its wait (just started, or just posted its last answer),
// and the game would wait for the computer forever.
class VyComputerPlayer
{
public:
    // Starts the worker; answers go to pTarget, random draws come from random (which must outlive it).
    explicit VyComputerPlayer(VyMessageTarget* pTarget, VyRandom& random = VyRandom::Global());
    // Stops the worker and waits for it to end (a decision under way is finished and dropped).
    ~VyComputerPlayer();
    VyComputerPlayer(const VyComputerPlayer&) = delete;
    VyComputerPlayer& operator=(const VyComputerPlayer&) = delete;

    // Hands the worker a position to decide on; a position not yet taken up is replaced.
    void Wake(const VyComputerPosition& position);
    // Whether the worker thread runs.
    bool IsRunning() const { return m_thread.IsRunning(); }

private:
    static unsigned int ComputerThread(void* argument);
    void Run();
    // Takes the waiting request; false when the worker must stop.
    bool TakeRequest(VyComputerPosition& position, bool& bHaveRequest);

    VyMessageTarget* m_pTarget;
    VyRandom& m_random;
    std::mutex m_lock; // guards the three members below
    VyComputerPosition m_request;
    bool m_bPending = false;
    bool m_bStop = false;
    VyEvent m_wake;
    VyThread m_thread;
};
