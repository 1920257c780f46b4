#pragma once

#include <atomic>
#include <climits>
#include <memory>
#include <mutex>

#include "VyComputerDecision.h"
#include "VyExpertPlayer.h"
#include "vythread/VyEvent.h"
#include "vythread/VyMessageTarget.h"
#include "vythread/VyRandom.h"
#include "vythread/VyThread.h"

// What the worker is asked to do with a position.
enum class VyWorkerTask
{
    DECIDE, // the computer's move: MSG_COMPUTER_PIECE or MSG_COMPUTER_SQUARE
    HINT,   // the Expert's advice for the player to act: MSG_HINT (VyHintAnswer)
};

// The computer opponent's worker thread. It is started with the game and ended with it; in between
// it sleeps until Wake hands it a position, decides, and posts MSG_COMPUTER_PIECE or
// MSG_COMPUTER_SQUARE (param1 = the choice, param2 = the position's generation) to the target.
// AskHint has the Expert work out the best move for whoever acts in the position and posts MSG_HINT
// (param1 = VyHintAnswer::Pack, param2 = the generation) instead.
//
// Race-free by construction: the position is a copy taken on the window thread when the computer is
// woken (VyGameRules::TakeComputerPosition), handed over under a lock; the worker never reads the
// live game, and its answer is applied on the window thread, which drops it when the position has
// changed since (undo, new game, load). The wake-up uses VyEvent::Set, not a pulse: a pulse would be
// lost when the worker has not yet reached its wait (just started, or just posted its last answer),
// and the game would wait for the computer forever.
//
// The Expert level goes to a VyExpertPlayer owned by the worker and kept across decisions, under
// position.expertMs. Its search ends at its next stop check (every VyExpertSearch::VY_CHECK_NODES
// nodes) when the worker is being stopped (destructor), when another request waits, or when the game
// told of a newer generation (SetNewestGeneration) than the position's; such an answer is not posted.
class VyComputerPlayer
{
public:
    // Starts the worker; answers go to pTarget, random draws come from random (which must outlive it).
    explicit VyComputerPlayer(VyMessageTarget* pTarget, VyRandom& random = VyRandom::Global());
    // Stops the worker and waits for it to end (a plain decision under way is finished and dropped,
    // an Expert search ends at its next check).
    ~VyComputerPlayer();
    VyComputerPlayer(const VyComputerPlayer&) = delete;
    VyComputerPlayer& operator=(const VyComputerPlayer&) = delete;

    // Hands the worker a position to decide on; a request not yet taken up is replaced.
    void Wake(const VyComputerPosition& position);
    // Hands the worker a position to work out a hint on; a request not yet taken up is replaced.
    void AskHint(const VyComputerPosition& position);
    // The game's position generation is now generation (any thread): a search on an older one ends.
    void SetNewestGeneration(int generation);
    // Whether the worker thread runs.
    bool IsRunning() const { return m_thread.IsRunning(); }
    // The Expert searches' stop checks so far (tests count them; never reset). The counter outlives
    // the worker for whoever holds it.
    uint64_t GetStopChecks() const { return m_pStopChecks->load(); }
    std::shared_ptr<const std::atomic<uint64_t>> GetStopCheckCounter() const { return m_pStopChecks; }

private:
    static unsigned int ComputerThread(void* argument);
    void Hand(const VyComputerPosition& position, VyWorkerTask task);
    void Run();
    // Takes the waiting request; false when the worker must stop.
    bool TakeRequest(VyComputerPosition& position, VyWorkerTask& task, bool& bHaveRequest);
    // The answer to a request; false when none is to be posted.
    bool Answer(VyComputerPosition& position, VyWorkerTask task, VyMessage& answer);
    bool AnswerExpert(const VyComputerPosition& position, VyWorkerTask task, VyMessage& answer);
    // The Expert's stop check for a search on generation.
    bool ShouldStop(int generation);

    VyMessageTarget* m_pTarget;
    VyRandom& m_random;
    std::mutex m_lock; // guards the four members below
    VyComputerPosition m_request;
    VyWorkerTask m_task = VyWorkerTask::DECIDE;
    bool m_bPending = false;
    bool m_bStop = false;
    std::atomic<int> m_newestGeneration{INT_MIN};
    std::shared_ptr<std::atomic<uint64_t>> m_pStopChecks = std::make_shared<std::atomic<uint64_t>>(0);
    std::unique_ptr<VyExpertPlayer> m_pExpert; // the worker's alone; made on its first Expert request
    VyEvent m_wake;
    VyThread m_thread;
};
