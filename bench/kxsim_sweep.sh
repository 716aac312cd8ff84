#!/bin/bash
# Bends the scenario games' sections every way a level can: copies of each kind of object that has
# a body (units that fall, walk, fly or carry; powerups; portals and their exits, also exits that
# send on; paths; gatekeepers, logic gates, screen jumps; characters), of mirrors, lights and
# particle effects, and of whole sections (a section given again N times, sharing its objects), by
# count, placement, scale and rotation, and plays each level headless through kxsim for FRAMES
# frames (600 unless KX_SWEEP_FRAMES says otherwise).
#
#   bash bench/kxsim_sweep.sh BUILD_DIR [-j JOBS] [--kinds K,K] [--counts N,N] [--placements P,P]
#                             [--scales S,S] [--rotations R,R]
#
# Placements: spread (each copy clear of the next), rows (3 points apart, 40 to a row), point (all
# at one point), moving (rows, each unit set moving the same way). A rotation "turn" turns each copy
# 7 degrees further than the one before. Per level it prints the run's wall seconds, its longest
# frame (from the arrival of the trace's frame lines, so with the trace's own cost), its peak memory,
# its exit status, the bodies held out of the physics and the steps without continuous collision.
# Without options: every kind at 1 to 10,000 copies in every placement, then every kind at scales
# from a millionth to a float's largest (and negative) and at two rotations. Runs go JOBS at a time
# (half the processors by default): use a Release build on an otherwise idle machine. Needs
# python3-msgpack.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [options]}" && pwd)
shift
jobs=$(($(nproc) / 2 > 0 ? $(nproc) / 2 : 1))
kinds= counts= placements= scales= rotations=
while [ $# -gt 0 ]; do
    case "$1" in
    -j) jobs="$2" ;;
    --kinds) kinds="$2" ;;
    --counts) counts="$2" ;;
    --placements) placements="$2" ;;
    --scales) scales="$2" ;;
    --rotations) rotations="$2" ;;
    *) echo "unknown option $1"; exit 1 ;;
    esac
    shift 2
done
frames="${KX_SWEEP_FRAMES:-600}"
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }

# The kinds, how each scenario is played and how a level is made: bench/sweep_levels.sh.
source "$src/bench/sweep_levels.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sweep_games "$work" "$build/kxdata" || exit 1

# run KIND COUNT PLACEMENT SCALE ROTATION: makes the level and plays it; prints its line.
run() {
    local kind="$1" count="$2" placement="$3" scale="$4" rotation="$5"
    local level="$work/$kind-$count-$placement-$scale-$rotation"
    if ! sweep_make "$kind" "$count" "$placement" "$scale" "$rotation" "$work" "$level"; then
        printf '%-12s %6s %-9s %8s %5s  level not made\n' "$kind" "$count" "$placement" "$scale" "$rotation"
        return
    fi
    local home="$level.home" wall longest code rss
    mkdir -p "$home"
    read -r wall longest _ < <(HOME="$home" XDG_DATA_HOME="$home" timeout 300 /usr/bin/time -f %M \
        -o "$level.rss" "$build/kxsim" "$level" --frames "$frames" "${sweep_run[@]}" \
        --trace loading,screens,field,bodies 2>/dev/null | tee "$level.trace" | "$PY" "$src/bench/trace_frames.py")
    code=$(sed -n 's/^Command \(exited with non-zero status\|terminated by signal\) //p' "$level.rss")
    rss=$(tail -n 1 "$level.rss")
    case "$rss" in *[!0-9]* | "") rss="-" ;; *) rss=$((rss / 1024)) ;; esac
    printf '%-12s %6s %-9s %8s %5s %7s %9s %8s %5s %8s %5s\n' "$kind" "$count" "$placement" "$scale" "$rotation" \
        "$wall" "$longest" "$rss" "${code:-0}" "$(grep -c ' bodies held-out ' "$level.trace")" \
        "$(grep -c ' continuous-collision off' "$level.trace")"
    rm -rf "$level" "$level.home" "$level.trace" "$level.rss"
}

if [ -z "$counts$placements$scales$rotations" ]; then
    counts=1,100,1000,10000 placements=spread,rows,point,moving
    scales_default=1e-6,0.01,100,1e6,3e38,-1 rotations_default=45,turn
fi
placements="${placements:-spread,rows,point,moving}"
counts="${counts:-1,100,1000,10000}"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $frames frames; $jobs at a time"
printf '%-12s %6s %-9s %8s %5s %7s %9s %8s %5s %8s %5s\n' kind count placement scale turn "wall s" "longest s" \
    "peak MiB" exit "held out" "no ccd"
export -f run
export work build src frames PY
{
    sweep_plan
    if [ -n "${scales_default:-}" ]; then
        scales="$scales_default" rotations="$rotations_default" counts=1000 placements=point,rows sweep_plan | grep -v ' 1 0$'
    fi
} | xargs -P "$jobs" -L 1 bash -c 'source "$src/bench/sweep_levels.sh"; run "$@"' _
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
