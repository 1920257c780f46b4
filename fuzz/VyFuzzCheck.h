#pragma once

#include <cstdio>
#include <cstdlib>

// A property a fuzz target holds for every input. A broken one is a finding: the message goes to
// stderr and the process aborts, which libFuzzer reports as a crash with the input saved.
inline void VyFuzzCheck(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
