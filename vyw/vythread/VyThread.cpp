#include "vythread/VyThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "vythread/VyException.h"
#include "vythread/VyMessageQueue.h"
#include "vythread/VyTrace.h"

// The "ended" signal, shared by the handle and the running thread.
struct VyThread::Signal
{
    std::mutex lock;
    std::condition_variable ended;
    bool bEnded = false;
    unsigned int exitCode = 0;

    void MarkEnded(unsigned int code)
    {
        std::lock_guard<std::mutex> guard(lock);
        bEnded = true;
        exitCode = code;
        ended.notify_all();
    }

    bool WaitEnded(unsigned int ms)
    {
        std::unique_lock<std::mutex> guard(lock);
        auto done = [&] { return bEnded; };
        if (ms == VY_INFINITE)
        {
            ended.wait(guard, done);
            return true;
        }
        return ended.wait_for(guard, std::chrono::milliseconds(ms), done);
    }
};

// Owns the std::thread; the last handle to go joins it (it has ended) or detaches it (it still runs).
struct VyThread::Holder
{
    std::shared_ptr<Signal> pSignal = std::make_shared<Signal>();
    std::thread thread;

    ~Holder() { LetGo(); }

    void LetGo()
    {
        if (!thread.joinable())
            return;
        if (pSignal->WaitEnded(0))
        {
            thread.join();
            return;
        }
        VyTrace::Write("VyThread : a thread handle was let go while its thread runs; the thread is detached\n");
        thread.detach();
    }
};

namespace
{
unsigned int RunProcedure(VyThread::Procedure procedure, void* argument)
{
    try
    {
        return procedure(argument);
    }
    catch (VyException& error)
    {
        error.AddContext("VyThread", "Run");
        error.Report();
    }
    catch (std::exception& error)
    {
        VyTrace::Write(VyString("*VyThread::Run : ") + error.what() + "\n");
    }
    catch (...)
    {
        VyTrace::Write("*VyThread::Run : unknown exception\n");
    }
    return 0;
}

std::mutex& StaticsLock()
{
    static std::mutex lock;
    return lock;
}

std::thread::id& MainThreadId()
{
    static std::thread::id id;
    return id;
}

VyThread::EventPump& CurrentPump()
{
    static VyThread::EventPump pump;
    return pump;
}

VyThread::EventPump GetPump()
{
    std::lock_guard<std::mutex> guard(StaticsLock());
    return CurrentPump();
}

// How long WaitPumping sleeps between two rounds of dispatching.
constexpr unsigned int PUMP_SLICE_MS = 10;
} // namespace

bool VyThread::Start(Procedure procedure, void* argument)
{
    m_pHolder.reset();
    auto pHolder = std::make_shared<Holder>();
    std::shared_ptr<Signal> pSignal = pHolder->pSignal;
    try
    {
        pHolder->thread = std::thread([pSignal, procedure, argument] {
            pSignal->MarkEnded(RunProcedure(procedure, argument));
        });
    }
    catch (const std::system_error&)
    {
        return false;
    }
    m_pHolder = std::move(pHolder);
    return true;
}

bool VyThread::Wait(unsigned int ms) const
{
    if (!m_pHolder)
        return false;
    return m_pHolder->pSignal->WaitEnded(ms);
}

bool VyThread::WaitPumping(unsigned int ms) const
{
    const unsigned int start = VyClock::TickCount();
    if (!IsMainThread())
        return Wait(ms);
    if (!m_pHolder)
        return false;
    auto dispatch = [] {
        if (VyMessageQueue* pQueue = VyMessageQueue::Current())
            pQueue->DispatchMessages();
    };
    dispatch();
    while (!m_pHolder->pSignal->WaitEnded(0))
    {
        // Unsigned arithmetic: with ms = VY_INFINITE the wait never runs out.
        const unsigned int elapsed = VyClock::TickCount() - start;
        if (elapsed > ms)
            return false;
        if (EventPump pump = GetPump())
            pump(PUMP_SLICE_MS);
        else
            m_pHolder->pSignal->WaitEnded(PUMP_SLICE_MS);
        dispatch();
    }
    return true;
}

void VyThread::Terminate(int exitCode)
{
    if (!m_pHolder || m_pHolder->pSignal->WaitEnded(0))
        return;
    VyTrace::Write(VyString::Format("VyThread::Terminate(%d) : a running thread cannot be forced to end; "
                                    "it is detached\n",
                                    exitCode));
    m_pHolder->thread.detach();
}

bool VyThread::IsRunning() const
{
    return m_pHolder && !m_pHolder->pSignal->WaitEnded(0);
}

unsigned int VyThread::GetExitCode() const
{
    if (!m_pHolder)
        return 0;
    std::lock_guard<std::mutex> guard(m_pHolder->pSignal->lock);
    return m_pHolder->pSignal->exitCode;
}

void VyThread::SetMainThread(std::thread::id id)
{
    std::lock_guard<std::mutex> guard(StaticsLock());
    MainThreadId() = id;
}

bool VyThread::IsMainThread()
{
    std::lock_guard<std::mutex> guard(StaticsLock());
    return MainThreadId() == std::this_thread::get_id();
}

VyThread::EventPump VyThread::SetEventPump(EventPump pump)
{
    std::lock_guard<std::mutex> guard(StaticsLock());
    EventPump previous = std::move(CurrentPump());
    CurrentPump() = std::move(pump);
    return previous;
}
