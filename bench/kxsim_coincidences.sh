#!/bin/bash
# Plays valid games whose own events are made to fall in the same frames (tests/e2e/coincide_game.py,
# one a seed) under a build, a sanitizer build above all, and tells how each ended: a pickup as its
# character dies, a teleport onto an enemy, a checkpoint at a removal must never crash the player.
#
#   bash bench/kxsim_coincidences.sh BUILD_DIR [-j JOBS] [--games N] [--first SEED] [--keep DIR]
#
# N games (2,000 by default) from seed SEED (1) on, JOBS at a time (as many as there are
# processors). Per game: its seed, scenario game, frames played, frames in which events coincided,
# result (ok, crash, sanitizer, abort, stuck, exit, or slow), wall seconds and, for a failure, what
# failed and where, in braces how long (a stuck run's last frame, a slow one's frames a second, a
# long frame). A run is stuck when no new frame comes for COINCIDE_STUCK seconds (300), slow when
# it still moves on past COINCIDE_LIMIT seconds (300): it stops there, and is no failure but is
# listed, as is a frame past COINCIDE_LONG_FRAME seconds (30). Then per scenario game and overall:
# games, frames, coinciding frames and failures by class, each distinct failure (its kind and top
# frames) with how many games met it and the first seed, the slow runs and the long frames. Every
# failing or slow game is kept in DIR/seed-S (by default /tmp/coincide/kept) with its trace, its
# standard error and replay.sh, the command that plays it again.
set -u
export COINCIDE_LIMIT="${COINCIDE_LIMIT:-300}" COINCIDE_STUCK="${COINCIDE_STUCK:-300}"
export COINCIDE_LONG_FRAME="${COINCIDE_LONG_FRAME:-30}"
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [-j JOBS] [--games N] [--first SEED] [--keep DIR]}" && pwd)
shift
jobs=$(nproc) games=2000 first=1 keep=/tmp/coincide/kept
while [ $# -gt 0 ]; do
    case "$1" in
    -j) jobs="$2" ;;
    --games) games="$2" ;;
    --first) first="$2" ;;
    --keep) keep="$2" ;;
    *) echo "unknown option $1"; exit 1 ;;
    esac
    shift 2
done
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
kxsim="$build/kxsim" kxdata="$build/kxdata"
source "$src/tests/e2e/coincide.sh"
mkdir -p "$keep"
keep=$(cd "$keep" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
coincide_games "$work/games" || { echo "could not write the scenario games"; exit 1; }

# run SEED: makes the game, plays it, prints its line; keeps it when it failed.
run() {
    source "$src/tests/e2e/coincide.sh"
    local seed="$1" level="$work/game-$1" class code wall game frames events stack="" note
    if ! coincide_level "$seed" "$work/games" "$level.game" 2>"$level.err"; then
        printf '%6s %-18s %6s %6s %-10s %7s  %s\n' "$seed" - - - invalid - "$(head -c 150 "$level.err" | tr '\n' ' ')"
        rm -rf "$level".*
        return
    fi
    game=$(sed 's/.* game=\([^ ]*\) .*/\1/' <<<"$level_about")
    coincide_play "$level.game" "$level" "${level_run[@]}"
    read -r class code <<<"$(coincide_result "$level")"
    wall=$(coincide_seconds "$level")
    frames=$(coincide_frames "$level" "${level_run[1]}")
    events=$(coincide_events "$level")
    note=$(coincide_note "$level")
    if [ "$class" != ok ]; then
        stack=$(coincide_stack "$level")
        rm -rf "$keep/seed-$seed"
        mkdir -p "$keep/seed-$seed"
        mv "$level.game" "$keep/seed-$seed/game"
        mv "$level" "$keep/seed-$seed/trace"
        mv "$level.log" "$keep/seed-$seed/stderr"
        printf '%s\n' "$level_about" >"$keep/seed-$seed/about"
        {
            echo "#!/bin/bash"
            echo "# $level_about"
            echo "# $stack"
            coincide_replay "$keep/seed-$seed/game" "${level_run[@]}"
        } >"$keep/seed-$seed/replay.sh"
    fi
    [ -z "$note" ] || stack="${stack:+$stack }{$note}"
    printf '%6s %-18s %6s %6s %-10s %7s  %s\n' "$seed" "$game" "$frames" "$events" "$class" "$wall" "$stack"
    rm -rf "$level" "$level".*
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors;" \
    "$games games from seed $first; $jobs at a time"
echo "failing and slow games kept in $keep; stuck: no new frame for $COINCIDE_STUCK s, slow: past" \
    "$COINCIDE_LIMIT s, long frame: past $COINCIDE_LONG_FRAME s"
printf '%6s %-18s %6s %6s %-10s %7s  %s\n' seed game frames events result seconds "what failed"
export -f run
export work kxsim kxdata PY src keep
seq "$first" $((first + games - 1)) | xargs -P "$jobs" -I{} bash -c 'run {}' | tee "$work/table"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk '$5 != "result" && $5 != "" && $2 != "-" {
         g = $2; n[g]++; f[g] += $3; e[g] += $4; all++; frames += $3; events += $4
         if ($5 == "slow") { slow[g]++; slows++ }
         else if ($5 != "ok") { bad[g]++; failed++; byclass[$5]++; cls[g "/" $5]++ }
     }
     $5 == "invalid" { invalid++ }
     END {
         printf "\n%-18s %6s %10s %10s %8s %5s  %s\n", "game", "games", "frames", "coincided", "failures", "slow",
             "by class"
         for (g in n) {
             classes = ""
             for (k in cls) { split(k, p, "/"); if (p[1] == g) classes = classes " " p[2] "=" cls[k] }
             printf "%-18s %6d %10d %10d %8d %5d %s\n", g, n[g], f[g], e[g], bad[g], slow[g], classes
         }
         classes = ""
         for (c in byclass) classes = classes " " c "=" byclass[c]
         printf "%-18s %6d %10d %10d %8d %5d %s\n", "all", all, frames, events, failed, slows, classes
         if (invalid) printf "games that could not be made: %d\n", invalid
     }' "$work/table"
echo
echo "distinct failures (games, first seed, what failed):"
awk '$5 != "ok" && $5 != "slow" && $5 != "result" && $5 != "invalid" && NF > 6 {
         what = $0; sub(/^ *[^ ]+ +[^ ]+ +[^ ]+ +[^ ]+ +[^ ]+ +[^ ]+ +/, "", what); sub(/ *\{[^}]*\}$/, "", what)
         if (!(what in count)) { first[what] = $1; order[++kinds] = what }
         count[what]++
     }
     END {
         for (i = 1; i <= kinds; i++) printf "%6d  seed %-6s %s\n", count[order[i]], first[order[i]], order[i]
     }' "$work/table"
echo
echo "slow (no failure: stopped past $COINCIDE_LIMIT s, still moving on) and long frames (seed, game, frames, seconds, how long):"
awk '$5 == "slow" || /long frame/ { what = $0; sub(/^.*\{/, "", what); sub(/\}$/, "", what)
         printf "%6s %-18s %6s %7s  %s\n", $1, $2, $3, $6, what }' "$work/table"
