#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

// A program the end-to-end tests start and stop themselves: no shell, its output into a file, stopped
// by its process id.
class VyProcess
{
public:
    VyProcess() = default;
    VyProcess(const VyProcess&) = delete;
    VyProcess& operator=(const VyProcess&) = delete;
    ~VyProcess() { Stop(); }

    // Starts argv[0] (searched in PATH) with the environment changed by `set` (an empty value removes
    // the variable), standard output and error appended to outputPath (standard error to errorPath
    // when one is given), optionally one pipe end handed to it as file descriptor 3, and in
    // workingDirectory when one is given (argv[0] is then absolute or found in PATH). False when it
    // cannot be started.
    bool Start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& set,
               const std::string& outputPath, int fd3 = -1, const std::string& errorPath = {},
               const std::string& workingDirectory = {})
    {
        std::vector<std::string> environment = MergedEnvironment(set);
        std::vector<char*> args = Pointers(argv);
        std::vector<char*> envp = Pointers(environment);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (errorPath.empty())
            posix_spawn_file_actions_adddup2(&actions, 1, 2);
        else
            posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd3 >= 0)
            posix_spawn_file_actions_adddup2(&actions, fd3, 3);
        if (!workingDirectory.empty())
            posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
        const int error = posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0)
            m_pid = -1;
        return error == 0;
    }

    // Waits for the program to end by itself, at most limitMs (a guard against hangs, not a
    // measurement). Returns its exit code, or -1 when it did not end (it is then killed) or died of a
    // signal.
    int Wait(int limitMs)
    {
        for (int waited = 0; m_pid > 0; waited += 10)
        {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid)
            {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (waited >= limitMs)
            {
                Stop();
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    // Asks the program to end (SIGTERM) and waits for it; kills it when it does not end.
    int Terminate(int limitMs)
    {
        if (m_pid > 0)
            kill(m_pid, SIGTERM);
        return Wait(limitMs);
    }

    void Stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    pid_t Pid() const { return m_pid; }

    // Whether a program of that name is found in PATH.
    static bool IsInstalled(const std::string& name)
    {
        const char* path = std::getenv("PATH");
        std::string paths = path ? path : "";
        size_t start = 0;
        while (start <= paths.size())
        {
            size_t end = paths.find(':', start);
            if (end == std::string::npos)
                end = paths.size();
            const std::string candidate = paths.substr(start, end - start) + "/" + name;
            if (access(candidate.c_str(), X_OK) == 0)
                return true;
            start = end + 1;
        }
        return false;
    }

private:
    static std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& set)
    {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry)
        {
            const std::string text = *entry;
            if (set.count(text.substr(0, text.find('='))) == 0)
                environment.push_back(text);
        }
        for (const auto& [name, value] : set)
            if (!value.empty())
                environment.push_back(name + "=" + value);
        return environment;
    }

    static std::vector<char*> Pointers(const std::vector<std::string>& strings)
    {
        std::vector<char*> pointers;
        for (const std::string& text : strings)
            pointers.push_back(const_cast<char*>(text.c_str()));
        pointers.push_back(nullptr);
        return pointers;
    }

    pid_t m_pid = -1;
};
