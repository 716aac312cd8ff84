#!/bin/bash
# Plays a corpus of levels with every physics bound off (KX_PHYSICS_BOUNDS=off) and the step meter on
# (KX_STEP_METER: one line a physics step, its measured cost beside what the step budget predicted),
# one meter file a level, named after it, and then prints how the prediction stands against the
# measured steps (bench/step_calibration.py).
#
#   bash bench/kxsim_step_calibration.sh BUILD_DIR [-j JOBS] [--frames N] [--only NAME,...] [--meters DIR]
#                                        [-- STEP_CALIBRATION_OPTIONS...]
#   bash bench/kxsim_step_calibration.sh --list      the corpus's level names
#
# The corpus:
#   oracle-RECIPE-SEED   generated valid levels (tests/e2e/valid_level.py), four seeds of every recipe:
#                        the rotation's recipes at the seeds the oracle gives them, the later ones
#                        (taken by --recipes) at seeds 1 to 4
#   pile-NAME            every level of bench/kxsim_piles.sh (bench/pile_levels.sh)
#   sweep-KIND-COUNT-PLACEMENT
#                        bench/kxsim_sweep.sh's levels at 1,000 and 5,000 copies of every kind in every
#                        placement (bench/sweep_levels.sh; the nested kinds at their own counts)
#   dense-NAME           the dense levels of tests/e2e/dense_levels.sh
#   shape-NAME           shapes the old prediction got wrong, each a level of its own (make_shape below)
# --only takes names or shell patterns (--only 'shape-*,pile-barrels-*'). Each run plays N frames
# (600) from a store (HOME) of its own, JOBS at a time (half the processors); one still going after
# KX_CALIBRATION_LIMIT seconds (600) is stopped, shown as such, and its meter file kept as far as it
# went. With every bound off, thousands of bodies at one point take gigabytes (5,000 beetles some
# 6 GiB): a run whose resident memory passes KX_CALIBRATION_MEMORY MiB (the machine's memory shared
# among JOBS and one more) is ended too, shown as "memory", its meter file kept as far as it went.
# Per run as it ends: the level, how it ended, its wall seconds, its peak memory and the steps
# metered; then the whole corpus's wall time and the table. The meter files go to DIR, kept, when
# --meters is given (for `python3 bench/step_calibration.py DIR/* --worst 10 --fit`); the options
# after -- go to that table (--worst N, --fit). Use a Release build on an otherwise idle machine.
# Needs python3-msgpack.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
PY=$(command -v /usr/bin/python3 || command -v python3)

# The shapes: name, then what it holds.
shapes=(
    "shields-4000-point|4,000 of the platformer's shields (sensor powerups) at one point"
    "barrels-40000-60|40,000 of the works' barrels 60 points apart, 200 to a row"
    "crates-20000-41|20,000 of the works' crates at 0.7 of their size (39 points) 41 points apart"
    "spawner-heap|40 ball spawners laying a copy every 0.1 s over a pit, which the copies heap up in"
    "lift-tracks-2000-point|2,000 of the works' lift tracks at one point, moving up at 1 m/s"
    "ledges-1000-moving|1,000 of the platformer's ledges at a quarter of their size side by side, moving right"
    "characters-1045-small|1,045 heroes at a quarter of their size in rows, walking into a wall"
    "characters-752|752 heroes at half their size in rows half a hero apart, walking into a wall"
    "characters-688|688 explorers at half their size in rows, walking into the works' east wall"
    "explorers-5000-point|5,000 of the works' explorers at one point, walking right"
    "explorers-8000-point|8,000 of the works' explorers at one point, walking right"
    "balls-1045-ledges|1,045 balls of 9 points dropped onto a shelf of ledges overlapping four deep, in a pit"
    "scouts-5000-fire|5,000 scouts at a quarter of their size side by side, the ship firing into them"
    "coins-3000-magnet|3,000 coins at a quarter of their size, touching, pulled onto the hero by the magnet"
)

# The corpus's names, the costliest kinds first so that the runs at the limit start early.
corpus() {
    local entry recipe index seed seeds rotation
    for entry in "${shapes[@]}"; do echo "shape-${entry%%|*}"; done
    pile_names | sed 's/^/pile-/'
    (kinds='' counts=1000,5000 placements=spread,rows,point,moving scales='' rotations='' sweep_plan) |
        while read -r kind count placement _; do
            # The nested kinds are made at their own counts, in no placement.
            if [ "$placement" = - ]; then echo "sweep-$kind-$count"; else echo "sweep-$kind-$count-$placement"; fi
        done
    dense_levels | sed 's/^/dense-/'
    rotation=$("$PY" "$src/tests/e2e/valid_level.py" --rotation | wc -l)
    index=0
    while read -r recipe; do
        if [ "$index" -lt "$rotation" ]; then
            # The seeds the oracle's rotation gives this recipe: the same levels.
            seeds=$(seq "$((index == 0 ? rotation : index))" "$rotation" "$((index + 4 * rotation))" | head -n 4)
        else
            seeds="1 2 3 4"
        fi
        for seed in $seeds; do echo "oracle-$recipe-$seed"; done
        index=$((index + 1))
    done < <("$PY" "$src/tests/e2e/valid_level.py" --recipes)
}

