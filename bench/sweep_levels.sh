#!/bin/bash
# The levels of bench/kxsim_sweep.sh, also played by bench/kxsim_step_calibration.sh. Source it with
# PY (a python3 with msgpack) set.
#
#   sweep_games DIR KXDATA          writes every scenario game a kind copies, and its dump, into DIR
#   sweep_plan                      one level a line, "kind count placement scale rotation", for the
#                                   lists in `kinds`, `counts`, `placements`, `scales` and `rotations`
#                                   (comma-separated; empty kinds: every kind)
#   sweep_make KIND COUNT PLACEMENT SCALE ROTATION DIR LEVEL
#                                   writes that level from the games in DIR into LEVEL (false when it
#                                   cannot be made) and sets the array `sweep_run`: how kxsim plays it
#                                   (without --frames)
sweep_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

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

sweep_games() {
    local dir="$1" kxdata="$2" scenario
    mkdir -p "$dir"
    for scenario in platformer portals-and-paths top-down shooter effects; do
        [ -f "$dir/$scenario.dump" ] && continue
        "$kxdata" write-demo --scenario "$scenario" "$dir/$scenario" >/dev/null 2>&1 &&
            "$kxdata" dump "$dir/$scenario" >"$dir/$scenario.dump" 2>/dev/null || { echo "could not write $scenario"; return 1; }
    done
}

_sweep_wanted() { [ -z "$2" ] || printf ',%s,' "$2" | grep -q ",$1,"; }

sweep_plan() {
    local entry kind count placement scale rotation object own
    for entry in "${all_kinds[@]}"; do
        IFS='|' read -r kind _ _ object own _ <<<"$entry"
        _sweep_wanted "$kind" "$kinds" || continue
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
        _sweep_wanted "$kind" "$kinds" || continue
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

sweep_make() {
    local kind="$1" count="$2" placement="$3" scale="$4" rotation="$5" dir="$6" level="$7"
    local entry name scenario section object spread more spacing
    for entry in "${all_kinds[@]}"; do
        IFS='|' read -r name scenario section object spread more <<<"$entry"
        [ "$name" = "$kind" ] && break
    done
    [ "$name" = "$kind" ] || return 1
    local options=(--copies "$count") extra=()
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
    rm -rf "$level"
    cp -r "$dir/$scenario" "$level" || return 1
    read -ra sweep_run <<<"$(play_options "$scenario")"
    "$PY" "$sweep_dir/tests/e2e/$maker" "$dir/$scenario.dump" "$level" "$section" "${options[@]}" >/dev/null 2>&1
}
