// From process start to the main window painted, each start a process of its
// own (after one start that warms the file cache): the register program on a
// register of 100 000 rows, the same with the update check at start asking a
// server that takes the connection and never answers, and a bare Qt window
// as the floor that every Qt program pays. The ratio to the floor is printed
// beside each figure.

#include "bench/app/StartUpBench.h"

#include "bench/app/StartUpChild.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace bench {

namespace {

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Starts this program as a start-up child and returns the seconds from the
// start to the painted window; negative when the child reported nothing.
double StartChild(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> args{"/proc/self/exe", StartUpChildFlag};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env(extraEnvironment);
    for (char** e = environ; *e != nullptr; ++e)
        env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    const long long start = MonotonicNs();
    const int spawned = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return -1;
    }
    std::string line;
    char buffer[64];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        line.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (line.empty())
        return -1;
    return static_cast<double>(std::atoll(line.c_str()) - start) / 1e9;
}

// Takes connections on 127.0.0.1 and keeps them, answering nothing, until it goes.
class TSilentServer {
public:
    TSilentServer()
    {
        socket_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(socket_, 16) != 0 ||
            getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("no local server");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (;;) {
                const int client = accept(socket_, nullptr, nullptr);
                if (client < 0 || stopping_)
                    break;
                clients_.push_back(client);
            }
        });
    }
    ~TSilentServer()
    {
        stopping_ = true;
        shutdown(socket_, SHUT_RDWR);
        close(socket_);
        thread_.join();
        for (int client : clients_)
            close(client);
    }
    int Port() const { return port_; }

private:
    int socket_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::vector<int> clients_;
    std::thread thread_;
};

double floorSeconds = 0;

void Measure(benchmark::State& state, const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment, bool isFloor)
{
    StartChild(arguments, environment); // warms the file cache
    double total = 0;
    for (auto _ : state) {
        const double seconds = StartChild(arguments, environment);
        if (seconds < 0) {
            state.SkipWithError("the child showed no window");
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double mean = total / static_cast<double>(state.iterations());
    if (isFloor)
        floorSeconds = mean;
    else if (floorSeconds > 0)
        state.counters["x_bare_window"] = mean / floorSeconds;
}

} // namespace

void RegisterStartUpBenchmarks(const std::string& dataFolder)
{
    auto settings = [dataFolder](bool checkAtStart) {
        std::ofstream(dataFolder + "nastaveni.ini")
            << "[nastaveni]\nkontrolovat_po_startu=" << (checkAtStart ? 1 : 0) << "\n";
    };
    benchmark::RegisterBenchmark("BM_StartUpBareQtWindow",
                                 [](benchmark::State& state) { Measure(state, {"window"}, {}, true); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark("BM_StartUpToMainWindow",
                                 [dataFolder, settings](benchmark::State& state) {
                                     settings(false);
                                     Measure(state, {"konverze", dataFolder}, {}, false);
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark(
        "BM_StartUpWithSilentUpdateServer",
        [dataFolder, settings](benchmark::State& state) {
            // The check at start goes to the maker's https server through this proxy, which never answers.
            TSilentServer server;
            const std::string proxy = "http://127.0.0.1:" + std::to_string(server.Port());
            settings(true);
            Measure(state, {"konverze", dataFolder}, {"https_proxy=" + proxy, "http_proxy=" + proxy}, false);
            settings(false);
        })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
}

} // namespace bench
