#pragma once

#include <memory>
#include <mutex>

#include "vythread/VyMessage.h"

class VyMessageTarget;

// Where a worker thread posts its reports when the receiver may go away before the worker ends: a
// name look-up cannot be cut short, so the thread that waits in it may outlive the window it works
// for. The worker and the receiver share the box (std::shared_ptr); the receiver detaches it before
// it goes, and from then on the worker's posts are dropped. Posts that were queued before Detach are
// the receiver's to remove (VyMessageTarget::RemoveMessages) or to ignore.
//
// Any thread may post and detach. Post holds the box's lock while it queues, so after Detach returns
// no post of this box can reach the queue.
class VyPostBox
{
public:
    explicit VyPostBox(VyMessageTarget* pTarget) : m_pTarget(pTarget) {}
    static std::shared_ptr<VyPostBox> Make(VyMessageTarget* pTarget) { return std::make_shared<VyPostBox>(pTarget); }

    // Posts id with its parameters to the target; false, posting nothing, once detached.
    bool Post(int id, int param1, int param2);
    void Detach();
    bool IsDetached() const;

private:
    mutable std::mutex m_lock;
    VyMessageTarget* m_pTarget; // null once detached
};
