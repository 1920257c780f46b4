#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "e2e/VyProcess.h"
#include "vyio/VyTestDir.h"

// Runs X tools (xdotool) against one display, each to its end, its output caught in a scratch file.
// A tool that fails or outlasts the limit gives "" (the limit only guards against a hang).
class VyDisplayTool
{
public:
    VyDisplayTool(std::string display, std::string scratchPath, int limitMs)
        : m_display(std::move(display)), m_scratch(std::move(scratchPath)), m_limitMs(limitMs)
    {
    }

    std::string Run(const std::vector<std::string>& argv) const
    {
        std::filesystem::remove(m_scratch);
        VyProcess tool;
        if (!tool.Start(argv, {{"DISPLAY", m_display}}, m_scratch) || tool.Wait(m_limitMs) != 0)
            return {};
        return VyTestDir::Slurp(m_scratch);
    }

    // The first visible window xdotool finds by the search words ("--pid", "42"), waiting for one.
    std::string FindWindow(const std::vector<std::string>& search) const
    {
        std::vector<std::string> argv{"xdotool", "search", "--sync", "--onlyvisible"};
        argv.insert(argv.end(), search.begin(), search.end());
        const std::string found = Run(argv);
        return found.substr(0, found.find('\n'));
    }

    // Each key ("Return", "ctrl+p") pressed and released in the window.
    void Keys(const std::string& window, const std::vector<std::string>& keys) const
    {
        for (const std::string& key : keys)
            Run({"xdotool", "key", "--window", window, key});
    }

private:
    std::string m_display;
    std::string m_scratch;
    int m_limitMs;
};

// How often part occurs in text (a trace, say), overlapping occurrences included.
inline size_t VyCountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Waits until the file (a program's trace, say) holds part at least count times; false when it still
// does not after limitMs (the limit only guards against a hang).
inline bool VyWaitForText(const std::string& path, const std::string& part, int limitMs, size_t count = 1)
{
    for (int waited = 0; waited < limitMs; waited += 20)
    {
        if (VyCountOf(VyTestDir::Slurp(path), part) >= count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The line the game traces once the set is drawn: a picture taken earlier may show the set still
// loading (seen on a slow machine under the sanitizers).
constexpr const char* VY_SET_DRAWN = "first frame with the set drawn";
