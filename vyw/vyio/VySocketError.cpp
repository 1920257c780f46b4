#include "vyio/VySocketError.h"

#include <netdb.h>

#include <cstring>

VyString VySocketError::SystemText(int errorNumber)
{
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which need not be in the buffer.
    return strerror_r(errorNumber, buffer, sizeof buffer);
}

VyString VySocketError::LookupText(int lookupResult, int errorNumber)
{
    if (IsHostNotFound(lookupResult))
        return HOST_NOT_FOUND_TEXT;
    if (lookupResult == EAI_SYSTEM)
        return SystemText(errorNumber);
    return gai_strerror(lookupResult);
}

bool VySocketError::IsHostNotFound(int lookupResult)
{
    return lookupResult == EAI_NONAME || lookupResult == EAI_NODATA || lookupResult == EAI_ADDRFAMILY;
}
