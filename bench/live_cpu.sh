#!/bin/bash
# CPU of the running program while the simulated unit is connected and live data are shown: starts the unit on a
# pty and the program under Xvfb, waits for the connection, then reads each thread's run time and voluntary
# wake-ups from /proc over the measuring window.
#   usage: bench/live_cpu.sh [build dir] [seconds]      (defaults: build, 30)
set -euo pipefail
BUILD=$(realpath "${1:-build}")
SECS=${2:-30}
WORK=$(mktemp -d /tmp/kelvora_livecpu.XXXXXX)
trap 'kill "${PROG:-}" "${UNIT:-}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/cfg/Quorvane/Kelvora_12/309"
printf '[BASIC]\nComPort=200\nLanguage=0\n' > "$WORK/cfg/Quorvane/Kelvora_12/309/application.ini"
"$BUILD/tools/unitsim/kelvora-unitsim" --link "$WORK/unit" > "$WORK/unit.log" 2>&1 &
UNIT=$!
for _ in $(seq 50); do [ -e "$WORK/unit" ] && break; sleep 0.1; done
XDG_CONFIG_HOME="$WORK/cfg" KELVORA_PORTS="200=$WORK/unit" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/kelvora" > "$WORK/prog.log" 2>&1 &
sleep 15  # start, find the unit, read and check its image
PROG=$(pgrep -f "^$BUILD/kelvora$" | head -1)
snap() {
    for t in /proc/"$PROG"/task/*; do
        echo "$(basename "$t") $(tr ' ' _ < "$t/comm") $(cut -d' ' -f1 "$t/schedstat") $(awk '/^voluntary_ctxt/{print $2}' "$t/status")"
    done
}
snap > "$WORK/before"; T0=$(date +%s.%N)
sleep "$SECS"
snap > "$WORK/after"; T1=$(date +%s.%N)
python3 - "$WORK/before" "$WORK/after" "$T0" "$T1" <<'PY'
import sys
def read(path):
    return {f[0]: (f[1], int(f[2]), int(f[3])) for f in (l.split() for l in open(path))}
a, b = read(sys.argv[1]), read(sys.argv[2])
window = float(sys.argv[4]) - float(sys.argv[3])
total = 0
for tid, (name, ns, wakes) in sorted(b.items()):
    ns0, wakes0 = a.get(tid, (name, 0, 0))[1:]
    total += ns - ns0
    if ns - ns0 > 1e6:
        print(f"  {name:16s} {100 * (ns - ns0) / 1e9 / window:6.3f} %  {(wakes - wakes0) / window:5.1f} wake-ups/s")
print(f"program: {100 * total / 1e9 / window:.2f} % of one core over {window:.1f} s")
PY
