#!/bin/bash
# Plays the dense levels a user can validly make (tests/e2e/dense_levels.sh: pits, boxes, slanted
# planks, coin clouds, rows of shooters, stacked heroes, a fast ball at a thin wall beside a pit,
# and heavy levels of up to 2,000 bodies) headless through kxsim, 600 frames each, and gives per
# level and build: the run's wall seconds, its longest frame, its peak memory, the bodies held out
# of the physics and the steps without continuous collision (both 0 on a valid level), and what
# the level's own check found (coins, checkpoint, shots, where the fast ball stopped).
#
#   bash bench/kxsim_dense.sh BUILD_DIR [BUILD_DIR...] [-- LEVEL...]
#
# Use Release builds and an idle machine. Needs python3-msgpack.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
builds=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    builds+=("$(cd "$1" && pwd)")
    shift
done
[ "${1:-}" = "--" ] && shift
[ ${#builds[@]} -gt 0 ] || { echo "usage: $0 BUILD_DIR [BUILD_DIR...] [-- LEVEL...]"; exit 1; }
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
source "$src/tests/e2e/dense_levels.sh"
kxdata="${builds[0]}/kxdata"
levels=("$@")
[ ${#levels[@]} -gt 0 ] || mapfile -t levels < <(dense_levels)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
printf '%-18s %-5s %7s %9s %8s %5s %8s %4s  %s\n' level build "wall s" "longest s" "peak MiB" exit "held out" ccd "found"
for name in "${levels[@]}"; do
    level="$work/$name"
    dense_level "$name" "$level" || { echo "$name: the level could not be made"; continue; }
    dense_run "$name"
    for index in "${!builds[@]}"; do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        read -r wall longest _ < <(timeout 300 /usr/bin/time -f %M -o "$work/rss" "${builds[$index]}/kxsim" \
            "$level" "${run[@]}" --trace loading,screens,field,bodies,score,game,unit 2>/dev/null |
            tee "$work/trace" | "$PY" "$src/bench/trace_frames.py")
        code=$(sed -n 's/^Command exited with non-zero status //p' "$work/rss")
        rss=$(tail -n 1 "$work/rss" 2>/dev/null)
        case "$rss" in *[!0-9]* | "") rss="-" ;; *) rss=$((rss / 1024)) ;; esac
        found="powerups=$(grep -c ' powerup "' "$work/trace") checkpoint=$(grep -c ' game checkpoint ' "$work/trace")"
        printf '%-18s %-5s %7s %9s %8s %5s %8s %4s  %s\n' "$name" "$((index + 1))" "$wall" "$longest" "$rss" "${code:-0}" \
            "$(grep -c ' bodies held-out ' "$work/trace")" "$(grep -c ' continuous-collision off' "$work/trace")" "$found"
    done
done
echo "builds: $(for index in "${!builds[@]}"; do printf '%s=%s ' $((index + 1)) "${builds[$index]}"; done)"
