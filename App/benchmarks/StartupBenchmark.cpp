// The editor program as the user starts it: from exec to the first painted frame of its main
// window, and the memory it holds then (counter "rss_mb", resident megabytes). Each run is ended
// by closing the window. The program needs a display: run under cmake/RunUnderXvfb.sh.
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

void ProgramToFirstFrame(benchmark::State& state)
{
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("startup-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
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
    char program[] = QZ_EDITOR_PROGRAM;
    char* argv[] = {program, nullptr};
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        if (posix_spawn(&child, program, &actions, nullptr, argv, environ) != 0)
        {
            state.SkipWithError("cannot start the program");
            break;
        }
        const unsigned long window = probe.WaitForPaintedWindow(child, kProbeX, kProbeY, 10000);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        state.counters["rss_mb"] = ResidentMegabytes(child);
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
        if (window == 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        {
            state.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(home);
}

} // namespace

BENCHMARK(ProgramToFirstFrame)->Unit(benchmark::kMillisecond)->UseManualTime();
