#!/bin/bash
# The physics oracle: a valid level (tests/e2e/valid_level.py) played twice through kxsim, once as the
# player plays it and once with KX_PHYSICS_BOUNDS=off (the physics alone, no bound of the player's
# on its work), must trace the same, line for line: no bound may act on a level a user can make.
# Source it with `kxsim`, `kxdata` and `PY` (a python3 with msgpack) set; for the script test and
# bench/kxsim_oracle_sweep.sh.
#
#   oracle_games DIR                   writes every scenario game a recipe uses, and its dump, into DIR
#   oracle_level SEED GAMES OUT [MAX]  writes level SEED into OUT (at most MAX bodies a kind); sets
#                                      `level_about` (what it holds) and the array `level_run` (its options)
#   oracle_play LEVEL OUT OPTIONS...   plays LEVEL both ways side by side, each from a store of its own:
#                                      traces in OUT.on and OUT.off, standard error in OUT.on.log and
#                                      OUT.off.log, "exit wall-seconds peak-KiB" in OUT.on.run and OUT.off.run
#   oracle_compare ON OFF              true when the traces are the same; else prints the first line
#                                      that differs, "line N: on <line> / off <line>"
oracle_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Far beyond what a level's run takes: a run still going then holds its frames without end.
oracle_limit="${ORACLE_LIMIT:-600}"

oracle_games() {
    local dir="$1" scenario
    mkdir -p "$dir"
    for scenario in platformer portals-and-paths top-down shooter; do
        [ -f "$dir/$scenario.dump" ] && continue
        "$kxdata" write-demo --scenario "$scenario" "$dir/$scenario" >/dev/null 2>&1 &&
            "$kxdata" dump "$dir/$scenario" >"$dir/$scenario.dump" 2>/dev/null || return 1
    done
}

oracle_level() {
    local line more=()
    [ -n "${4:-}" ] && more=(--max-bodies "$4")
    # The recipes seeds take in turn (the first eight when none are named).
    [ -n "${oracle_recipes:-}" ] && more+=(--recipes "$oracle_recipes")
    line=$("$PY" "$oracle_dir/valid_level.py" "$1" "$2" "$3" "${more[@]}") || return 1
    level_about="${line%% | *}"
    read -ra level_run <<<"${line#* | }"
}

# _oracle_run LEVEL OUT BOUNDS OPTIONS...: one run, from a HOME of its own (no checkpoint or coins
# of an earlier run), timed when /usr/bin/time is there.
_oracle_run() {
    local level="$1" out="$2" bounds="$3" code timing=()
    shift 3
    rm -rf "$out.home"
    mkdir -p "$out.home/.local/share"
    [ -x /usr/bin/time ] && timing=(/usr/bin/time -f "%e %M" -o "$out.time")
    env -u XDG_DATA_HOME HOME="$out.home" KX_PHYSICS_BOUNDS="$bounds" \
        timeout "$oracle_limit" "${timing[@]}" "$kxsim" "$level" "$@" >"$out" 2>"$out.log"
    code=$?
    echo "$code $(tail -n 1 "$out.time" 2>/dev/null || echo "- -")" >"$out.run"
    rm -rf "$out.home" "$out.time"
}

oracle_play() {
    local level="$1" out="$2"
    shift 2
    _oracle_run "$level" "$out.on" on "$@" &
    _oracle_run "$level" "$out.off" off "$@"
    wait
}

_oracle_line() { sed -n "${2}{p;q}" "$1" | grep . || echo "(end)"; }

oracle_compare() {
    local on="$1" off="$2" said line
    said=$(cmp -- "$on" "$off" 2>&1) && return 0
    case "$said" in
    *" differ: "*) line=${said##*line } ;;
    *"EOF on "*) line=$((${said##*line } + 1)) ;;
    *) echo "$said"; return 1 ;;
    esac
    echo "line $line: on $(_oracle_line "$on" "$line") / off $(_oracle_line "$off" "$line")"
    return 1
}
