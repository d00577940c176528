// The editor program as the user starts it: from exec to the first painted frame of its main
// window, beside a bare SDL2 window's start to its first frame in the same run, and the memory
// the editor holds then (counter "rss_mb", resident megabytes). Each run is ended by closing the
// window. The programs need a display: run under cmake/RunUnderXvfb.sh.
#include "App/tests/XWindowProbe.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

// A point of the main window that the skin paints in a colour other than black.
constexpr int kProbeX = 600;
constexpr int kProbeY = 400;

double ResidentMegabytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind("VmRSS:", 0) == 0)
        {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return 0.0;
}

// Starts the program and waits for its first painted frame; the seconds that took, or a negative
// number when it failed. The program is ended by closing its window.
double TimeToFirstFrame(XWindowProbe& probe, char* program,
                        const posix_spawn_file_actions_t& actions, double* residentMegabytes)
{
    char* argv[] = {program, nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, program, &actions, nullptr, argv, environ) != 0)
    {
        return -1.0;
    }
    const unsigned long window = probe.WaitForPaintedWindow(child, kProbeX, kProbeY, 10000);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (residentMegabytes != nullptr)
    {
        *residentMegabytes = ResidentMegabytes(child);
    }
    if (window != 0)
    {
        probe.Close(window);
    }
    else
    {
        ::kill(child, SIGTERM);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return window != 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed.count() : -1.0;
}

// Each iteration starts the bare window, then the editor, and times the editor; the counters give
// the bare window's mean time ("bare_ms") and the editor's time as a multiple of it ("ratio").
void ProgramToFirstFrame(benchmark::State& state)
{
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("startup-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    // A runtime folder of its own, so that an editor already running for this user elsewhere
    // does not take the started one's command line instead of showing a window.
    const std::filesystem::path runtime = home / "runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    XWindowProbe probe;
    if (!probe.IsOpen())
    {
        state.SkipWithError("no display");
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char editor[] = QZ_EDITOR_PROGRAM;
    char bare[] = QZ_BARE_WINDOW_PROGRAM;
    double editorTotal = 0.0;
    double bareTotal = 0.0;
    double resident = 0.0;
    for (auto _ : state)
    {
        const double bareTime = TimeToFirstFrame(probe, bare, actions, nullptr);
        const double editorTime = TimeToFirstFrame(probe, editor, actions, &resident);
        if (bareTime < 0.0 || editorTime < 0.0)
        {
            state.SkipWithError(bareTime < 0.0 ? "the bare window failed" : "the program failed");
            break;
        }
        state.SetIterationTime(editorTime);
        editorTotal += editorTime;
        bareTotal += bareTime;
    }
    state.counters["rss_mb"] = resident;
    state.counters["bare_ms"] =
        benchmark::Counter(bareTotal * 1000.0, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = bareTotal > 0.0 ? editorTotal / bareTotal : 0.0;
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(home);
}

} // namespace

BENCHMARK(ProgramToFirstFrame)->Unit(benchmark::kMillisecond)->UseManualTime();
