#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "vythread/VyClock.h"

// A handle to one worker thread, shared by copies (the last copy lets go of the thread).
// An empty handle refers to no thread.
//
// There is no safe way to force a thread to end on this platform. Owners end their threads
// themselves: set a stop flag, wake the thread (pulse its event, close its socket) and Wait for it,
// before the objects it touches go away. No thread may outlive the objects it touches. A handle
// released while its thread still runs lets the thread run on, detached, and says so in the trace.
class VyThread
{
public:
    using Procedure = unsigned int (*)(void* argument);

    // Starts procedure(argument) on a new thread. The handle lets go of any earlier thread first
    // (that thread keeps running). False when the thread cannot be created.
    bool Start(Procedure procedure, void* argument);
    // True when the thread has ended within ms milliseconds (VY_INFINITE: no limit); false for an
    // empty handle.
    bool Wait(unsigned int ms) const;
    // As Wait, but on the main thread keeps the program alive meanwhile: framework messages are
    // dispatched, and the platform's events pumped once a platform installed its event pump.
    bool WaitPumping(unsigned int ms) const;
    // Cannot force the thread to end (see above): when it still runs, the handle lets go of it, the
    // thread runs on detached, and a diagnostic goes to the trace. Nothing happens once it has ended.
    void Terminate(int exitCode);

    bool IsEmpty() const { return m_pHolder == nullptr; }
    bool IsRunning() const;
    // The value the procedure returned; 0 while it runs or when it threw.
    unsigned int GetExitCode() const;

    // The main thread: the thread that created the message queue, until the platform takes over.
    static void SetMainThread(std::thread::id id);
    static bool IsMainThread();

    // The platform's event pump for WaitPumping: handles pending platform events, waiting at most
    // maxWaitMs for one. Returns the previous pump; an empty one removes it.
    using EventPump = std::function<void(unsigned int maxWaitMs)>;
    static EventPump SetEventPump(EventPump pump);

private:
    struct Signal;
    struct Holder;
    std::shared_ptr<Holder> m_pHolder;
};
