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

# kind|scenario|section|object|points between copies spread out[|more pile_level.py options, ";"
# between them]. The object "-" copies the section instead: placement, scale and rotation do not
# apply to it. The object "@" makes the level with tests/e2e/nest_level.py instead, from the options
# given (each {N} replaced by the count), at its own counts (in place of the spacing), once each.
all_kinds=(
    "ball|platformer|Meadow|Ball|50"
    "boulder|platformer|Meadow|Boulder|70"
    "crab|platformer|Meadow|Crab 1|80"
    "lift|platformer|Meadow|Lift|180"
    "cannonball|platformer|Meadow|Cannonball|30"
    "coin|platformer|Meadow|Meadow Coin 1|40"
    "magnet|platformer|Meadow|Meadow Magnet|50"
    "hero|platformer|Meadow|Hero|80"
    "crate|portals-and-paths|Portal Works|Belt Crate|60"
    "barrel|portals-and-paths|Portal Works|Barrel|60"
    "portal|portals-and-paths|Portal Works|Works Portal|80"
    "portal-exit|portals-and-paths|Portal Works|Works Portal Exit|80"
    "turnstile|portals-and-paths|Portal Works|Turnstile|80"
    "paint-gate|portals-and-paths|Portal Works|Paint Gate|80"
    "vault|portals-and-paths|Portal Works|vault|80"
    "explorer|portals-and-paths|Portal Works|Explorer|60"
    "two-way|portals-and-paths|Portal Works|Works Portal Exit|80|--set;Exit Only=false;--set;Single Use=false"
    "belt|portals-and-paths|Portal Works|Belt|120"
    "lift-path|portals-and-paths|Portal Works|Lift|120"
    "sections|portals-and-paths|Portal Works|-|0"
    "mirror|effects|Cave Hall|Pool|400"
    "lantern|effects|Cave Hall|Lantern|120"
    "dust|effects|Cave Hall|Dust|60"
    "nest-deep|portals-and-paths|Portal Works|@|4,8,12,20|--shape;units;--depth;{N};--children;1"
    "nest-wide|portals-and-paths|Portal Works|@|8,24,64|--shape;units;--depth;3;--children;{N}"
    "nest-self|portals-and-paths|Portal Works|@|1,2,8|--shape;units;--depth;1;--children;{N};--loop;self"
    "nest-spawners|shooter|Launch Bay|@|2,4,8|--shape;units;--depth;2;--children;{N};--loop;self;--spawner"
    "nest-pictures|portals-and-paths|Portal Works|@|200,2000,20000|--shape;images;--depth;{N};--children;1"
    "nest-groups|top-down|Walled Garden|@|10,100,1000|--shape;groups;--depth;{N};--children;10"
    "nest-linkers|effects|Cave Hall|@|10,100,1000|--shape;linkers;--depth;{N};--children;4"
    "dense-sections|portals-and-paths|Portal Works|@|100,1500,5000|--shape;sections;--sections;20;--objects;{N};--spacing;12"
    "beetle|top-down|Walled Garden|Beetle 1|60"
    "moth|top-down|Walled Garden|Moth 1|60"
    "ruby|top-down|Walled Garden|Ruby 1|50"
    "tree|top-down|Walled Garden|Tree 1|80"
    "ship|shooter|Launch Bay|Ship|80"
    "scout|shooter|Launch Bay|Scout|80"
    "bay-coin|shooter|Launch Bay|Bay Coin 1|50"
)
# How each scenario is played: opened, its character walking right (or the ship firing), jumping.
play_options() {
    case "$1" in
    platformer) echo "--open world1 --key 250:down:Right --key 300:down:J" ;;
    portals-and-paths) echo "--open works --key 200:down:Right --key 260:down:J" ;;
    top-down) echo "--open garden --key 300:down:Right" ;;
    shooter) echo "--key 230:down:space" ;;
    effects) echo "--key 250:down:Right" ;;
    esac
}

