// tolmar-flood: a stranger on a port served on this machine, for the soak run (scripts/soak.sh).
//
//   tolmar-flood --port N --seconds S [--hold K] [--interval-ms M] [--seed X]
//
// Connects to 127.0.0.1:N again and again for S seconds (one attempt every M ms, default 10), sends
// each connection junk of one kind in turn (random bytes; the game's handshake and random bytes; the
// handshake and a message that announces 16 MiB; nothing) and keeps up to K of them open (default 8).
// SIGTERM and SIGINT end it early. The last line counts what happened (VyFlooder::Describe).
// Exit status: 0, 2 for a command line it cannot follow.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include "VyFlooder.h"

namespace
{
int Usage()
{
    std::cerr << "usage: tolmar-flood --port N --seconds S [--hold K] [--interval-ms M] [--seed X]\n";
    return 2;
}

// A whole number from low to high; false for anything else.
bool ParseNumber(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

void OnSignal(int)
{
    VyFlooder::Stop();
}

struct Options
{
    long port = 0;
    long seconds = -1;
    long hold = 8;
    long intervalMs = 10;
    long seed = 1;
};

bool ParseOption(const std::string& name, const char* value, Options& options)
{
    if (name == "--port")
        return ParseNumber(value, 1, 65535, options.port);
    if (name == "--seconds")
        return ParseNumber(value, 0, 86400, options.seconds);
    if (name == "--hold")
        return ParseNumber(value, 0, 512, options.hold);
    if (name == "--interval-ms")
        return ParseNumber(value, 1, 60000, options.intervalMs);
    if (name == "--seed")
        return ParseNumber(value, 0, 0xFFFFFFFFL, options.seed);
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2)
        if (!ParseOption(argv[i], argv[i + 1], options))
            return Usage();
    if (argc % 2 == 0 || options.port == 0 || options.seconds < 0)
        return Usage();
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    VyFlooder flooder(static_cast<int>(options.port), static_cast<int>(options.hold),
                      static_cast<uint32_t>(options.seed));
    const VyFloodCounts counts = flooder.Run(static_cast<int>(options.seconds), static_cast<int>(options.intervalMs));
    std::cout << VyFlooder::Describe(counts) << std::endl;
    return 0;
}
