#!/usr/bin/env bash
# Sets everything up, builds and runs every test:
#   1. g++ build of everything with warnings as errors (benchmarks compiled, not run);
#   2. clang build with AddressSanitizer and UndefinedBehaviorSanitizer: every test, and every
#      fuzz target for QZ_FUZZ_SECONDS (default 8) on its seed corpus;
#   3. clang build with ThreadSanitizer of the concurrency tests only (among them the dialog,
#      editor-tree and MIDI-manager tests where the MIDI threads meet the user-interface thread).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"

jobs=$(nproc)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
fuzz_seconds=${QZ_FUZZ_SECONDS:-8}
build=$root/build
# The sanitised builds need line numbers in their reports, not full debug information, and the
# light optimisation the sanitisers are designed for.
sanitized_flags=("-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only"
                 "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only")
# A machine that ran the command before compiles only what changed, from whichever checkout:
# ccache keys on paths relative to the checkout.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
launchers=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

cmake -S "$root" -B "$build/gcc" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc -DQZ_WERROR=ON -DQZ_BENCHMARKS=ON \
      -DQZ_TEST_COMPILE_OPTIONS=-O0 "${launchers[@]}"
cmake --build "$build/gcc" -j "$jobs"

cmake -S "$root" -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang "${sanitized_flags[@]}" \
      "-DQZ_TEST_COMPILE_OPTIONS=-O0;-fno-sanitize=fuzzer-no-link" \
      -DQZ_SANITIZE=address,undefined -DQZ_FUZZ=ON -DQZ_FUZZ_SECONDS="$fuzz_seconds" "${launchers[@]}"
cmake --build "$build/asan" -j "$jobs"

# A JACK server killed outright leaves its entry in the user's server registry, which holds eight;
# the tests' private servers cannot start once it is full. With no JACK server running, the
# registry and the files beside it are stale, and go.
if ! pgrep -x jackd >/dev/null && ! pgrep -x jackdbus >/dev/null; then
    rm -f /dev/shm/jack-shm-registry /dev/shm/jack_* 2>/dev/null || true
fi
ctest --test-dir "$build/asan" --output-on-failure -j "$jobs" | tee "$logs/asan.log"

cmake -S "$root" -B "$build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang "${sanitized_flags[@]}" \
      -DQZ_TEST_COMPILE_OPTIONS=-O0 -DQZ_SANITIZE=thread -DQZ_CONCURRENCY_ONLY=ON "${launchers[@]}"
cmake --build "$build/tsan" -j "$jobs" --target concurrency_tests
ctest --test-dir "$build/tsan" --output-on-failure -j "$jobs" --no-tests=ignore | tee "$logs/tsan.log"

# One closing line over both runs (each run's own failures already stopped the script).
total=$(cat "$logs"/*.log | sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' | awk '{s += $1} END {print s + 0}')
echo "Summary: ${total:-0} passed, 0 failed"