wanted() { [ -z "$2" ] || printf ',%s,' "$2" | grep -q ",$1,"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for scenario in platformer portals-and-paths top-down shooter effects; do
    "$build/kxdata" write-demo --scenario "$scenario" "$work/$scenario" >/dev/null 2>&1 &&
        "$build/kxdata" dump "$work/$scenario" >"$work/$scenario.dump" 2>/dev/null ||
        { echo "could not write $scenario"; exit 1; }
done

# One level a line: kind count placement scale rotation.
plan() {
    local entry kind count placement scale rotation
    for entry in "${all_kinds[@]}"; do
        IFS='|' read -r kind _ _ object own _ <<<"$entry"
        wanted "$kind" "$kinds" || continue
        if [ "$object" = @ ]; then
            [ -z "$scales$rotations" ] && for count in ${own//,/ }; do echo "$kind $count - 1 0"; done
            continue
        fi
        if [ -z "$scales$rotations" ]; then
            for count in ${counts//,/ }; do
                for placement in ${placements//,/ }; do
                    echo "$kind $count $placement 1 0"
                    [ "$object" = - ] && break
                done
            done
        fi
    done
    for entry in "${all_kinds[@]}"; do
        IFS='|' read -r kind _ _ object _ <<<"$entry"
        wanted "$kind" "$kinds" || continue
        [ "$object" = - ] || [ "$object" = @ ] && continue
        for scale in ${scales//,/ }; do
            for placement in ${placements//,/ }; do
                echo "$kind ${counts%%,*} $placement $scale 0"
            done
        done
        for rotation in ${rotations//,/ }; do
            for placement in ${placements//,/ }; do
                echo "$kind ${counts%%,*} $placement 1 $rotation"
            done
        done
    done
}

# run KIND COUNT PLACEMENT SCALE ROTATION: makes the level and plays it; prints its line.
run() {
    local kind="$1" count="$2" placement="$3" scale="$4" rotation="$5" entry scenario section object spread more
    for entry in "${all_kinds[@]}"; do
        IFS='|' read -r name scenario section object spread more <<<"$entry"
        [ "$name" = "$kind" ] && break
    done
    local level="$work/$kind-$count-$placement-$scale-$rotation" options=(--copies "$count") extra=()
    [ -n "$more" ] && IFS=';' read -ra extra <<<"$more"
    options+=("${extra[@]}")
    case "$placement" in
    spread)
        # Clear of one another at any scale, but not past where a float keeps points apart.
        spacing=$("$PY" -c "print(min(1e4, $spread * max(1.0, abs(float('$scale')))))" 2>/dev/null || echo "$spread")
        options+=(--row 50 --spacing "$spacing") ;;
    rows) options+=(--row 40 --spacing 3) ;;
    point) options+=(--spacing 0) ;;
    moving) options+=(--row 40 --spacing 3 --velocity=4,0) ;;
    esac
    [ "$scale" = 1 ] || options+=("--scale=$scale")
    case "$rotation" in
    0) ;;
    turn) options+=(--turn 7) ;;
    *) options+=("--rotation=$rotation") ;;
    esac
    local maker=pile_level.py
    case "$object" in
    -) options=(--copy-section "$count") ;;
    @) maker=nest_level.py options=("${extra[@]//\{N\}/$count}") ;;
    *) options=(--unit "$object" "${options[@]}") ;;
    esac
    cp -r "$work/$scenario" "$level"
    if ! "$PY" "$src/tests/e2e/$maker" "$work/$scenario.dump" "$level" "$section" \
        "${options[@]}" >/dev/null 2>&1; then
        printf '%-12s %6s %-9s %8s %5s  level not made\n' "$kind" "$count" "$placement" "$scale" "$rotation"
        return
    fi
    local home="$level.home" wall longest code rss
    mkdir -p "$home"
    # shellcheck disable=SC2046
    read -r wall longest _ < <(HOME="$home" XDG_DATA_HOME="$home" timeout 300 /usr/bin/time -f %M \
        -o "$level.rss" "$build/kxsim" "$level" --frames "$frames" $(play_options "$scenario") \
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
export -f run play_options
export work build src frames PY
export all_kinds_text
all_kinds_text=$(printf '%s\n' "${all_kinds[@]}")
{
    plan
    if [ -n "${scales_default:-}" ]; then
        scales="$scales_default" rotations="$rotations_default" counts=1000 placements=point,rows plan | grep -v ' 1 0$'
    fi
} | xargs -P "$jobs" -L 1 bash -c 'mapfile -t all_kinds <<<"$all_kinds_text"; run "$@"' _
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
