#!/usr/bin/env bash
# The panes with 100,000 rows under Wine (one command):
#   bench/panes.sh [build-dir] [rows]     (default build/win64, 100000)
# Makes a folder of that many small files, then runs bench_panes.exe, which
# shows it in the local pane, re-sorts it, fetches a listing of as many Unix
# lines from a scripted server into the remote pane, then the same folder
# from vsftpd (started by tests/servers/with-servers.sh), and prints the
# times and the memory per row.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build/win64}
rows=${2:-100000}
cmake --build "$build" --target bench_panes veltr32 -j2 >/dev/null || { echo "cannot build bench_panes" >&2; exit 1; }
if [ "${VELTRO_VSFTPD_PORT:-}" = "" ]; then
  exec "$src/tests/servers/with-servers.sh" "$0" "$build" "$rows"
fi
work=$(mktemp -d /tmp/veltro-panes-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/local"
python3 - "$work/local" "$rows" <<'PY'
import os, sys
folder, rows = sys.argv[1], int(sys.argv[2])
for i in range(rows):
    with open(os.path.join(folder, "f%06d.%s" % (i, "txt" if i % 3 == 0 else "dat")), "wb") as f:
        f.write(b"x" * (i % 500))
PY
cp -r "$work/local" "$VELTRO_VSFTPD_ROOT/many"
trap 'rm -rf "$work" "$VELTRO_VSFTPD_ROOT/many"' EXIT
echo "== Panes with $rows rows under Wine (load: $(cut -d' ' -f1-3 /proc/loadavg))"
timeout 600 "$src/tests/wine-run.sh" "$build/bench_panes.exe" "Z:$work/local" "$rows"
