#pragma once

#include <memory>
#include <mutex>

// One socket descriptor that several threads may block on at once (accept, connect, recv, send) while
// any thread may close it. Closing shuts the socket down in both directions, which makes those calls
// return at once (closing the descriptor alone would not wake them), and closes the descriptor only
// when the last thread using it has let go: no call ever reaches a descriptor number that the system
// has meanwhile handed out again. Always held by std::shared_ptr.
class VySocketHandle : public std::enable_shared_from_this<VySocketHandle>
{
public:
    // Keeps the descriptor open while it lives; Get() is -1 when the handle was already closed.
    class Use
    {
    public:
        Use() = default;
        Use(Use&& other) noexcept;
        Use& operator=(Use&& other) = delete;
        ~Use();
        int Get() const { return m_descriptor; }
        explicit operator bool() const { return m_descriptor >= 0; }

    private:
        friend class VySocketHandle;
        Use(std::shared_ptr<VySocketHandle> pHandle, int descriptor);

        std::shared_ptr<VySocketHandle> m_pHandle;
        int m_descriptor = -1;
    };

    // Takes over descriptor (>= 0), a socket of the given address family.
    VySocketHandle(int descriptor, int family);
    ~VySocketHandle(); // closes the descriptor if Close has not
    VySocketHandle(const VySocketHandle&) = delete;
    VySocketHandle& operator=(const VySocketHandle&) = delete;

    // The descriptor for one call; empty once the handle is closed.
    Use Acquire();
    // Shuts the socket down and marks the handle closed for reason (an errno value that later failures
    // report). Only the first call counts. The descriptor is closed now, or when the last Use ends.
    void Close(int reason);
    bool IsClosed() const;
    // The reason given to Close; 0 while open.
    int GetCloseReason() const;
    int GetFamily() const { return m_family; }

private:
    void Release();

    mutable std::mutex m_lock;
    const int m_descriptor;
    const int m_family;
    int m_users = 0;
    bool m_bClosed = false;
    bool m_bDescriptorClosed = false;
    int m_closeReason = 0;
};
