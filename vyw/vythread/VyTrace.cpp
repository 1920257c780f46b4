#include "vythread/VyTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace
{
std::mutex& SinkLock()
{
    static std::mutex lock;
    return lock;
}

VyTrace::Sink& CurrentSink()
{
    static VyTrace::Sink sink;
    return sink;
}

bool TraceToStandardError()
{
    static const bool enabled = [] {
        const char* value = std::getenv("VYW_TRACE");
        return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
    }();
    return enabled;
}
} // namespace

void VyTrace::Write(const VyString& text)
{
    Sink sink;
    {
        std::lock_guard<std::mutex> guard(SinkLock());
        sink = CurrentSink();
    }
    if (sink)
        sink(text);
    else if (TraceToStandardError())
        std::fputs(text.c_str(), stderr);
}

void VyTrace::AssertionFailed(const char* file, int line, const char* expression)
{
    Write(VyString::Format("%s(%d) : Assertion Failed:%s\n", file, line, expression));
}

VyTrace::Sink VyTrace::SetSink(Sink sink)
{
    std::lock_guard<std::mutex> guard(SinkLock());
    Sink previous = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return previous;
}
