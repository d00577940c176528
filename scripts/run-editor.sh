#!/usr/bin/env bash
# Sets everything up, builds the editor (g++, release) and the emulated keyboard beside it, and
# starts the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"

build=$root/build/release
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc
cmake --build "$build" -j "$(nproc)" --target TarnEditor tarn61-emulator

# The program opens its main window; closing the window ends it with 0.
exec "$build/App/TarnEditor" "$@"
