#include "VyComputerPlayer.h"

#include "VyHintAnswer.h"
#include "vythread/VyTrace.h"

VyComputerPlayer::VyComputerPlayer(VyMessageTarget* pTarget, VyRandom& random) : m_pTarget(pTarget), m_random(random)
{
    m_thread.Start(ComputerThread, this);
}

VyComputerPlayer::~VyComputerPlayer()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bStop = true;
    }
    m_wake.Set();
    m_thread.Wait(VY_INFINITE);
}

void VyComputerPlayer::Wake(const VyComputerPosition& position)
{
    Hand(position, VyWorkerTask::DECIDE);
}

void VyComputerPlayer::AskHint(const VyComputerPosition& position)
{
    Hand(position, VyWorkerTask::HINT);
}

void VyComputerPlayer::Hand(const VyComputerPosition& position, VyWorkerTask task)
{
    SetNewestGeneration(position.generation);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_request = position;
        m_task = task;
        m_bPending = true;
    }
    m_wake.Set();
}

void VyComputerPlayer::SetNewestGeneration(int generation)
{
    int newest = m_newestGeneration.load();
    while (newest < generation && !m_newestGeneration.compare_exchange_weak(newest, generation))
    {
    }
}

unsigned int VyComputerPlayer::ComputerThread(void* argument)
{
    static_cast<VyComputerPlayer*>(argument)->Run();
    return 0;
}

bool VyComputerPlayer::TakeRequest(VyComputerPosition& position, VyWorkerTask& task, bool& bHaveRequest)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_bStop)
        return false;
    bHaveRequest = m_bPending;
    if (m_bPending)
    {
        position = std::move(m_request);
        task = m_task;
        m_bPending = false;
    }
    return true;
}

bool VyComputerPlayer::ShouldStop(int generation)
{
    ++*m_pStopChecks;
    if (m_newestGeneration.load() > generation)
        return true;
    std::lock_guard<std::mutex> guard(m_lock);
    return m_bStop || m_bPending;
}

bool VyComputerPlayer::AnswerExpert(const VyComputerPosition& position, VyWorkerTask task, VyMessage& answer)
{
    if (!m_pExpert)
        m_pExpert = std::make_unique<VyExpertPlayer>(m_random);
    VyExpertLimits limits;
    limits.budgetMs = position.expertMs;
    limits.stop = [this, generation = position.generation] { return ShouldStop(generation); };
    const VyExpertResult result = m_pExpert->Decide(position, limits);
    if (result.stopped)
        return false;
    if (task == VyWorkerTask::HINT)
    {
        const VyHintAnswer hint{result.square, result.piece, result.outcome};
        answer = {m_pTarget, MSG_HINT, VyHintAnswer::Pack(hint), position.generation};
        return true;
    }
    const int choice = IsPlacingState(position.state) ? result.square : result.piece;
    const bool valid = VyComputerDecision::MakeAnswer(position, choice, m_pTarget, answer);
    VY_ASSERT_TEXT(valid, "the Expert found a choice");
    return valid;
}

bool VyComputerPlayer::Answer(VyComputerPosition& position, VyWorkerTask task, VyMessage& answer)
{
    if (task == VyWorkerTask::HINT || position.level == VyLevel::EXPERT)
        return AnswerExpert(position, task, answer);
    return VyComputerDecision::Decide(position, m_random, m_pTarget, answer);
}

void VyComputerPlayer::Run()
{
    for (;;)
    {
        m_wake.Wait();
        VyComputerPosition position;
        VyWorkerTask task = VyWorkerTask::DECIDE;
        bool bHaveRequest = false;
        if (!TakeRequest(position, task, bHaveRequest))
            return;
        if (!bHaveRequest)
            continue;
        VyMessage answer;
        if (!Answer(position, task, answer))
            continue;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_bStop)
                return;
        }
        VyMessageTarget::Post(answer);
    }
}
