// tolmar-selfplay: the computer plays against itself with the game's own rules and levels.
//
//   tolmar-selfplay --first L1 --second L2 --games N [--seed S] [--expert-ms N] [--verbose]
//
// Levels are 1..6 or their names (Beginner, Easy, Intermediate, Hard, Advanced, Expert). The sides
// take turns at choosing first; with a seed the run is reproducible (but for an Expert side, whose
// search ends on its budget: --expert-ms, default 2000, 0 = none). The summary is
// "first wins: A, second wins: B, ties: C", followed for each Expert side by a line of its decision
// times and where its search first solved each game (VySelfPlayReport).

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <optional>

#include "VySelfPlayMatch.h"
#include "VySelfPlayReport.h"
#include "vyio/VyArchiveSource.h"
#include "vythread/VyException.h"

namespace
{
int Usage()
{
    std::cerr << "usage: tolmar-selfplay --first LEVEL --second LEVEL --games N [--seed S] [--expert-ms N] "
                 "[--verbose]\n"
                 "       LEVEL is 1..6 or Beginner, Easy, Intermediate, Hard, Advanced, Expert\n";
    return 2;
}

// A level by its number or its name; nothing for any other text.
std::optional<VyLevel> ParseLevel(const VyString& text)
{
    for (VyLevel level : VY_ALL_LEVELS)
        if (text == std::to_string(VyNumberOf(level)) || text.EqualsNoCase(LevelName(level)))
            return level;
    return std::nullopt;
}

bool ParseCount(const char* text, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= 0;
}
} // namespace

int main(int argc, char** argv)
{
    std::optional<VyLevel> first;
    std::optional<VyLevel> second;
    long long games = -1;
    long long seed = -1;
    long long expertMs = 2000;
    bool verbose = false;
    for (int i = 1; i < argc; ++i)
    {
        const VyString option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--verbose")
            verbose = true;
        else if (option == "--first" && hasValue)
            first = ParseLevel(argv[++i]);
        else if (option == "--second" && hasValue)
            second = ParseLevel(argv[++i]);
        else if (option == "--games" && hasValue)
        {
            if (!ParseCount(argv[++i], games) || games > 100000000)
                return Usage();
        }
        else if (option == "--expert-ms" && hasValue)
        {
            if (!ParseCount(argv[++i], expertMs) || expertMs > 3600000)
                return Usage();
        }
        else if (option == "--seed" && hasValue)
        {
            if (!ParseCount(argv[++i], seed) || seed > 0xFFFFFFFFLL)
                return Usage();
        }
        else
            return Usage();
    }
    if (!first || !second || games < 0)
        return Usage();
    if (seed < 0)
        seed = static_cast<long long>(std::time(nullptr) & 0xFFFFFFFF);

    try
    {
        // The classic set as the game ships it, from the archive linked into this program.
        VyArchiveSource resources;
        const VyPieceSet set = VyPieceSet::Classic();
        VySelfPlayMatch match(set, *first, *second, static_cast<uint32_t>(seed), verbose ? &std::cout : nullptr);
        if (verbose)
            std::cout << "Seed " << seed << "; pieces are shown by the initials of Color, Height, Shape, Top\n";
        match.SetExpertTime(static_cast<unsigned int>(expertMs));
        VySelfPlayMatch::Score score = match.Play(static_cast<int>(games));
        std::cout << "first wins: " << score.firstWins << ", second wins: " << score.secondWins
                  << ", ties: " << score.ties << std::endl;
        VySelfPlayReport::Write(std::cout, "first", match.GetFirst());
        VySelfPlayReport::Write(std::cout, "second", match.GetSecond());
    }
    catch (VyException& error)
    {
        std::cerr << error.GetMessage() << "\n";
        return 1;
    }
    return 0;
}
