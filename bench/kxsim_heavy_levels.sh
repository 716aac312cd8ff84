#!/bin/bash
# The frame cost of valid heavy levels (tests/e2e/dense_levels.sh: 200 to 2,000 balls spread out
# and dropped onto the floor, 500 crabs, 2,000 crates, the magnet over rooms of 600 and 2,000
# coins) in two builds, side by side: each level is
# played through kxsim by one build then the other, RUNS times, its hero standing, shielded and
# jumping, so that the level plays all its frames with all its bodies. The frames before the level opens are run alone and taken
# off. Prints per level each build's median CPU milliseconds per level frame and the median of the
# ratios NEW/OLD taken pair by pair (so that a machine whose speed drifts still compares fairly).
#
#   bash bench/kxsim_heavy_levels.sh OLD_BUILD NEW_BUILD [RUNS] [FRAMES] [-- LEVEL...]
#
# Use Release builds and an idle machine. Needs python3-msgpack.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
old=$(cd "${1:?old build}" && pwd)
new=$(cd "${2:?new build}" && pwd)
shift 2
runs="${1:-7}"
frames="${2:-900}"
shift $(($# < 2 ? $# : 2))
[ "${1:-}" = "--" ] && shift
levels=("$@")
[ ${#levels[@]} -gt 0 ] || levels=(moths-200 moths-1000 moths-2000 crabs-500 balls-200 balls-1000 balls-2000 crates-2000
    magnet-coin-room magnet-coin-room-2000)
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
kxdata="$new/kxdata"
source "$src/tests/e2e/dense_levels.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"

# cpu BUILD LEVEL FRAMES OPTIONS...: user+sys seconds of one run.
cpu() {
    local build="$1" level="$2" n="$3" out user sys
    shift 3
    rm -rf "$HOME"
    mkdir -p "$XDG_DATA_HOME"
    out=$({ TIMEFORMAT='%U %S'; time "$build/kxsim" "$level" --frames "$n" "$@" >/dev/null 2>&1; } 2>&1)
    read -r user sys <<<"$out"
    awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $runs runs of $frames frames"
printf '%-12s %12s %12s %10s\n' level "old ms/frame" "new ms/frame" "new/old"
for name in "${levels[@]}"; do
    level="$work/$name"
    dense_level "$name" "$level" || { echo "$name: the level could not be made"; continue; }
    dense_run "$name"
    open=()
    for ((i = 0; i < ${#run[@]}; i++)); do
        [ "${run[$i]}" = --open ] && open=(--open "${run[$((i + 1))]}")
    done
    opened=$("$new/kxsim" "$level" "${open[@]}" --frames 400 --trace screens 2>/dev/null |
        sed -n 's/^F=\([0-9]*\) screen open key=.*/\1/p' | tail -n 1)
    [ -n "$opened" ] || { echo "$name: the level never opens"; continue; }
    keys=(--key "$((opened + 29)):down:S" --key "$((opened + 31)):up:S")
    # In a magnet room the hero walks on to take the magnet.
    case "$name" in magnet-*) keys+=(--key "$((opened + 55)):down:Right") ;; esac
    for ((f = opened + 80; f < frames - 20; f += 90)); do
        keys+=(--key "$f:down:J" --key "$((f + 20)):up:J")
    done
    n=$((frames - opened))
    rows=()
    for ((r = 0; r < runs; r++)); do
        row=""
        for build in "$old" "$new"; do
            short=$(cpu "$build" "$level" "$opened" "${open[@]}" "${keys[@]}")
            long=$(cpu "$build" "$level" "$frames" "${open[@]}" "${keys[@]}")
            row="$row $(awk -v s="$short" -v l="$long" -v n="$n" 'BEGIN { printf "%.4f", (l - s) * 1000 / n }')"
        done
        rows+=("$row")
    done
    printf '%s\n' "${rows[@]}" | awk -v name="$name" '
        function median(a, n,   i, j, t) {
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
        { o[NR] = $1; w[NR] = $2; q[NR] = $1 > 0 ? $2 / $1 : 0 }
        END { printf "%-12s %12.3f %12.3f %10.3f\n", name, median(o, NR), median(w, NR), median(q, NR) }'
done
echo "builds: old=$old new=$new"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
