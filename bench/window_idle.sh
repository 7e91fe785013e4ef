#!/usr/bin/env bash
# Starts the window against the simulator under a virtual display, lets it connect, then
# measures its processor time over 60 s of idling; prints the share of one core and the time
# from start to the first painted window.
# Usage: bench/window_idle.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/test}
seconds=${2:-60}
work=$(mktemp -d)
trap 'kill $app_pid $sim_pid 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$root/sample/ostan.txt" "$work/" 2>/dev/null || true

"$build/tools/devicesim/muezzin-sim" --link "$work/port" >/dev/null &
sim_pid=$!
for _ in $(seq 50); do [ -e "$work/port" ] && break; sleep 0.1; done

cd "$work"
MUEZZIN_PORTS="$work/port" xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/app/muezzin-config" --verbose 2>"$work/err" &
sleep 1
app_pid=$(pgrep -n -f "^$build/app/muezzin-config")
sleep 7 # the first tick, the search, and the tick that shows the connection

cpu_ns() { awk '{print $1}' "/proc/$app_pid/schedstat"; }
before=$(cpu_ns)
sleep "$seconds"
after=$(cpu_ns)
awk -v used="$((after - before))" -v s="$seconds" \
  'BEGIN { printf "idle processor time: %.1f ms in %d s = %.3f%% of one core\n", used / 1e6, s, used / (s * 1e7) }'
grep -o 'window painted [0-9]* ms after start' "$work/err" || true
