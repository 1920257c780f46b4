#include "vythread/VyClock.h"

#include <chrono>

unsigned int VyClock::TickCount()
{
    using namespace std::chrono;
    auto elapsed = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<unsigned int>(elapsed);
}

std::uint64_t VyClock::Microseconds()
{
    using namespace std::chrono;
    auto elapsed = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint64_t>(elapsed);
}
