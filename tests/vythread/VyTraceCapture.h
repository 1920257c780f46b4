#pragma once

#include <mutex>

#include "vythread/VyString.h"
#include "vythread/VyTrace.h"

// Collects every trace text while it lives (from any thread) and puts the previous sink back at its end.
class VyTraceCapture
{
public:
    VyTraceCapture()
    {
        m_previous = VyTrace::SetSink([this](const VyString& text) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_text += text;
        });
    }
    ~VyTraceCapture() { VyTrace::SetSink(m_previous); }
    VyTraceCapture(const VyTraceCapture&) = delete;
    VyTraceCapture& operator=(const VyTraceCapture&) = delete;

    // Everything written so far.
    VyString Text() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_text;
    }
    // How often `text` occurs in what was written (overlapping occurrences count).
    int Count(const VyString& text) const
    {
        const VyString all = Text();
        int count = 0;
        for (size_t at = all.find(text); at != VyString::npos; at = all.find(text, at + 1))
            ++count;
        return count;
    }
    bool Has(const VyString& text) const { return Text().find(text) != VyString::npos; }
    void Clear()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_text.clear();
    }

private:
    mutable std::mutex m_lock;
    VyString m_text;
    VyTrace::Sink m_previous;
};
