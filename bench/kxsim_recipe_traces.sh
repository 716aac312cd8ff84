#!/bin/bash
# Plays every scenario run recipe (tests/e2e/scenarios/*.args) with two builds, each run from a store
# of its own and traced whole (--trace all), and tells per recipe whether the two traces are the
# same once the lines of the kinds given are set aside (the step budget's own, say): a change that
# should leave play alone shows here the first line where it does not.
#
#   bash bench/kxsim_recipe_traces.sh OLD_BUILD NEW_BUILD [KIND,KIND...]   (default: budget)
#
# Prints one line per recipe, "same" or the first line that differs in each build, then how many
# are the same. Needs the builds' kxdata (the first's writes the games).
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
old=$(cd "${1:?usage: $0 OLD_BUILD NEW_BUILD [KINDS]}" && pwd)
new=$(cd "${2:?usage: $0 OLD_BUILD NEW_BUILD [KINDS]}" && pwd)
kinds="${3:-budget}"
source "$src/tests/e2e/recipes.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The kinds set aside: a line is "F=<frame> <kind> ...".
aside=$(echo "$kinds" | tr ',' '|')

play() { # BUILD GAME OUT ARGS...
    local build="$1" game="$2" out="$3"
    shift 3
    rm -rf "$work/home"
    mkdir -p "$work/home/.local/share"
    env -u XDG_DATA_HOME HOME="$work/home" timeout 600 "$build/kxsim" "$game" --trace all "$@" 2>/dev/null |
        grep -Ev "^F=[0-9]+ ($aside) " >"$out"
}

same=0
total=0
for scenario in $("$old/kxdata" scenarios 2>/dev/null | awk '{ print $1 }'); do
    game="$work/$scenario"
    "$old/kxdata" write-demo --scenario "$scenario" "$game" >/dev/null 2>&1 || { echo "$scenario: not written"; continue; }
    for file in $(recipe_files "$src" "$scenario"); do
        read_recipe "$file"
        name=$(basename "$file" .args)
        play "$old" "$game" "$work/old" "${recipe[@]}"
        play "$new" "$game" "$work/new" "${recipe[@]}"
        total=$((total + 1))
        if cmp -s "$work/old" "$work/new"; then
            same=$((same + 1))
            printf '%-24s same (%s lines)\n' "$name" "$(wc -l <"$work/old")"
        else
            line=$(cmp "$work/old" "$work/new" 2>&1 | sed -n 's/.* line \([0-9]*\).*/\1/p')
            line=${line:-$(($(wc -l <"$work/old") + 1))}
            printf '%-24s differs at line %s\n  old: %s\n  new: %s\n' "$name" "$line" \
                "$(sed -n "${line}p" "$work/old" | cut -c1-160)" "$(sed -n "${line}p" "$work/new" | cut -c1-160)"
        fi
    done
done
echo "$same of $total recipes trace the same (kinds set aside: $kinds)"
