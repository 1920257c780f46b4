#pragma once

#include "vythread/VyString.h"

// The texts a socket reports when something fails, built from the system's own messages. None of these
// fail: an unknown number gets the system's "Unknown error" text.
class VySocketError
{
public:
    // What a name look-up says when the name does not resolve.
    static constexpr const char* HOST_NOT_FOUND_TEXT = "Could not find host.";

    // The system's text for an errno value (strerror, thread-safe).
    static VyString SystemText(int errorNumber);
    // The text for a getaddrinfo result: HOST_NOT_FOUND_TEXT for a name without addresses, the system's
    // text of errorNumber for EAI_SYSTEM, gai_strerror otherwise.
    static VyString LookupText(int lookupResult, int errorNumber);
    // Whether a getaddrinfo result means that the name has no address (rather than that the look-up
    // itself went wrong).
    static bool IsHostNotFound(int lookupResult);
};