# _shape_pile GAME SECTION PILE_LEVEL_OPTIONS...: one more layout in the level being made.
_shape_pile() {
    local scenario="$1" section="$2"
    shift 2
    "$PY" "$src/tests/e2e/pile_level.py" "$games/sweep/$scenario.dump" "$level" "$section" "$@"
}

# make_shape NAME LEVEL: writes the shape into LEVEL and sets `run`.
make_shape() {
    local name="$1" level="$2" meadow=Meadow works="Portal Works"
    local enemies=(--drop "Crab 1" --drop "Crab 2" --drop Cannon --drop Cannonball --drop "Armoured Crab" --drop Boulder)
    local scenario=platformer
    case "$name" in
    barrels-* | crates-* | lift-tracks-* | characters-688 | explorers-*) scenario=portals-and-paths ;;
    scouts-*) scenario=shooter ;;
    esac
    rm -rf "$level"
    cp -r "$games/sweep/$scenario" "$level" || return 1
    run=(--open world1 --key 250:down:Right)
    [ "$scenario" = portals-and-paths ] && run=(--open works --key 200:down:Right)
    # The meadow's enemies would end the hero's run within 80 steps, and the field's stepping with it.
    if [ "$scenario" = platformer ]; then
        _shape_pile platformer $meadow "${enemies[@]}" || return 1
    fi
    case "$name" in
    shields-4000-point)
        _shape_pile platformer $meadow --unit "Meadow Shield" --copies 4000 --spacing 0 ;;
    barrels-40000-60)
        # The north and east walls go: the rows run far past the screen, clear of the explorer.
        _shape_pile portals-and-paths "$works" --drop "Wall North" --drop "Wall East" &&
            _shape_pile portals-and-paths "$works" --unit Barrel --copies 40000 --row 200 --spacing 60 --at 170,70 ;;
    crates-20000-41)
        _shape_pile portals-and-paths "$works" --drop "Wall North" --drop "Wall East" &&
            _shape_pile portals-and-paths "$works" --unit "Belt Crate" --copies 20000 --row 141 --spacing 41 \
                --scale 0.7 --at 165,65 ;;
    spawner-heap)
        # The cannon, gone with the enemies, shared the balls' spawner and would have fired as fast.
        # The pit stands far right, where the scrolling view keeps it longest, and the spawners within
        # the view (copies laid outside it go at once).
        _shape_pile platformer $meadow --unit Floor --copies 2 --row 2 --spacing 464 --at=674,384 \
                --rotation 90 --scale 0.5,1 &&
            _shape_pile platformer $meadow --unit Ball --copies 40 --row 40 --spacing 10 --at 710,600 --scale 0.25 \
                --velocity=0,0 --spawner --spawn-rate 0.1
        run=(--open world1) ;;
    lift-tracks-2000-point)
        _shape_pile portals-and-paths "$works" --unit "Lift Track" --copies 2000 --spacing 0 --velocity=0,1 ;;
    ledges-1000-moving)
        # Above the hero's head: it walks on under them.
        _shape_pile platformer $meadow --unit Ledge --copies 1000 --row 22 --spacing 40 --rise 5 --scale 0.25 \
            --velocity=1,0 --at 272,160 ;;
    characters-1045-small)
        _shape_pile platformer $meadow --drop Ledge --drop Lift --drop Ball &&
            _shape_pile platformer $meadow --unit Floor --copies 1 --at=716,384 --rotation 90 --scale 0.5,1 &&
            _shape_pile platformer $meadow --unit Hero --copies 1045 --row 55 --spacing 11 --rise 17 --scale 0.25 \
                --at 30,100 --set 'Name="Hero copy"' &&
            _shape_pile platformer $meadow --drop Hero ;;
    characters-752)
        _shape_pile platformer $meadow --drop Ledge --drop Lift --drop Ball &&
            _shape_pile platformer $meadow --unit Floor --copies 1 --at=776,384 --rotation 90 --scale 0.5,1 &&
            _shape_pile platformer $meadow --unit Hero --copies 752 --row 60 --spacing 11 --rise 33 --scale 0.5 \
                --at 30,110 --set 'Name="Hero copy"' &&
            _shape_pile platformer $meadow --drop Hero ;;
    characters-688)
        _shape_pile portals-and-paths "$works" --drop Turnstile --drop "Works Portal" --drop "Works Portal Exit" \
            --drop vault --drop "Paint Gate" --drop "Belt Crate" --drop Barrel &&
            _shape_pile portals-and-paths "$works" --unit Explorer --copies 688 --row 43 --spacing 24 --scale 0.5 \
                --at 56,56 --set 'Name="Explorer copy"' &&
            _shape_pile portals-and-paths "$works" --drop Explorer ;;
    explorers-5000-point | explorers-8000-point)
        name=${name#explorers-}
        _shape_pile portals-and-paths "$works" --unit Explorer --copies "${name%-point}" --spacing 0 ;;
    balls-1045-ledges)
        # Walls 600 points apart, a shelf of twelve ledges, each 40 points on from the one before
        # (four deep), and the balls in rows 40 points above it.
        _shape_pile platformer $meadow --drop Lift &&
            _shape_pile platformer $meadow --unit Floor --copies 2 --row 2 --spacing 632 --at=284,308 \
                --rotation 90 --scale 0.375,1 &&
            _shape_pile platformer $meadow --unit Ledge --copies 12 --row 12 --spacing 40 --at 380,210 \
                --set 'Name="Ledge copy"' &&
            _shape_pile platformer $meadow --unit Ball --copies 1045 --row 55 --spacing 10 --at 320,260 --scale 0.25 \
                --velocity=0,0 --set 'Name="Ball copy"' &&
            _shape_pile platformer $meadow --drop Ledge --drop Ball ;;
    scouts-5000-fire)
        _shape_pile shooter "Launch Bay" --unit Scout --copies 5000 --row 100 --spacing 10 --scale 0.25 --at 430,60
        run=(--key 230:down:space) ;;
    coins-3000-magnet)
        _shape_pile platformer $meadow --unit "Meadow Coin 1" --copies 3000 --row 60 --spacing 7 --scale 0.25 --at 560,90 ;;
    *) return 1 ;;
    esac
}

