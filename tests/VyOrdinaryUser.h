#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

// Runs part of a test as an ordinary user. Tests of permissions mean nothing to root (CI runs as
// root), so the part runs in a forked child that gives up root for the user "nobody" first; run by an
// ordinary user, the child just runs it. The part returns the child's exit status (0 for success);
// the parent gets that status back, or -1 when the child could not be made or did not end normally.
//
// The child is a copy of a threaded test program: keep the part to plain file-system and framework
// calls on the main thread, and end with the returned status (gtest assertions in the child are not
// seen by the parent).
class VyOrdinaryUser
{
public:
    static int Run(const std::function<int()>& part)
    {
        const pid_t child = fork();
        if (child < 0)
            return -1;
        if (child == 0)
            _exit(BecomeOrdinary() ? part() : 126);
        int status = 0;
        while (waitpid(child, &status, 0) < 0)
        {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // A fresh folder the ordinary user owns and may work in (0755, directly below /tmp so that the
    // way to it is open to that user too); the caller removes it.
    static std::filesystem::path MakeFolder()
    {
        std::string pattern = "/tmp/vywuserXXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            return {};
        chmod(pattern.c_str(), 0755);
        if (geteuid() == 0)
        {
            const passwd* pUser = getpwnam("nobody");
            if (pUser != nullptr && chown(pattern.c_str(), pUser->pw_uid, pUser->pw_gid) != 0)
                return {};
        }
        return pattern;
    }

private:
    static bool BecomeOrdinary()
    {
        if (geteuid() != 0)
            return true;
        const passwd* pUser = getpwnam("nobody");
        if (pUser == nullptr)
            return false;
        return setgroups(0, nullptr) == 0 && setgid(pUser->pw_gid) == 0 && setuid(pUser->pw_uid) == 0;
    }
};
