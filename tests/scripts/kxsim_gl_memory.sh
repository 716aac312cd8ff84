#!/bin/bash
# Drawing into the offscreen GL surface frame after frame keeps memory bounded: the demo's menu
# drawn four times as many frames peaks at about the same resident size (the driver's queued
# frames once grew it by tens of kilobytes a frame). Drawn pictures are held once (an interlaced
# one twice while it decodes, so it may have half the pixels): an 8192 x 8192 atlas picture
# (256 MiB in its texture) adds about its size to the demo's drawn run (under 380 MB with a
# sanitizer build's own overhead; held twice it added 510), and the demo's seven pictures all
# replaced by it add about what pictures alive together may hold (512 MiB; under 800 MB, where they
# added 1,030), the pictures past it refused. Args: build folder, source folder.
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
failed=0
if [ "$long" -gt $((short + 40000)) ]; then
    echo "FAIL: 1500 more frames grew memory by $(((long - short) / 1000)) MB"
    failed=1
fi

# drawn GAME NAME: the peak resident size (kB) of 300 frames of GAME drawn from its start.
drawn() {
    /usr/bin/time -f %M -o "$work/$2.rss" "$kxsim" "$1" --frames 300 --screenshot "299:$work/$2.png" \
        >/dev/null 2>"$work/$2.log" || { echo "kxsim failed on $2" >&2; tail -5 "$work/$2.log" >&2; }
    tail -n 1 "$work/$2.rss"
}
# bounded NAME GROWN LIMIT: fails when GROWN kB passes LIMIT kB.
bounded() {
    echo "$1: $(($2 / 1000)) MB above the demo's own pictures"
    if [ "$2" -ge "$3" ]; then
        echo "FAIL: $1 grew memory by $(($2 / 1000)) MB, $(($3 / 1000)) MB at most"
        failed=1
    fi
}
python3 "$2/tests/e2e/media_bombs.py" png-bits-full "$work/big.png" || { echo "FAIL: no picture written"; exit 1; }
own=$(drawn "$work/demo" own)
cp -r "$work/demo" "$work/one" && cp "$work/big.png" "$work/one/$(cd "$work/demo" && ls data/atlases/*.png | head -1)"
one=$(drawn "$work/one" one)
cp -r "$work/demo" "$work/seven"
find "$work/seven" -name '*.png' -exec cp "$work/big.png" {} \;
seven=$(drawn "$work/seven" seven)
echo "drawn peaks: $own kB with the demo's pictures, $one kB with one of 8192 x 8192, $seven kB with seven"
bounded "one 8192 x 8192 picture" $((one - own)) 380000
bounded "seven 8192 x 8192 pictures" $((seven - own)) 800000
if ! grep -q "bytes they may hold together" "$work/seven.log"; then
    echo "FAIL: no picture past the budget was refused"
    failed=1
fi
[ $failed = 0 ] && echo "ok"
exit $failed
