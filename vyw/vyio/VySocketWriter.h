#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "vythread/VyThread.h"

class VySocketHandle;

// What became of bytes handed to VySocketWriter::Queue.
enum class VySocketQueueResult
{
    Queued,  // taken; the writer thread sends them in order
    Full,    // refused: they would take the bytes not yet sent past VySocketWriter::LIMIT
    Stopped, // refused: the writer was stopped, or its connection failed
};

// Sends one connection's outgoing bytes on a thread of its own, so that the threads that write never
// wait for the network, also not when the peer stops reading. Queue only copies the bytes; the thread
// hands them to the system in order with blocking sends. A send that fails closes the handle with the
// failure's errno (a thread blocked reading the same socket then wakes) and stops the writer.
class VySocketWriter
{
public:
    // Most bytes that may wait, queued or in a send the system has not finished taking.
    static constexpr int LIMIT = 1 << 20;

    VySocketWriter() = default;
    ~VySocketWriter(); // stops and waits for the thread
    VySocketWriter(const VySocketWriter&) = delete;
    VySocketWriter& operator=(const VySocketWriter&) = delete;

    // Starts sending on pHandle with an empty queue. An earlier thread is stopped and waited for first:
    // its handle must be closed already if its send may block. False when no thread could be started.
    bool Start(std::shared_ptr<VySocketHandle> pHandle);
    // Copies count bytes into the queue; from any thread.
    VySocketQueueResult Queue(const void* bytes, int count);
    // Drops what is queued and lets the thread end, without waiting for it. A send in progress goes on
    // until the handle is closed.
    void Stop();
    // True when the thread has ended within ms milliseconds, or none was started.
    bool Wait(unsigned int ms) const;
    // Bytes queued or in a send, not yet taken by the system.
    int GetUnsentBytes() const;

private:
    static unsigned int Run(void* pWriter);
    void Drain();
    bool TakeChunk(std::string& outChunk);
    bool SendChunk(const std::string& chunk, VySocketHandle& handle);
    void CountSent(int count);

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::string m_pending;
    int m_unsent = 0;
    bool m_bStopped = true;
    std::shared_ptr<VySocketHandle> m_pHandle; // of the running thread
    VyThread m_thread;
};
