#!/bin/bash
# usage: scripts/perf/run_all.sh [-d DISPLAY_NUMBER] BINARY [BINARY...]
# Every figure of docs/performance.md for Release builds of the game, the
# builds taking turns so that they meet the same load: launch time, frame
# rate, CPU idle and during a move (also maximized on large screens), memory,
# the real timer periods, drawing after a stalled X server, and the network
# delay. The network part enters a private network namespace of its own user
# namespace (unshare -rn), so port 45678 is ours alone and the host's search
# for a router stays on this machine.
set -euo pipefail
display="${SOWROW_PERF_DISPLAY:-}"
if [ "${1:-}" = "-d" ]; then
    display="$2"
    shift 2
fi
if [ $# -lt 1 ] || [ -z "$display" ]; then
    echo "usage: $0 [-d DISPLAY_NUMBER] BINARY [BINARY...] (or set SOWROW_PERF_DISPLAY)" >&2
    exit 2
fi
binaries=()
for binary in "$@"; do
    binaries+=("$(realpath "$binary")")
done
here="$(dirname "$(realpath "$0")")"
uptime
/usr/bin/python3 "$here/startup_idle.py" --display "$display" "${binaries[@]}"
for screen in 1920x1080 3840x2160; do
    /usr/bin/python3 "$here/startup_idle.py" --display "$display" --screen "$screen" --maximized \
        --seconds 8 "${binaries[@]}"
done
/usr/bin/python3 "$here/timers.py" --display "$display" "${binaries[@]}"
/usr/bin/python3 "$here/timers.py" --display "$display" --screen board --seconds 30 "${binaries[@]}"
/usr/bin/python3 "$here/stalled_server.py" --display "$display" "${binaries[@]}"
/usr/bin/python3 "$here/network_delay.py" --display "$display" "${binaries[@]}"
uptime