# make_level NAME LEVEL: writes the corpus's level NAME into LEVEL and sets `run`, how kxsim plays it.
make_level() {
    local name="$1" level="$2" line recipe seed words
    case "$name" in
    shape-*) make_shape "${name#shape-}" "$level" ;;
    pile-*) pile_make "${name#pile-}" "$games/piles" "$level" >/dev/null && run=("${pile_run[@]}") ;;
    sweep-*)
        local rest="${name#sweep-}" kind count placement=-
        if ! [[ "${rest##*-}" =~ ^[0-9]+$ ]]; then
            placement=${rest##*-} rest=${rest%-*}
        fi
        count=${rest##*-} kind=${rest%-*}
        sweep_make "$kind" "$count" "$placement" 1 0 "$games/sweep" "$level" && run=("${sweep_run[@]}") ;;
    dense-*) dense_level "${name#dense-}" "$level" && dense_run "${name#dense-}" ;;
    oracle-*)
        seed=${name##*-} recipe=${name#oracle-} recipe=${recipe%-*}
        line=$("$PY" "$src/tests/e2e/valid_level.py" "$seed" "$games/oracle" "$level" --recipes "$recipe") || return 1
        read -ra words <<<"${line#* | }"
        run=()
        # Untraced: the trace is no part of the step.
        while [ ${#words[@]} -gt 0 ]; do
            [ "${words[0]}" = --trace ] || run+=("${words[@]:0:2}")
            words=("${words[@]:2}")
        done ;;
    *) return 1 ;;
    esac
}

# play NAME: makes the level, plays it metered and prints its line.
play() {
    local name="$1" level="$work/levels/$1" home="$work/homes/$1" meter="$meters/$1" code wall rss ended steps
    local pid sim peak over
    mkdir -p "$work/levels" "$work/logs"
    if ! make_level "$name" "$level" >"$work/logs/$name.make" 2>&1; then
        printf '%-44s %-10s %s\n' "$name" "not made" "$(grep . "$work/logs/$name.make" | tail -n 1 | cut -c1-100)"
        rm -rf "$level"
        return
    fi
    rm -rf "$home" "$meter"
    mkdir -p "$home/.local/share"
    # A frame of a pile can run for minutes: past the limit the run gets 10 s to end before a kill.
    env -u XDG_DATA_HOME HOME="$home" KX_PHYSICS_BOUNDS=off KX_STEP_METER="$meter" \
        /usr/bin/time -f "%e %M" -o "$work/logs/$name.time" timeout -k 10 "$limit" \
        "$kxsim" "$level" "${run[@]}" --frames "$frames" >/dev/null 2>"$work/logs/$name.err" &
    pid=$!
    # Its resident memory, watched: a cap on the address space instead would end runs that reserve
    # far more than they touch (5,000 ships) and, Box2D taking what malloc gives unchecked, crash them.
    over=
    while kill -0 "$pid" 2>/dev/null; do
        sim=$(pgrep -x kxsim -P "$(pgrep -x timeout -P "$pid")" 2>/dev/null)
        peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/${sim:-none}/status" 2>/dev/null)
        if [ "${peak:-0}" -gt $((memory * 1024)) ]; then
            over=1
            kill -KILL "$sim" 2>/dev/null
        fi
        sleep 0.5
    done
    wait "$pid"
    code=$?
    read -r wall rss < <(tail -n 1 "$work/logs/$name.time")
    case "$code" in
    0) ended="done" ;;
    124 | 137) ended=stopped ;;
    *) ended="exit $code" ;;
    esac
    [ -n "$over" ] && ended=memory
    case "$rss" in *[!0-9]* | "") rss=- ;; *) rss=$((rss / 1024)) ;; esac
    steps=$(wc -l 2>/dev/null <"$meter")
    [ -e "$meter" ] || steps="no meter"
    printf '%-44s %-10s %8s %8s %9s\n' "$name" "$ended" "$wall" "$rss" "$steps"
    rm -rf "$level" "$level.dump" "$home"
}

