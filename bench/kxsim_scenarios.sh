#!/bin/bash
# Frame cost of every scenario game through kxsim: each scenario `kxdata scenarios` lists is written
# (folder form) and each of its run recipes (tests/e2e/scenarios/<name>.args, <name>.<n>.args, or
# in the folder KX_RECIPE_DIR names) is
# run headless (logic, physics, the scene graph walked without GL) and with offscreen GL drawing (a
# screenshot of the last frame makes kxsim draw every frame). A scenario without a recipe runs from
# its start node with no input. Traces, screenshots and store dumps of a recipe are left out, so
# that only the player is timed.
#
#   bash bench/kxsim_scenarios.sh BUILD_DIR [RUNS] [SCENARIO...]
#
# Per run and mode: the median of RUNS (3; KX_GL_RUNS for the drawn mode, as drawing is slow) of
# the whole process, less the median of a one-frame run
# of the same game (process start, window set-up and start data), divided by the frames left: wall
# and CPU milliseconds per frame, simulated frames per wall second, and the share of the 16.7 ms
# frame budget. The loading screen's frames are frames the player plays, so they count; the field
# column says how many of the frames stepped the game field (from a traced run). Then a
# flat perf profile (KX_PROFILE=0 skips it) of the run that costs the most CPU per frame headless,
# and by library of the costliest drawn run. Use a Release build; the figures come with the load
# average they were taken under, since a busy machine stretches the wall times.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
runs="${2:-3}"
shift $(($# < 2 ? $# : 2))
wanted=("$@")
kxdata="$build/kxdata"
kxsim="$build/kxsim"
for tool in "$kxdata" "$kxsim"; do
    [ -x "$tool" ] || { echo "no $tool"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
# The default number of frames of a recipe that names none.
default_frames=3000
budget_ms=16.667
recipe_dir="${KX_RECIPE_DIR:-$src/tests/e2e/scenarios}"

# recipe_options FILE: the recipe's options, one word per line, without those that would time
# something else than the player (traces, screenshots, the store dump) and without --frames.
recipe_options() {
    local option value
    while read -r option value; do
        case "$option" in
        "" | \#*) continue ;;
        --trace | --screenshot | --frames) continue ;;
        --dump-store) continue ;;
        esac
        printf '%s\n' "$option"
        [ -n "$value" ] && printf '%s\n' "$value"
    done <"$1"
}

recipe_frames() {
    local frames
    frames=$(sed -n 's/^[[:space:]]*--frames[[:space:]]\+\([0-9]\+\).*/\1/p' "$1" | tail -n 1)
    echo "${frames:-$default_frames}"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# timed GAME FRAMES MODE [OPTIONS...]: "wall cpu" in seconds, medians of $runs runs; "fail N" when
# kxsim exited N.
timed() {
    local game="$1" frames="$2" mode="$3" out wall user sys code i count="$runs"
    shift 3
    [ "$mode" = gl ] && count="${KX_GL_RUNS:-$runs}"
    local extra=()
    [ "$mode" = gl ] && extra=(--screenshot "$frames:$work/last.png")
    : >"$work/walls"
    : >"$work/cpus"
    for ((i = 0; i < count; i++)); do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        out=$({ TIMEFORMAT='%R %U %S'; time {
            "$kxsim" "$game" --frames "$frames" "$@" "${extra[@]}" >/dev/null 2>"$work/sim.log"
            echo $? >"$work/code"
        }; } 2>&1)
        code=$(cat "$work/code")
        if [ "$code" != 0 ]; then
            echo "fail $code"
            return
        fi
        read -r wall user sys <<<"$(tail -n 1 <<<"$out")"
        echo "$wall" >>"$work/walls"
        awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }' >>"$work/cpus"
    done
    grep -q "no offscreen GL here" "$work/sim.log" && touch "$work/no-gl"
    echo "$(median <"$work/walls") $(median <"$work/cpus")"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; medians of $runs runs (drawn: ${KX_GL_RUNS:-$runs})"
printf '%-17s %-25s %6s %6s %-8s %9s %9s %9s %8s\n' scenario recipe frames field mode "wall ms" "CPU ms" \
    "frames/s" budget
: >"$work/costs"
"$kxdata" scenarios | cut -f1 >"$work/scenarios"
while read -r scenario; do
    if [ ${#wanted[@]} -gt 0 ] && ! printf '%s\n' "${wanted[@]}" | grep -qx "$scenario"; then
        continue
    fi
    game="$work/game-$scenario"
    if ! "$kxdata" write-demo --scenario "$scenario" "$game" >"$work/write.log" 2>&1; then
        echo "$scenario: write-demo failed"
        continue
    fi
    recipes=()
    for recipe in "$recipe_dir/$scenario.args" "$recipe_dir/$scenario".[0-9]*.args; do
        [ -f "$recipe" ] && recipes+=("$recipe")
    done
    [ ${#recipes[@]} -gt 0 ] || recipes=(none)
    for recipe in "${recipes[@]}"; do
        if [ "$recipe" = none ]; then
            name="(none: start node)"
            frames=$default_frames
            options=()
        else
            name=$(basename "$recipe")
            frames=$(recipe_frames "$recipe")
            mapfile -t options < <(recipe_options "$recipe")
        fi
        # How many of the frames the game field stepped (the rest: loading, menus, pause, end screens).
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        stepped=$("$kxsim" "$game" --frames "$frames" "${options[@]}" --trace field 2>/dev/null | grep -c ' field step=')
        for mode in headless gl; do
            start=$(timed "$game" 1 "$mode")
            whole=$(timed "$game" "$frames" "$mode" "${options[@]}")
            if [[ "$start" == fail* || "$whole" == fail* ]]; then
                printf '%-17s %-25s %6d %6d %-8s kxsim failed: %s\n' "$scenario" "$name" "$frames" "$stepped" "$mode" \
                    "$(tail -n 2 "$work/sim.log" | tr '\n' ' ')"
                continue
            fi
            awk -v sc="$scenario" -v r="$name" -v n="$frames" -v f="$stepped" -v m="$mode" -v s="$start" \
                -v w="$whole" -v b="$budget_ms" 'BEGIN {
                split(s, a, " "); split(w, c, " ");
                wall = (c[1] - a[1]) * 1000 / (n - 1); cpu = (c[2] - a[2]) * 1000 / (n - 1);
                if (wall < 0.001) wall = 0.001;
                printf "%-17s %-25s %6d %6d %-8s %9.3f %9.3f %9.0f %7.1f%%\n", sc, r, n, f, m, wall, cpu,
                    1000 / wall, 100 * wall / b }'
            cpu=$(awk -v s="$start" -v w="$whole" -v n="$frames" \
                'BEGIN { split(s, a, " "); split(w, c, " "); print (c[2] - a[2]) * 1000 / (n - 1) }')
            echo "$cpu $mode $game $frames $recipe" >>"$work/costs"
        done
    done
done <"$work/scenarios"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -e "$work/no-gl" ] && echo "(no offscreen GL here: the gl lines drew nothing)"

[ "${KX_PROFILE:-1}" = 0 ] && exit 0
command -v perf >/dev/null || { echo "(no perf: no profile)"; exit 0; }
# profile MODE SORT: a perf profile of the run of that mode that costs the most CPU per frame.
profile() {
    local mode="$1" sort="$2" line cpu game frames recipe
    line=$(awk -v m="$mode" '$2 == m' "$work/costs" | sort -g -r | head -n 1)
    [ -n "$line" ] || return
    read -r cpu _ game frames recipe <<<"$line"
    local options=() extra=()
    [ "$recipe" != none ] && mapfile -t options < <(recipe_options "$recipe")
    [ "$mode" = gl ] && extra=(--screenshot "$frames:$work/last.png")
    rm -rf "$HOME"
    mkdir -p "$XDG_DATA_HOME"
    echo
    echo "perf profile, $mode, $(basename "$game" | sed 's/^game-//') $(basename "$recipe") ($cpu ms CPU per frame), by $sort:"
    perf record -q -F 4999 -o "$work/perf.data" -- "$kxsim" "$game" --frames "$frames" "${options[@]}" \
        "${extra[@]}" >/dev/null 2>&1 || { echo "(perf record failed)"; return; }
    perf report -i "$work/perf.data" --stdio --no-children --sort "$sort" 2>/dev/null |
        grep -v '^#' | grep -v '^$' | head -n "${KX_PROFILE_LINES:-25}" | cut -c1-150
}
profile headless dso,symbol
profile gl dso
exit 0
