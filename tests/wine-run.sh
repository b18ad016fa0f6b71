#!/usr/bin/env bash
# Runs one Windows program under Wine in a prefix of its own.
#   tests/wine-run.sh program.exe [arguments...]
# The first run builds a template prefix (wineboot), every run then works in
# a fresh copy of it, which is removed afterwards together with its
# wineserver. Without $DISPLAY the program runs inside xvfb-run.
# Environment: VELTRO_WINE_ARCH (win64 or win32), VELTRO_WINE_ROOT (where
# prefixes live), VELTRO_KEEP_PREFIX=1 keeps the prefix for inspection.
set -u
exe=$1; shift
arch=${VELTRO_WINE_ARCH:-win64}
root=${VELTRO_WINE_ROOT:-${TMPDIR:-/tmp}/veltro-wine}
mkdir -p "$root"
template="$root/template-$arch"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH="$arch"

if [ "$arch" = win64 ]; then loader=wine64; else loader=wine; fi
command -v "$loader" >/dev/null 2>&1 || loader=wine
if [ "$arch" = win64 ] && [ -x /usr/lib/wine/wine64 ]; then loader=/usr/lib/wine/wine64; fi

(
  flock 9
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX="$template" timeout 300 "$loader" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$template" timeout 60 wineserver -w
    touch "$template/.ready"
  fi
) 9>"$root/template-$arch.lock"

prefix=$(mktemp -d "$root/prefix-$arch-XXXXXX")
cp -a "$template/." "$prefix/"
rm -f "$prefix/.ready"
export WINEPREFIX="$prefix"

run=()
[ -n "${DISPLAY:-}" ] || run=(xvfb-run -a -s "-screen 0 1280x1024x24")
"${run[@]}" "$loader" "$exe" "$@"
rc=$?
timeout 30 wineserver -k >/dev/null 2>&1
timeout 30 wineserver -w >/dev/null 2>&1
[ "${VELTRO_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$prefix"
exit $rc
