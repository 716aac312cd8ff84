#!/bin/bash
# Drawing into the offscreen GL surface frame after frame keeps memory bounded: the demo's menu
# drawn four times as many frames peaks at about the same resident size (the driver's queued
# frames once grew it by tens of kilobytes a frame). Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
write_demo "$work/demo"
# A sanitizer build holds freed blocks back for a while (256 MB by default): a small hold keeps
# what it holds from reading as growth.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=8"

# peak FRAMES: the largest resident size (kB) kxsim reached drawing that many frames of the menu.
peak() {
    local hwm=0 now
    "$kxsim" "$work/demo" --open KXPScreenMainMenu --frames "$1" --screenshot "$1:$work/last.png" \
        >/dev/null 2>"$work/sim.log" &
    pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        now=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
        [ -n "$now" ] && hwm=$now
        sleep 0.05
    done
    wait "$pid" || { echo "kxsim failed" >&2; tail -5 "$work/sim.log" >&2; }
    pid=
    echo "$hwm"
}

short=$(peak 500)
if grep -q "no offscreen GL here" "$work/sim.log"; then
    echo "SKIP: no offscreen GL context"
    exit 77
fi
long=$(peak 2000)
echo "peak resident size: $short kB after 500 frames, $long kB after 2000"
[ -s "$work/last.png" ] || { echo "FAIL: the last frame was not drawn"; exit 1; }
if [ "$long" -gt $((short + 40000)) ]; then
    echo "FAIL: 1500 more frames grew memory by $(((long - short) / 1000)) MB"
    exit 1
fi
echo "ok"
