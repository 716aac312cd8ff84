#!/bin/bash
# Drawing into the offscreen GL surface frame after frame keeps memory bounded: the demo's menu
# drawn four times as many frames peaks at about the same resident size (the driver's queued
# frames once grew it by tens of kilobytes a frame). Args: build folder, source folder.
set -u
build="$1"
kxdata="$build/kxdata"
kxsim="$build/kxsim"
for tool in "$kxdata" "$kxsim"; do
    [ -x "$tool" ] || { echo "missing $tool"; exit 1; }
done
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_DATA_HOME"
"$kxdata" write-demo "$work/demo" >"$work/write.log" 2>&1 || { echo "write-demo failed"; exit 1; }

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
