// From process start to the first painted frame of a 2,000-control tree, as a whole process.
// Needs a display: run under cmake/RunUnderXvfb.sh with --benchmark_repetitions=20
// --benchmark_report_aggregates_only=true for the median.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace
{

void FirstFrame(benchmark::State& state)
{
    char program[] = QZ_FIRST_FRAME_PROGRAM;
    char* argv[] = {program, nullptr};
    for (auto _ : state)
    {
        pid_t child = 0;
        if (posix_spawn(&child, program, nullptr, nullptr, argv, environ) != 0)
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
}

} // namespace

BENCHMARK(FirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
