#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "vyio/VyTestDir.h"

// A copy of the built game (TOLMAR_EXE) in a fresh directory, removed at the end, with the settings
// given as its vyw.cfg (none for ""); the copy works in its own directory as the game does. Copying
// throws std::filesystem::filesystem_error. The directory's name has a blank and a backslash, which
// are ordinary characters of a name here.
class GameDirectory
{
public:
    explicit GameDirectory(const std::string& settings)
    {
        m_path = m_dir.Path() / "the game\\dir";
        std::filesystem::create_directories(m_path);
        std::filesystem::copy_file(TOLMAR_EXE, m_path / "tolmar");
        if (!settings.empty())
            std::ofstream(m_path / "vyw.cfg") << settings;
    }

    std::string Exe() const { return File("tolmar"); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    VyTestDir m_dir;
    std::filesystem::path m_path;
};

// The environment of a game run without a screen: SDL's offscreen driver with Mesa's software OpenGL,
// the trace on, and no leak report from the sanitizer builds (the OpenGL driver is unloaded at the end
// with memory it never frees).
inline std::map<std::string, std::string> OffscreenEnvironment()
{
    return {{"SDL_VIDEODRIVER", "offscreen"}, {"DISPLAY", ""}, {"VYW_TRACE", "1"}, {"LIBGL_ALWAYS_SOFTWARE", "1"},
            {"VYW_CONTEXT_RESTART", ""}, {"ASAN_OPTIONS", "detect_leaks=0"}};
}
