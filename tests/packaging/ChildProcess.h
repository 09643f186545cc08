#pragma once
// Programs the tests start: a command run to its end with its output, and a
// program left running in the background with an environment, a working
// folder and an output file of its own, looked at through /proc and ended
// with SIGTERM.

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace packagingtest {

struct CommandResult {
    int status = -1; // the exit status, 128 + the signal number, or -1 when it could not run
    std::string output; // standard output and error, interleaved
};

// Runs argv[0] (searched on PATH) with the test's environment and waits for it.
CommandResult RunCommand(const std::vector<std::string>& argv);

class RunningProgram {
public:
    // Starts argv[0] (a path) with exactly the given "NAME=value" environment,
    // in the given working folder, its output going to outputFile.
    RunningProgram(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                   const std::string& workingFolder, const std::string& outputFile);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // False once the program has ended; Ended() then says how.
    bool Running();
    std::string Ended() const;

    // Whether the program holds the file open, or has it mapped (a shared library).
    bool HasOpen(const std::string& file) const;
    bool HasMapped(const std::string& file) const;
    // Waits until the program holds the file open; false when it ended or the time ran out first.
    bool WaitForOpen(const std::string& file, std::chrono::seconds timeout);

    // Ends the program (SIGTERM) and waits for it.
    void Stop();

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool ended_ = false;
};

} // namespace packagingtest
