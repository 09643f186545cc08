#include "ChildProcess.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace packagingtest {

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::vector<char*> Pointers(const std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (const std::string& text : texts)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

int Status(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return -1;
}

// The canonical path of the file, as /proc shows it.
std::string Canonical(const std::string& file)
{
    std::error_code error;
    const fs::path path = fs::weakly_canonical(file, error);
    return error ? file : path.string();
}

} // namespace

CommandResult RunCommand(const std::vector<std::string>& argv)
{
    std::string command;
    for (const std::string& argument : argv)
        command += Quoted(argument) + " ";
    command += "2>&1";
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.status = status < 0 ? -1 : Status(status);
    return result;
}

RunningProgram::RunningProgram(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                               const std::string& workingFolder, const std::string& outputFile)
{
    // Everything the child needs is ready before the fork: after it, the
    // child only makes system calls.
    const std::vector<char*> arguments = Pointers(argv);
    const std::vector<char*> variables = Pointers(environment);
    pid_ = fork();
    if (pid_ == 0) {
        const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (output < 0 || dup2(output, 1) < 0 || dup2(output, 2) < 0 || chdir(workingFolder.c_str()) != 0)
            _exit(126);
        execve(arguments[0], arguments.data(), variables.data());
        _exit(127);
    }
    if (pid_ < 0)
        ended_ = true;
}

RunningProgram::~RunningProgram() { Stop(); }

bool RunningProgram::Running()
{
    if (ended_)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        status_ = Status(status);
    }
    return !ended_;
}

std::string RunningProgram::Ended() const
{
    if (!ended_)
        return "still running";
    if (pid_ < 0)
        return "could not be started";
    return "ended with status " + std::to_string(status_);
}

bool RunningProgram::HasOpen(const std::string& file) const
{
    const std::string wanted = Canonical(file);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", error)) {
        std::error_code linkError;
        if (fs::read_symlink(entry.path(), linkError).string() == wanted)
            return true;
    }
    return false;
}

bool RunningProgram::HasMapped(const std::string& file) const
{
    // A line of the map ends with the mapped file's path.
    const std::string wanted = " " + Canonical(file);
    std::ifstream maps("/proc/" + std::to_string(pid_) + "/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.size() >= wanted.size() && line.compare(line.size() - wanted.size(), wanted.size(), wanted) == 0)
            return true;
    return false;
}

bool RunningProgram::WaitForOpen(const std::string& file, std::chrono::seconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Running() && std::chrono::steady_clock::now() < deadline) {
        if (HasOpen(file))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void RunningProgram::Stop()
{
    if (!Running())
        return;
    kill(pid_, SIGTERM);
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_)
        status_ = Status(status);
    ended_ = true;
}

} // namespace packagingtest