# Each run (under xargs) sources what makes the levels.
libraries() {
    source "$src/tests/e2e/dense_levels.sh"
    source "$src/bench/pile_levels.sh"
    source "$src/bench/sweep_levels.sh"
}

if [ "${1:-}" = --list ]; then
    libraries
    corpus
    exit 0
fi
build=$(cd "${1:?usage: $0 BUILD_DIR [-j JOBS] [--frames N] [--only NAME,...] [--meters DIR] [-- OPTIONS] | --list}" && pwd)
shift
jobs=$(($(nproc) / 2 > 0 ? $(nproc) / 2 : 1))
frames=600 only= meters= report=()
while [ $# -gt 0 ]; do
    case "$1" in
    -j) jobs="$2" ;;
    --frames) frames="$2" ;;
    --only) only="$2" ;;
    --meters) meters="$2" ;;
    --) shift; report=("$@"); break ;;
    *) echo "unknown option $1"; exit 1 ;;
    esac
    shift 2
done
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
[ -x /usr/bin/time ] || { echo "no /usr/bin/time"; exit 1; }
limit="${KX_CALIBRATION_LIMIT:-600}"
memory="${KX_CALIBRATION_MEMORY:-$(($(awk '/^MemTotal:/ { print $2 }' /proc/meminfo) / 1024 / (jobs + 1)))}"
kxsim="$build/kxsim" kxdata="$build/kxdata"
libraries
source "$src/tests/e2e/oracle.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
meters="${meters:-$work/meters}"
mkdir -p "$meters"
meters=$(cd "$meters" && pwd)
games="$work/games"
oracle_games "$games/oracle" || { echo "could not write the scenario games"; exit 1; }
pile_games "$games/piles" "$kxdata" || exit 1
sweep_games "$games/sweep" "$kxdata" || exit 1

# The names wanted: all, or those --only names or matches.
wanted() {
    local name pattern patterns
    IFS=, read -ra patterns <<<"$only"
    while read -r name; do
        [ -z "$only" ] && { echo "$name"; continue; }
        for pattern in "${patterns[@]}"; do
            # shellcheck disable=SC2053
            [[ "$name" == $pattern ]] && { echo "$name"; break; }
        done
    done
}
corpus | wanted >"$work/names"
[ -s "$work/names" ] || { echo "no level of the corpus is named $only (--list lists them)"; exit 1; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $(wc -l <"$work/names") levels;" \
    "$frames frames; $jobs at a time; stopped after $limit s or $memory MiB; meters in $meters"
printf '%-44s %-10s %8s %8s %9s\n' level ended "wall s" "peak MiB" steps
export -f play make_level make_shape _shape_pile libraries
export work src PY kxsim kxdata games meters frames limit memory
start=$(date +%s)
xargs -P "$jobs" -I{} bash -c 'libraries; play "$1"' _ {} <"$work/names" | tee "$work/runs"
echo "the corpus played in $(($(date +%s) - start)) s, $jobs at a time; load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk '{ n++; if ($2 == "stopped") s++; else if ($2 == "memory") m++; else if ($2 != "done") f++ }
     END { printf "runs %d: stopped at the time limit %d, out of memory %d, not made or failed %d\n", n, s, m, f }' \
    "$work/runs"
echo
files=()
while read -r name; do
    [ -s "$meters/$name" ] && files+=("$meters/$name")
done <"$work/names"
if [ ${#files[@]} -eq 0 ]; then
    echo "no meter file was written: the build's kxsim does not meter its steps (KX_STEP_METER)"
    exit 0
fi
"$PY" "$src/bench/step_calibration.py" "${files[@]}" "${report[@]}"
