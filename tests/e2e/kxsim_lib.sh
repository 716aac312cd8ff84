# Shared set-up of the headless script tests that run games through kxsim. Source it, then call
# `kxsim_setup "$1"` with the build folder. It sets `build` (absolute), `kxdata`, `kxsim`, `work` (a
# folder removed at exit), `status=0`, and a HOME of the run's own, so the store a run writes is
# never the user's. A missing tool skips the test (exit 77). The store's readers (store.sh) come
# with it.
source "$(dirname "${BASH_SOURCE[0]}")/store.sh"

kxsim_setup() {
    build=$(cd "$1" && pwd)
    kxdata="$build/kxdata"
    kxsim="$build/kxsim"
    local tool
    for tool in "$kxdata" "$kxsim"; do
        [ -x "$tool" ] || { echo "SKIP: no $tool"; exit 77; }
    done
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # The store is "$HOME/.local/share/kxplayer/<Application Name>/UserDefault.xml".
    export HOME="$work/home"
    unset XDG_DATA_HOME
    mkdir -p "$HOME/.local/share"
    status=0
}

# Writes the demo game: `write_demo [kxdata options] DIR`; a failure ends the test.
write_demo() {
    "$kxdata" write-demo "$@" >"$work/write.log" 2>&1 || { echo "write-demo failed"; cat "$work/write.log"; exit 1; }
}

# need_msgpack: sets PY to the system interpreter, which has python3-msgpack (else a skip).
need_msgpack() {
    PY=$(command -v /usr/bin/python3 || command -v python3)
    "$PY" -c 'import msgpack' 2>/dev/null || { echo "SKIP: no python3-msgpack"; exit 77; }
}

# Writes the portal works into "$work/works" and its dump (what tests/e2e/*.py read to change it)
# into "$work/dump"; sets PY to the system interpreter, which has python3-msgpack (else a skip).
write_works_with_dump() {
    need_msgpack
    write_demo --scenario portals-and-paths "$work/works"
    "$kxdata" dump "$work/works" >"$work/dump" 2>/dev/null || { echo "FAIL: dump"; exit 1; }
}

# `play_fresh NAME GAME OPTIONS...`: plays GAME with a fresh store, trace in $work/NAME.trace; false (with
# the log's end) when kxsim fails.
play_fresh() {
    local name="$1" game="$2"
    shift 2
    rm -rf "$HOME/.local/share"/*
    "$kxsim" "$game" "$@" >"$work/$name.trace" 2>"$work/$name.log" && return 0
    echo "$name: kxsim failed ($?)"
    grep -m 5 -E 'runtime error|ERROR: |SUMMARY' "$work/$name.log" || tail -n 5 "$work/$name.log"
    return 1
}

# `same_frame TRACE PATTERN_A PATTERN_B`: the first frame holding lines of both, or nothing.
same_frame() {
    awk -v a="$2" -v b="$3" '
        { frame = $1 }
        $0 ~ a { seenA[frame] = 1 }
        $0 ~ b { seenB[frame] = 1 }
        seenA[frame] && seenB[frame] { print substr(frame, 3); exit }' "$1"
}

# `check WHAT COMMAND...`: prints ok or FAIL for WHAT; a failure sets status=1.
check() {
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; status=1; fi
}
