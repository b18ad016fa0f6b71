#!/usr/bin/env bash
# Installs what is missing, builds Veltro Lite and starts it under Wine
# (on a virtual display when there is none). Extra arguments go to the
# program's command line.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake >/dev/null
cmake --build build/i686 -j"$jobs" --target veltro veltr32
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake >/dev/null
cmake --build build/win64 -j"$jobs" --target veltro veltr32

# The 32-bit build is the reference; it needs wine32. Otherwise run the 64-bit one.
if [ -x /usr/lib/wine/wine ]; then
  exe=build/i686/veltro.exe; loader=wine; arch=win32
else
  exe=build/win64/veltro.exe; loader=/usr/lib/wine/wine64; arch=win64
  [ -x "$loader" ] || loader=wine64
fi
exe=$(pwd)/$exe
home="${VELTRO_HOME:-$HOME/veltro}"
mkdir -p "$home"
# The program keeps its settings in the first VELTRO.INI it finds, starting
# with the current folder: an empty one here keeps them in $home.
[ -e "$home/VELTRO.INI" ] || : > "$home/VELTRO.INI"
export WINEPREFIX="${WINEPREFIX:-$HOME/.veltro-wine-$arch}" WINEARCH=$arch
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$home"
echo "Starting $exe in $home (settings: $home/VELTRO.INI)"
if [ -n "${DISPLAY:-}" ]; then
  exec "$loader" "$exe" "$@"
else
  echo "No display: running on a virtual one (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$loader" "$exe" "$@"
fi
