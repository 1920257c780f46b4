#include "VySelfPlayReport.h"

#include <algorithm>

void VySelfPlayReport::Write(std::ostream& out, const VyString& name, const VySelfPlaySeat& seat)
{
    if (!seat.IsExpert())
        return;
    const uint64_t decisions = seat.GetDecisions();
    const double averageMs = decisions == 0 ? 0.0 : seat.GetTotalMicroseconds() / 1000.0 / decisions;
    out << name << " (Expert): " << decisions << " decisions, "
        << VyString::Format("%.1f ms average, %.1f ms longest", averageMs, seat.GetLongestMicroseconds() / 1000.0);
    const std::vector<int>& solves = seat.GetFirstSolves();
    int solved = 0;
    int sum = 0;
    int least = 0;
    int most = 0;
    for (int empty : solves)
    {
        if (empty < 0)
            continue;
        least = solved == 0 ? empty : std::min(least, empty);
        most = solved == 0 ? empty : std::max(most, empty);
        sum += empty;
        ++solved;
    }
    if (solved == 0)
        out << "; never solved a game in " << solves.size() << " games\n";
    else
        out << VyString::Format("; first solved at %.1f empty squares on average (min %d, max %d) in %d of %d games\n",
                                static_cast<double>(sum) / solved, least, most, solved, static_cast<int>(solves.size()));
}
