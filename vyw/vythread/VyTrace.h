#pragma once

#include <functional>

#include "vythread/VyString.h"

// The one trace operation every diagnostic goes through. By default it discards what it is given;
// with the environment variable VYW_TRACE=1 it writes to standard error. Tests install a sink to
// observe assertion reports.
class VyTrace
{
public:
    using Sink = std::function<void(const VyString&)>;

    static void Write(const VyString& text);

    // Builds "<file>(<line>) : Assertion Failed:<expression>\n" and hands it to Write.
    // Execution always continues past a failed assertion.
    static void AssertionFailed(const char* file, int line, const char* expression);

    // Installs a sink that receives every text (instead of the default behaviour); returns the
    // previous one. An empty sink restores the default.
    static Sink SetSink(Sink sink);
};

// VY_ASSERT(expr): reports "Assertion Failed:expr" when expr is false and goes on. The code after it
// must guard the failed case itself.
#define VY_ASSERT(expression) \
    ((expression) ? (void)0 : VyTrace::AssertionFailed(__FILE__, __LINE__, #expression))

// VY_ASSERT_TEXT(expr, "text"): the same, reporting the given text as the expression.
#define VY_ASSERT_TEXT(expression, text) \
    ((expression) ? (void)0 : VyTrace::AssertionFailed(__FILE__, __LINE__, text))
