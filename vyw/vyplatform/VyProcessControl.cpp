#include "vyplatform/VyProcessControl.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <SDL.h>

#include "vyplatform/VyPlatform.h"
#include "vythread/VyTrace.h"

namespace
{
// Reads an int from a pipe, retrying interrupted reads; false at the end of the pipe.
bool ReadErrorNumber(int fd, int& value)
{
    ssize_t got = 0;
    do
        got = read(fd, &value, sizeof value);
    while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof value);
}

// The middle process: starts the program in a grandchild and reports a failure to start it through the
// pipe. Only async-signal-safe calls: this process is a copy of a threaded one.
[[noreturn]] void RunMiddleProcess(int reportFd, const char* program, const char* argument)
{
    const pid_t grandchild = fork();
    if (grandchild == 0)
    {
        setsid();
        char* const args[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
        execvp(program, args);
        const int error = errno;
        (void)!write(reportFd, &error, sizeof error);
        _exit(127);
    }
    if (grandchild < 0)
    {
        const int error = errno;
        (void)!write(reportFd, &error, sizeof error);
    }
    _exit(0);
}
// Enters the per-user folder of an installed program, creating it; false (with the reason in the
// trace) when that fails.
bool EnterUserFolder(const VyString& name)
{
    char* pFolder = SDL_GetPrefPath("", name.c_str());
    if (pFolder == nullptr)
    {
        VyTrace::Write("VyWin : cannot make the user's folder for " + name + ": " + SDL_GetError() + "\n");
        return false;
    }
    const VyString folder(pFolder);
    SDL_free(pFolder);
    if (chdir(folder.c_str()) != 0)
    {
        VyTrace::Write("VyWin : cannot enter the user's folder " + folder + "\n");
        return false;
    }
    VyTrace::Write("VyWin : installed, working in " + folder + "\n");
    return true;
}
} // namespace

VyString VyProcessControl::ProgramPath()
{
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return {};
    return VyString(buffer.data(), static_cast<size_t>(length));
}

VyProgramLayout VyProcessControl::LayoutOf(const VyString& programPath)
{
    const std::filesystem::path program(programPath.c_str());
    const std::filesystem::path share = program.parent_path().parent_path() / "share" / program.filename();
    std::error_code error;
    return !program.filename().empty() && std::filesystem::is_directory(share, error) ? VyProgramLayout::INSTALLED
                                                                                       : VyProgramLayout::PORTABLE;
}

void VyProcessControl::MakeWorkingDirectoryCurrent()
{
    const VyString path = ProgramPath();
    if (LayoutOf(path) == VyProgramLayout::INSTALLED && EnterUserFolder(path.substr(path.find_last_of('/') + 1)))
        return;
    // Only '/' separates: a backslash is an ordinary character of a name here.
    const size_t cut = path.find_last_of('/');
    if (cut == VyString::npos)
        return;
    const VyString directory = cut == 0 ? VyString("/") : path.substr(0, cut);
    if (chdir(directory.c_str()) != 0)
        VyTrace::Write("VyWin : cannot enter the program's directory " + directory + "\n");
}

VyString VyProcessControl::GetCurrentDirectory()
{
    std::vector<char> buffer(4096);
    return getcwd(buffer.data(), buffer.size()) != nullptr ? VyString(buffer.data()) : VyString();
}

int VyProcessControl::SpawnDetached(const char* program, const char* argument)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = fork();
    if (child < 0)
    {
        const int error = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        return error;
    }
    if (child == 0)
    {
        close(pipeFds[0]);
        RunMiddleProcess(pipeFds[1], program, argument);
    }
    close(pipeFds[1]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR)
    {
    }
    // The write end closes when the program starts (close-on-exec) or after a failure was written.
    int error = 0;
    const bool bFailed = ReadErrorNumber(pipeFds[0], error);
    close(pipeFds[0]);
    return bFailed ? error : 0;
}

void VyProcessControl::RestartProgram(char** argv, const char* markerVariable)
{
    if (markerVariable != nullptr)
        setenv(markerVariable, "1", 1);
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "%s: could not start again: %s\n", argv[0], VyPlatform::GetErrorText(errno).c_str());
}
