// How long `mesra` takes to start: `mesra --help` (the program loaded, nothing done) beside
// `mesra run` of an empty session (the plug-in installed, loaded, started with its
// preferences read, and shut down). Each run is a child process; the time reported is the
// child's CPU time (user and system, from the kernel's accounting), whose 50th and 99th
// percentiles are "p50_cpu_ms" and "p99_cpu_ms", with the wall-clock time beside them.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The CPU milliseconds of one run of `arguments` (the program first), its output thrown
// away; a negative number when it did not run or did not end with status 0.
double RunOnce(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double Percentile(std::vector<double> values, double fraction) {
    const auto at = values.begin() +
                    static_cast<std::ptrdiff_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

void Measure(benchmark::State& state, const std::vector<std::string>& arguments) {
    std::vector<double> cpu;
    std::vector<double> wall;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double ms = RunOnce(arguments);
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (ms < 0) {
            state.SkipWithError("the program failed");
            return;
        }
        cpu.push_back(ms);
    }
    state.counters["p50_cpu_ms"] = Percentile(cpu, 0.5);
    state.counters["p99_cpu_ms"] = Percentile(cpu, 0.99);
    state.counters["p50_wall_ms"] = Percentile(wall, 0.5);
}

void BM_StartupHelp(benchmark::State& state) {
    Measure(state, {MESRA_PROGRAM, "--help"});
}

void BM_StartupEmptySession(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "mesra-startup-bench";
    std::filesystem::create_directories(folder / "Plug-ins");
    const auto session = folder / "empty.session";
    std::ofstream(session) << "# nothing\n";
    const std::vector<std::string> arguments = {MESRA_PROGRAM, "run", session.string(), "--plugins",
                                                (folder / "Plug-ins").string()};
    // The first run in the folder installs the plug-in and writes the preferences file.
    RunOnce(arguments);
    Measure(state, arguments);
    std::filesystem::remove_all(folder);
}

BENCHMARK(BM_StartupHelp)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_StartupEmptySession)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
