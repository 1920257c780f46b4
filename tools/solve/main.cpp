// tolmar-solve: the best move and the game value of a saved game, by the Expert's exact search.
//
//   tolmar-solve FILE [--ms N]
//
// N is the search's budget in milliseconds (default 10000, 0 = none). The last line printed is
// "value: win", "value: draw" or "value: loss" for the player to act, or "value: unknown" when the
// budget ran out first (VySolver). Exit status: 0 answered, 1 a file that cannot be read or is no
// saved game, 2 wrong arguments, 3 a game that is over or not in play; the reason goes to stderr.

#include <cstdlib>
#include <iostream>

#include "VySolver.h"
#include "vyio/VyArchiveSource.h"
#include "vythread/VyException.h"

namespace
{
int Usage()
{
    std::cerr << "usage: tolmar-solve FILE [--ms N]\n"
                 "       N is the search's budget in milliseconds (default 10000, 0 = none)\n";
    return 2;
}

bool ParseBudget(const char* text, unsigned int& value)
{
    char* end = nullptr;
    const long long number = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || number < 0 || number > 86400000)
        return false;
    value = static_cast<unsigned int>(number);
    return true;
}

int ExitCode(VySolveStatus status)
{
    switch (status)
    {
    case VySolveStatus::ANSWERED: return 0;
    case VySolveStatus::UNREADABLE: return 1;
    case VySolveStatus::NOT_IN_PLAY: return 3;
    }
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    VyString path;
    unsigned int budgetMs = 10000;
    for (int i = 1; i < argc; ++i)
    {
        const VyString option = argv[i];
        if (option == "--ms" && i + 1 < argc)
        {
            if (!ParseBudget(argv[++i], budgetMs))
                return Usage();
        }
        else if (path.empty() && !option.empty() && option[0] != '-')
            path = option;
        else
            return Usage();
    }
    if (path.empty())
        return Usage();
    try
    {
        VyArchiveSource resources;
        VySolver solver(VyPieceSet::Classic());
        return ExitCode(solver.Solve(path, budgetMs, std::cout, std::cerr));
    }
    catch (VyException& error)
    {
        std::cerr << error.GetMessage() << "\n";
        return 1;
    }
}
