#include "vythread/VyClock.h"

#include <chrono>

unsigned int VyClock::TickCount()
{
    using namespace std::chrono;
    auto elapsed = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<unsigned int>(elapsed);
}
