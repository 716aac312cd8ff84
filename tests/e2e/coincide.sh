#!/bin/bash
# Games whose own events fall in the same frames (tests/e2e/coincide_game.py), played through kxsim
# (a sanitizer build, for the script test and bench/kxsim_coincidences.sh): a valid game must play
# to its last frame without a crash, a sanitizer report, an abort or being stuck (no new frame for
# a long while); one that moves on but slowly is stopped at a limit and called slow, which is no
# failure. Source it with `kxsim`, `kxdata` and `PY` (a python3 with msgpack) set.
#
#   coincide_games DIR                  writes every scenario game and its dump into DIR (once)
#   coincide_level SEED GAMES OUT       writes game SEED into OUT, after a first run of the game as it
#                                       is through $kxsim unless COINCIDE_TRACED=0; sets `level_about`
#                                       (what it holds) and the array `level_run` (its options)
#   coincide_play LEVEL OUT OPTIONS...  plays it from a store of its own with the sanitizers set as
#                                       scripts/test sets them, watched by coincide_watch.py: stopped
#                                       as stuck after $coincide_stuck seconds without a new frame, as
#                                       slow at its first new frame past $coincide_limit seconds; trace
#                                       in OUT, standard error in OUT.log, what the watch saw in OUT.run
#   coincide_result OUT                 the run's class: ok, crash (a signal), sanitizer (a report on
#                                       standard error), abort, stuck, exit (any other status) or slow
#                                       (no failure); then the status
#   coincide_frames OUT FRAMES          the frames it played: FRAMES when it ran to its end, else the
#                                       last traced
#   coincide_seconds OUT                its wall seconds
#   coincide_note OUT                   how long: a stuck run's last frame and the time since, a slow
#                                       one's frames a second, "long frame F=N S s" for a frame that took
#                                       past $coincide_long_frame seconds (or frames without a trace line
#                                       in between, together)
#   coincide_events OUT                 the frames in which two or more different events fell
#   coincide_report OUT [LINES]         the first lines of what went wrong (the report's top frames)
#   coincide_stack OUT                  one line naming the failure: its kind and its top frames (for
#                                       a stuck or slow run, where it was stopped)
#   coincide_replay LEVEL OPTIONS...    the command that plays the run again
coincide_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# A run of 6,000 frames takes seconds, even sanitized. A level traces every frame (field); a menu
# or the pause screen traces few lines, but takes a fraction of a millisecond a frame: a run with
# no new frame for $coincide_stuck seconds is stuck. One that still moves on past $coincide_limit
# seconds is slow, and stops there. A frame past $coincide_long_frame seconds is named.
coincide_limit="${COINCIDE_LIMIT:-300}"
coincide_stuck="${COINCIDE_STUCK:-300}"
coincide_long_frame="${COINCIDE_LONG_FRAME:-30}"
coincide_sanitizers=(ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
    LSAN_OPTIONS="suppressions=$(cd "$coincide_dir/../.." && pwd)/tests/lsan.supp"
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 LP_NUM_THREADS=0 SDL_AUDIODRIVER=dummy)
coincide_report_re='runtime error|ERROR: AddressSanitizer|ERROR: LeakSanitizer'

coincide_games() {
    local dir="$1" scenario
    mkdir -p "$dir"
    for scenario in $("$kxdata" scenarios | cut -f1); do
        [ -f "$dir/$scenario.dump" ] && continue
        "$kxdata" write-demo --scenario "$scenario" "$dir/$scenario" >/dev/null 2>&1 &&
            "$kxdata" dump "$dir/$scenario" >"$dir/$scenario.dump.part" 2>/dev/null &&
            mv "$dir/$scenario.dump.part" "$dir/$scenario.dump" || return 1
    done
}

coincide_level() {
    local line traced=()
    [ "${COINCIDE_TRACED:-1}" = 0 ] || traced=(--kxsim "$kxsim")
    line=$(env "${coincide_sanitizers[@]}" "$PY" "$coincide_dir/coincide_game.py" "$1" "$2" "$3" "${traced[@]}") ||
        return 1
    level_about="${line%% | *}"
    read -ra level_run <<<"${line#* | }"
}

