#!/bin/bash
# Loading data made to cost the loader the most, in one or more builds, through kxsim's loading
# screen (a step a frame). Cases, each at the size N it names:
#   shared:N  the portal works with its section copied N times, the copies sharing its objects
#             (each object then has N + 1 parents; tests/e2e/pile_level.py --copy-section)
#   again:N   a grown sample of N models (`kxdata write-sample --models N`) with one more file per
#             class that gives every id of the class again, each replacing the model that had it
# Per case and build, one run: the loading steps, the longest one (wall milliseconds from the
# arrival times of the trace's lines, bench/loading_trace.py), whether the load ended, and the whole
# process's user + system seconds and peak MiB. A case at N and at 2N shows whether the work stays
# linear: twice the data, about twice the seconds and the same longest step.
#
#   bash bench/kxsim_hostile_loading.sh BUILD... [-- CASE...]
#
# Cases shared:10000 shared:20000 again:50000 again:100000 by default. The games are written by the
# first build's kxdata. Needs python3-msgpack for shared:N. Use Release builds; the load average is
# printed with the figures.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
builds=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    builds+=("$(cd "$1" && pwd)")
    shift
done
[ "${1:-}" = "--" ] && shift
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(shared:10000 shared:20000 again:50000 again:100000)
[ ${#builds[@]} -gt 0 ] || { echo "usage: $0 BUILD... [-- CASE...]"; exit 1; }
PY=$(command -v /usr/bin/python3 || command -v python3)
[ -x /usr/bin/time ] || { echo "no /usr/bin/time"; exit 1; }
kxdata="${builds[0]}/kxdata"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"

# make_game CASE DIR: writes the case's game into DIR.
make_game() {
    local kind="${1%%:*}" n="${1#*:}" dir="$2" class last
    case "$kind" in
    shared)
        "$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; return 1; }
        "$kxdata" write-demo --scenario portals-and-paths "$dir" >/dev/null 2>&1 &&
            "$kxdata" dump "$dir" >"$work/dump" 2>/dev/null &&
            "$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$dir" "Portal Works" --copy-section "$n"
        ;;
    again)
        "$kxdata" write-sample "$dir" --models "$n" >/dev/null 2>&1 || return 1
        # A pack holds records one after another: the class's files end to end give each id again.
        for class in $(ls "$dir/data" | sed -n 's/^\(KXModel[A-Za-z]*\)\.[0-9]*\.attributes\.pack$/\1/p' | sort -u); do
            [ "$class" = KXModelGeneralSettings ] && continue
            last=$(ls "$dir/data" | sed -n "s/^$class\.\([0-9]*\)\.attributes\.pack$/\1/p" | sort -n | tail -n 1)
            for ((i = 0; i <= last; i++)); do
                cat "$dir/data/$class.$i.attributes.pack"
            done >"$work/again.pack"
            mv "$work/again.pack" "$dir/data/$class.$((last + 1)).attributes.pack"
        done
        ;;
    *)
        echo "unknown case $1"
        return 1
        ;;
    esac
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
printf '%-14s %-40s %6s %11s %5s %8s %8s\n' case build steps "longest ms" done "cpu s" "peak MiB"
for name in "${cases[@]}"; do
    game="$work/game"
    rm -rf "$game"
    make_game "$name" "$game" >/dev/null || { echo "$name: the game could not be made"; continue; }
    # Files plus a step per class and pass, slices of the large files, and the menu.
    frames=$((2 * $(ls "$game/data" | wc -l) + 2000))
    for build in "${builds[@]}"; do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        read -r steps longest done < <(/usr/bin/time -f "%U %S %M" -o "$work/time" "$build/kxsim" "$game" \
            --frames "$frames" --trace loading 2>/dev/null | "$PY" "$src/bench/loading_trace.py")
        read -r cpu peak < <(awk '{ printf "%.2f %.1f\n", $1 + $2, $3 / 1024 }' "$work/time")
        printf '%-14s %-40s %6s %11s %5s %8s %8s\n' "$name" "$build" "$steps" "$longest" "$done" "$cpu" "$peak"
    done
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
