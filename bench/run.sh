#!/usr/bin/env bash
# Runs the benchmarks. Build first:
#   native:  cmake -S . -B build-native && cmake --build build-native --target native_parse
#   Windows: cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake &&
#            cmake --build build-win64 --target bench_parse veltr32
# Usage: bench/run.sh NATIVE_BUILD_DIR [WINDOWS_BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
native=${1:?native build dir}
win=${2:-}

# Listing-line parsing (goal: 2 million Unix lines per second on one core).
"$native/native_parse" 1000000
if [ -n "$win" ]; then
  "$here/tests/wine-run.sh" "$win/bench_parse.exe" "Z:$win/veltr32.dll" 1000000
fi
