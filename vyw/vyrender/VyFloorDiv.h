#pragma once

// For the render module's own sources: numerator / denominator rounded down (towards minus
// infinity) for any signs; the denominator is not 0 and the result fits an int.
inline int VyFloorDiv(long long numerator, long long denominator)
{
    long long quotient = numerator / denominator;
    if (numerator % denominator != 0 && (numerator < 0) != (denominator < 0))
        --quotient;
    return static_cast<int>(quotient);
}
