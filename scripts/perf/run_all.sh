#!/bin/bash
# usage: scripts/perf/run_all.sh [-d DISPLAY_NUMBER] BINARY
# Every figure of docs/performance.md for one Release build of the game: launch
# time, idle frame rate, CPU and memory, the real timer periods, drawing after
# a stalled X server, and the network delay. The network part runs in a private network namespace
# (unshare -n, needs root) so port 45678 is ours alone.
set -euo pipefail
display="${SOWROW_PERF_DISPLAY:-}"
if [ "${1:-}" = "-d" ]; then
    display="$2"
    shift 2
fi
if [ $# -ne 1 ] || [ -z "$display" ]; then
    echo "usage: $0 [-d DISPLAY_NUMBER] BINARY (or set SOWROW_PERF_DISPLAY)" >&2
    exit 2
fi
binary="$(realpath "$1")"
here="$(dirname "$(realpath "$0")")"
/usr/bin/python3 "$here/startup_idle.py" --display "$display" "$binary"
/usr/bin/python3 "$here/timers.py" --display "$display" "$binary"
/usr/bin/python3 "$here/timers.py" --display "$display" --screen board --seconds 30 "$binary"
/usr/bin/python3 "$here/stalled_server.py" --display "$display" "$binary"
unshare -n sh -c "ip link set lo up && /usr/bin/python3 '$here/network_delay.py' --display '$display' '$binary'"