coincide_play() {
    local level="$1" out="$2"
    shift 2
    rm -rf "$out.home"
    mkdir -p "$out.home/.local/share"
    env -u XDG_DATA_HOME HOME="$out.home" "${coincide_sanitizers[@]}" "$PY" "$coincide_dir/coincide_watch.py" \
        "$out" "$coincide_limit" "$coincide_stuck" -- "$kxsim" "$level" "$@"
    rm -rf "$out.home"
}

coincide_result() {
    local code verdict
    read -r code _ verdict _ <"$1.run"
    if [ "$verdict" = stuck ]; then
        echo "stuck $code"
    elif [ "$verdict" = slow ]; then
        echo "slow $code"
    elif grep -Eq "$coincide_report_re" "$1.log"; then
        echo "sanitizer $code"
    elif [ "$code" = 134 ]; then
        echo "abort $code"
    elif [ "$code" -gt 128 ]; then
        echo "crash $code"
    elif [ "$code" != 0 ]; then
        echo "exit $code"
    else
        echo "ok 0"
    fi
}

coincide_frames() {
    local code verdict frame
    read -r code _ verdict frame _ <"$1.run"
    if [ "$code" = 0 ] && [ "$verdict" = done ]; then echo "$2"; else echo "$frame"; fi
}

coincide_seconds() {
    local seconds
    read -r _ seconds _ <"$1.run"
    echo "$seconds"
}

coincide_note() {
    local seconds verdict frame longest at
    read -r _ seconds verdict frame longest at <"$1.run"
    awk -v verdict="$verdict" -v s="$seconds" -v f="$frame" -v longest="$longest" -v at="$at" \
        -v bound="$coincide_long_frame" 'BEGIN {
            if (verdict == "stuck") printf "no new frame for %.0f s after F=%d", longest, f
            else {
                if (verdict == "slow") printf "%d frames in %.0f s, %.1f frames/s", f, s, f / s
                if (longest + 0 > bound + 0) printf "%slong frame F=%d %.1f s", verdict == "slow" ? "; " : "", at, longest
            }
        }'
}

# Each frame's events, by kind: a character out of play (a line of state 4, or of 5, where the
# frame before had none of that state), a powerup taken (a checkpoint's, or a next checkpoint's, is the checkpoint) and a timed
# effect's end (not the same frame's own), a teleport, a checkpoint restored, a restart, a game
# over, a pause or resume, an object removed, a screen opened, a spawn (a unit made while no
# section is being laid, and no portal sends), a path, gatekeeper or logic event, a unit hit or
# killed, a switch. What one event brings with it in its frame is that event: a rebuild its
# removals, the character it takes out, the effects it ends and the heads-up screen; a game over
# or a pause the screen it opens.
coincide_events() {
    awk '
    function event(kind) { seen[kind] = 1 }
    function flush(kinds, kind) {
        if (spawned && !sent) event("spawn")
        if (("checkpoint-restored" in seen) || ("restart" in seen)) {
            delete seen["removal"]; delete seen["screen"]; delete seen["character-out"]; delete seen["effect-end"]
        }
        if (("game-over" in seen) || ("pause" in seen)) delete seen["screen"]
        kinds = 0
        for (kind in seen) kinds++
        if (kinds >= 2) coincided++
        delete seen; delete taken; spawned = 0; sent = 0
    }
    {
        frame = substr($1, 3) + 0
        if (frame != current) { flush(); current = frame }
    }
    / character state=[45] / {
        state = substr($3, 7)
        if (out[state] != frame && out[state] != frame - 1) event("character-out")
        out[state] = frame
    }
    / powerup effect type=kPowerup(Next)?Checkpoint / { taken[$4] = 1; event("checkpoint"); next }
    / powerup effect / { taken[$4] = 1; event("pickup") }
    / powerup end / { if (!($4 in taken)) event("effect-end") }
    / teleport send / { sent = 1; event("teleport") }
    / game checkpoint / { event("checkpoint") }
    / game restore checkpoint=yes/ { event("checkpoint-restored") }
    / game restore checkpoint=no/ { event("restart") }
    / game over=/ { event("game-over") }
    / game (pause|resume) / { event("pause") }
    / objects remove / { event("removal") }
    / screen open / { event("screen") }
    / sections lay / { laying++; laid = frame }
    / objects built / { laying--; laid = frame }
    / kind asset:unit/ { if ((laying <= 0 || frame - laid > 30) && laid != frame) spawned = 1 }
    / path (carry|release|loop|turn) / { event("path") }
    / gatekeeper contact / { event("gatekeeper") }
    / logic change / { event("logic") }
    / health death / { event("unit-death") }
    / health hit / { event("hit") }
    / switch name=/ { event("switch") }
    END { flush(); print coincided + 0 }
    ' "$1"
}

