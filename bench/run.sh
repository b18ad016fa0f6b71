#!/usr/bin/env bash
# Runs every benchmark and prints its figures. Builds what it needs first
# (into build/bench-native and build/win64).
#   bench/run.sh
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc 2>/dev/null || echo 2)
native=$here/build/bench-native
win=$here/build/win64
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DVELTRO_SANITIZE=OFF >/dev/null
cmake --build "$native" -j"$jobs" --target native_parse >/dev/null
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake >/dev/null
cmake --build "$win" -j"$jobs" --target bench_parse bench_socket_wait veltr32 >/dev/null

echo "== Listing-line parsing, native (goal: 2 million Unix lines per second on one core)"
"$native/native_parse" 1000000
echo "== Listing-line parsing through veltr32.dll under Wine"
"$here/tests/wine-run.sh" "$win/bench_parse.exe" "Z:$win/veltr32.dll" 1000000
echo "== Control-channel receive path under Wine"
"$here/tests/wine-run.sh" "$win/bench_socket_wait.exe"

echo "== File transfer under Wine: veltro.exe, engine, bare Win32 loop and native curl against vsftpd; start-up"
cmake --build "$win" -j"$jobs" --target veltro bench_transfer bench_startup >/dev/null
"$here/bench/transfer.sh" "$win"
