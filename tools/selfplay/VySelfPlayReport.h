#pragma once

#include <ostream>

#include "VySelfPlaySeat.h"
#include "vythread/VyString.h"

// The self-play summary of an Expert side, one line:
//   "<name> (Expert): 40 decisions, 812.4 ms average, 2001.0 ms longest; first solved at 7.5 empty
//    squares on average (min 6, max 9) in 4 of 4 games"
// Nothing for a side of another level. A match in which the side never solved a game says so
// instead of the empty-square figures.
class VySelfPlayReport
{
public:
    static void Write(std::ostream& out, const VyString& name, const VySelfPlaySeat& seat);
};