coincide_report() {
    local lines="${2:-12}"
    if grep -Eq "$coincide_report_re" "$1.log"; then
        grep -E -m 1 -A "$lines" "$coincide_report_re" "$1.log" | grep -Ev '^\s*$' | head -n "$lines"
    else
        grep -Ev '^\[' "$1.log" | tail -n "$lines"
    fi
}

# The frames of the first report, by function (arguments and addresses left out), from the first
# of the player's own: the sanitizer's and the allocator's frames come first in some reports.
_coincide_frames() {
    sed -n 's/^ *#[0-9][0-9]* 0x[0-9a-f]* in //p' |
        sed 's/(anonymous namespace)/{anon}/g; s/ (\/.*$//; s/ \/.*$//; s/(.*$//' |
        grep -Ev '^(__asan|__ubsan|__sanitizer|__interceptor|__lsan|malloc|calloc|realloc|free|operator new)' |
        grep -Ev '^(operator delete|_start|__libc)' |
        head -n "$1" | paste -sd'<'
}

coincide_stack() {
    local class code what
    read -r class code <<<"$(coincide_result "$1")"
    case "$class" in
    sanitizer)
        what=$(grep -E -m 1 "$coincide_report_re" "$1.log" |
            sed -E 's/^.*runtime error: /ubsan: /; s/^.*ERROR: (Address|Leak)Sanitizer: /\1: /' |
            sed -E 's/0x[0-9a-f]+/ADDR/g; s/ on address.*//; s/ (at|pc|bp|sp) ADDR.*//')
        echo "$what @ $(grep -E -m 1 -A 60 "$coincide_report_re" "$1.log" | _coincide_frames 3)"
        ;;
    abort)
        echo "abort: $(grep -E -m 1 'Assertion|assert|terminate|what\(\)' "$1.log" | sed 's/^.*: //' | cut -c1-160)"
        ;;
    stuck | slow)
        # Where the run was when it was stopped: a recursion by the frames it repeats (sorted: the
        # same whichever of them it was stopped in), else its top.
        what=$(grep -m 1 -A 300 'ERROR: AddressSanitizer: SEGV' "$1.log" | _coincide_frames 300 | tr '<' '\n' |
            grep -E '^(KX|cocos2d|b2)' | awk '{ n[$0]++; if (!($0 in at)) { at[$0] = ++k; name[k] = $0 } }
                END {
                    for (i = 1; i <= k; i++) if (n[name[i]] >= 5) { print name[i]; shown++ }
                    if (!shown) for (i = 1; i <= k && i <= 3; i++) printf "%s%s", (i > 1 ? "<" : "at "), name[i]
                }' |
            sort | paste -sd',')
        case "$what" in
        "") echo "$class" ;;
        "at "*) echo "$class, $what" ;;
        *) echo "$class, recursion through $what" ;;
        esac
        ;;
    ok) echo "ok" ;;
    *) echo "$class $code: $(grep -Ev '^\[' "$1.log" | tail -n 1 | cut -c1-160)" ;;
    esac
}

coincide_replay() {
    local level="$1"
    shift
    printf 'env -u XDG_DATA_HOME HOME=$(mktemp -d)'
    printf ' %q' "${coincide_sanitizers[@]}" "$kxsim" "$level" "$@"
    echo
}
