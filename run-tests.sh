#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# native unit tests under ASan/UBSan, a bounded fuzz run, and the Windows
# tests under Wine (x86_64; the 32-bit build too when wine32 is installed).
set -uo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
failed=0
summary=()

step() {  # name, command...
  local name=$1; shift
  echo "=== $name"
  if "$@"; then summary+=("ok      $name"); else summary+=("FAILED  $name"); failed=1; fi
}

# Only bounded copies and formats into fixed buffers.
banned() {
  ! git grep -n -E '\b(strcpy|lstrcpyA?|wsprintfA?|sprintf|strcat|lstrcatA?)\s*\(' -- \
      app ftp transfer listing sites cmdline ui veltr32
}
step "no unbounded string functions" banned

build() {  # dir, cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j"$jobs"
}

step "native build" build build/native -DCMAKE_BUILD_TYPE=Debug
step "native tests" ctest --test-dir build/native --output-on-failure -j"$jobs"

step "fuzz build" build build/fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DVELTRO_FUZZ=ON -DVELTRO_SANITIZE=OFF
step "fuzz run" ctest --test-dir build/fuzz --output-on-failure -R '^fuzz\.'

# One virtual display for every Windows test, stopped by its pid at the end.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT

export VELTRO_WINE_ROOT="${VELTRO_WINE_ROOT:-${TMPDIR:-/tmp}/veltro-wine-$$}"
step "win64 build" build build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake
step "win64 tests (Wine)" ctest --test-dir build/win64 --output-on-failure -j2 --timeout 900
step "i686 build" build build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake
if [ -x /usr/lib/wine/wine ]; then
  step "i686 tests (Wine)" ctest --test-dir build/i686 --output-on-failure -j2 --timeout 900
else
  summary+=("skipped i686 tests (wine32 is not installable on this machine)")
fi
rm -rf "$VELTRO_WINE_ROOT"

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
exit $failed
