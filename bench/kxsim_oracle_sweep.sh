#!/bin/bash
# Plays valid levels (tests/e2e/valid_level.py, one a seed) with the physics bounds on and off
# (KX_PHYSICS_BOUNDS=off) and compares their traces: no bound may act on a level a user can make,
# so every level should trace the same both ways.
#
#   bash bench/kxsim_oracle_sweep.sh BUILD_DIR [-j JOBS] [--levels N] [--first SEED] [--recipes R,R]
#
# N levels (1,000 by default) from seed SEED (1) on, the seeds taking in turn the recipes named
# (`python3 tests/e2e/valid_level.py --recipes` lists them all) or, by default, the first eight,
# JOBS levels at a time (a quarter of the processors: each plays its two runs side by side). Per
# level: its seed, recipe, bodies, same or differs, each run's wall seconds and peak memory, what it
# holds, and the first line that differs (cut); then how many levels of each recipe differ. A run
# that fails shows its exit status instead of its seconds. Use a Release build on an otherwise idle
# machine.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [-j JOBS] [--levels N] [--first SEED] [--recipes R,R]}" && pwd)
shift
jobs=$(($(nproc) / 4 > 0 ? $(nproc) / 4 : 1))
levels=1000 first=1 recipes=
while [ $# -gt 0 ]; do
    case "$1" in
    -j) jobs="$2" ;;
    --levels) levels="$2" ;;
    --first) first="$2" ;;
    --recipes) recipes="$2" ;;
    *) echo "unknown option $1"; exit 1 ;;
    esac
    shift 2
done
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
kxsim="$build/kxsim" kxdata="$build/kxdata"
source "$src/tests/e2e/oracle.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
oracle_games "$work/games" || { echo "could not write the scenario games"; exit 1; }
mapfile -t names < <("$PY" "$src/tests/e2e/valid_level.py" --recipes)
for name in ${recipes//,/ }; do
    printf '%s\n' "${names[@]}" | grep -qx "$name" || { echo "no recipe $name (${names[*]})"; exit 1; }
done
# The recipes named take the seeds in turn (a level depends only on its recipe and seed).
export oracle_recipes="$recipes"

# The seeds played: from the first on.
plan() {
    seq "$first" "$((first + levels - 1))"
}

# run SEED: makes the level, plays it both ways, prints its line.
run() {
    local seed="$1" level="$work/level-$1" result about difference code wall rss figures=()
    if ! oracle_level "$seed" "$work/games" "$level" 2>"$level.err"; then
        printf '%6s %-16s %6s %-7s  %s\n' "$seed" - - invalid "$(head -c 150 "$level.err")"
        rm -rf "$level" "$level.err"
        return
    fi
    oracle_play "$level" "$level" "${level_run[@]}"
    for way in on off; do
        read -r code wall rss <"$level.$way.run"
        [ "$code" = 0 ] || wall="exit$code"
        case "$rss" in *[!0-9]* | "") rss=- ;; *) rss=$((rss / 1024)) ;; esac
        figures+=("$wall" "$rss")
    done
    if difference=$(oracle_compare "$level.on" "$level.off"); then result=same; else result=differs; fi
    about=$(sed 's/^seed=[^ ]* recipe=\([^ ]*\) scenario=\([^ ]*\) bodies=\([^ ]*\) /\1 \3 \2 /' <<<"$level_about")
    read -r recipe bodies about <<<"$about"
    printf '%6s %-16s %6s %-7s %6s %6s %7s %7s  %-70.70s %.110s\n' "$seed" "$recipe" "$bodies" "$result" \
        "${figures[0]}" "${figures[2]}" "${figures[1]}" "${figures[3]}" "$about" "$difference"
    rm -rf "$level" "$level".*
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $levels levels; $jobs at a time"
printf '%6s %-16s %6s %-7s %6s %6s %7s %7s  %-70s %s\n' seed recipe bodies result "on s" "off s" "on MiB" "off MiB" \
    "scenario and what it holds" "first line that differs"
export -f run oracle_level oracle_play oracle_compare _oracle_run _oracle_line
export work kxsim kxdata PY oracle_dir oracle_limit
plan | xargs -P "$jobs" -I{} bash -c 'run {}' | tee "$work/table"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk '$4 == "same" || $4 == "differs" { n[$2]++; all++; if ($4 == "differs") { d[$2]++; diff++ } }
     END {
         printf "levels %d, same %d, differ %d\n", all, all - diff, diff
         for (r in n) printf "  %-16s %5d levels, %5d differ\n", r, n[r], d[r]
     }' "$work/table"
