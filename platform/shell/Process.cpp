#include "platform/shell/Process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace shell {

namespace {

// Spawns argv[0] (searched on PATH) with the parent's environment.
// Returns the child's pid, or -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty())
        return -1;
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    // glibc reports a failed exec (missing program, no permission) as the
    // return value, so "not found" is known here and not only by exit code 127.
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return -1;
    return pid;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

} // namespace

int RunProcess(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv);
    return pid < 0 ? -1 : WaitFor(pid);
}

bool StartDetached(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv);
    if (pid < 0)
        return false;
    // Nobody waits for the opener, but its exit status must still be
    // collected, or it stays behind as a zombie for the rest of the run.
    std::thread([pid] { WaitFor(pid); }).detach();
    return true;
}

} // namespace shell
