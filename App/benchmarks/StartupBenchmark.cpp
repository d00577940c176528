// The editor program's start-up as a whole process: from exec to the point where its event loop
// would start, through the shutdown that follows at once while the program has no window. The
// loop opens the display: run under cmake/RunUnderXvfb.sh.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

void ProgramStartup(benchmark::State& state)
{
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("startup-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char program[] = QZ_EDITOR_PROGRAM;
    char* argv[] = {program, nullptr};
    for (auto _ : state)
    {
        pid_t child = 0;
        if (posix_spawn(&child, program, &actions, nullptr, argv, environ) != 0)
        {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        {
            state.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(home);
}

} // namespace

BENCHMARK(ProgramStartup)->Unit(benchmark::kMillisecond)->UseRealTime();
