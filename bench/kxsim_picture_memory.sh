#!/bin/bash
# Peak resident memory of the demo with large pictures, run through kxsim drawn (a screenshot of
# the last frame makes it draw every frame offscreen) and headless: from its start to the menu,
# and opened straight at its level (the loading screen first, then the game field). The demo's
# seven pictures are each replaced by one of 8192 x 8192 at 1 bit (256 MiB decoded); the picture
# budget (512 MiB) then holds two, and every run refuses the rest. Drawn, the level's peak should
# be the menu's: the loading picture's storage goes before the level's own pictures come in.
#
#   bash bench/kxsim_picture_memory.sh FRAMES BUILD_DIR [BUILD_DIR...]
#
# Per build and run: the peak resident kB of each of RUNS (KX_RUNS, 3) runs of FRAMES frames (300),
# with the demo's own pictures and with the large ones. Give several builds (one from before a
# change and one after) to compare them. Use Release builds.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
frames="${1:?frames}"
shift
builds=()
for build in "$@"; do
    builds+=("$(cd "$build" && pwd)")
done
[ ${#builds[@]} -gt 0 ] || { echo "usage: $0 FRAMES BUILD_DIR [BUILD_DIR...]"; exit 1; }
runs="${KX_RUNS:-3}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
"${builds[0]}/kxdata" write-demo "$work/own" >/dev/null 2>&1 || { echo "write-demo failed"; exit 1; }
python3 "$src/tests/e2e/media_bombs.py" png-bits-full "$work/big.png" || { echo "no picture written"; exit 1; }
cp -r "$work/own" "$work/large"
find "$work/large" -name '*.png' -exec cp "$work/big.png" {} \;

# peaks BUILD GAME ARGS...: the peak resident kB of each run.
peaks() {
    local build="$1" game="$2" i line=""
    shift 2
    for ((i = 0; i < runs; i++)); do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        /usr/bin/time -f %M -o "$work/rss" "$build/kxsim" "$work/$game" --frames "$frames" "$@" \
            >/dev/null 2>"$work/sim.log" || { echo "kxsim failed: $(tail -1 "$work/sim.log")"; return; }
        line="$line $(tail -n 1 "$work/rss")"
    done
    echo "$line"
}

drawn=(--screenshot "$((frames - 1)):$work/last.png")
for build in "${builds[@]}"; do
    echo "== $build"
    for game in own large; do
        printf '%-6s menu  drawn   %s\n' "$game" "$(peaks "$build" "$game" "${drawn[@]}")"
        printf '%-6s level drawn   %s\n' "$game" "$(peaks "$build" "$game" --open world1 "${drawn[@]}")"
        printf '%-6s menu  headless%s\n' "$game" "$(peaks "$build" "$game")"
        printf '%-6s level headless%s\n' "$game" "$(peaks "$build" "$game" --open world1)"
    done
done
