#pragma once

#include <mutex>

#include "vythread/VyString.h"

// What a piece of long work reports to its progress window, from any thread: a text, a value of 0 to
// 100 that only ever grows, and whether the work ended (done, or failed). The window reads it on its
// own thread; the work and the window share it, so either may end first.
class VyProgressState
{
public:
    void SetText(const VyString& text);
    // A value below the last one is ignored, one above 100 taken as 100; 100 means done.
    void SetValue(int value);
    // The work failed (or was abandoned): the window closes without reaching 100.
    void Fail();

    struct Snapshot
    {
        VyString text;
        int value = 0;
        bool bFailed = false;
        unsigned int changes = 0; // grows with every change, so that a reader sees whether one came
    };
    Snapshot Read() const;

private:
    mutable std::mutex m_lock;
    Snapshot m_state;
};
