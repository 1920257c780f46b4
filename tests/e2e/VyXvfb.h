#pragma once

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <string>

#include "e2e/VyProcess.h"

// An Xvfb of the test's own on a display number it picks itself (-displayfd), stopped by its pid when
// the object goes.
class VyXvfb
{
public:
    // Starts a screen of the size ("800x600"); false when Xvfb did not say which display it took
    // within limitMs.
    bool Start(const std::string& logPath, const std::string& size = "800x600", int limitMs = 60000)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        const bool bStarted = m_process.Start(
            {"Xvfb", "-displayfd", "3", "-screen", "0", size + "x24", "-nolisten", "tcp", "-noreset"}, {}, logPath,
            fds[1]);
        close(fds[1]);
        std::string number;
        pollfd wait{fds[0], POLLIN, 0};
        while (bStarted && poll(&wait, 1, limitMs) > 0)
        {
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        close(fds[0]);
        if (number.empty())
            return false;
        m_display = ":" + number;
        return true;
    }

    const std::string& Display() const { return m_display; }

private:
    VyProcess m_process;
    std::string m_display;
};
