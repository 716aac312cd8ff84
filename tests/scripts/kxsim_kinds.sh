#!/bin/bash
# Every kind of runtime object and component the player can make (kxsim --list-kinds) is made by
# some scenario game: each scenario `kxdata scenarios` lists is written and each of its recipes
# (tests/e2e/scenarios/, see tests/e2e/recipes.sh) is run with the kinds trace. A kind that no
# scenario makes fails the test by name, as does a scenario without a recipe; one scenario written
# as a data/data.pkg archive must make the same objects as its folder form. Prints the table of
# scenarios and the kinds they make. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
# Sounds still playing when a run stops are not freed at exit; leaks are other tests' business.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

# Kinds that no scenario is expected to make, each with its reason. Keep it short: a kind belongs
# here only when it cannot be made on this machine or is left unmade on purpose.
declare -A exempt=(
)

"$kxsim" --list-kinds >"$work/kinds" 2>"$work/kinds.err"
listed=$?
check "kxsim lists the kinds it can make" bash -c "[ $listed = 0 ] && [ -s '$work/kinds' ]"
check "each kind once" bash -c "[ -z \"\$(sort '$work/kinds' | uniq -d)\" ]"
for kind in "${!exempt[@]}"; do
    check "the exception $kind is a listed kind" grep -qx "$kind" "$work/kinds"
done

"$kxdata" scenarios >"$work/scenarios.txt" || { echo "FAIL: kxdata scenarios"; exit 1; }
mapfile -t scenarios < <(cut -f1 "$work/scenarios.txt")
check "kxdata lists scenarios" [ ${#scenarios[@]} -gt 0 ]

# One run of a recipe on a written game, in the background: run_recipe GAME RECIPE NAME leaves
# NAME.code (the exit code), NAME.log and NAME.made (the kinds made, in order, frames cut off).
run_recipe() {
    local recipe
    read_recipe "$2"
    # Each run its own store: side by side, runs of one game would share and rewrite it.
    mkdir -p "$work/home-$3"
    HOME="$work/home-$3" "$kxsim" "$1" "${recipe[@]}" --trace kinds >"$work/$3.trace" 2>"$work/$3.log"
    echo $? >"$work/$3.code"
    sed -n 's/^F=[0-9]* kind //p' "$work/$3.trace" >"$work/$3.made"
}

# Every game is written first; then the runs go side by side, as many as there are processors.
runs=()
first=""
for scenario in "${scenarios[@]}"; do
    mapfile -t recipes < <(recipe_files "$2" "$scenario")
    if [ ${#recipes[@]} = 0 ]; then
        echo "FAIL: the scenario $scenario has no recipe (tests/e2e/scenarios/$scenario.args or $scenario.<n>.args)"
        status=1
        continue
    fi
    "$kxdata" write-demo --scenario "$scenario" "$work/$scenario" >"$work/write.log" 2>&1 ||
        { echo "FAIL: write-demo --scenario $scenario"; tail -n 20 "$work/write.log"; status=1; continue; }
    for file in "${recipes[@]}"; do
        runs+=("$scenario|$work/$scenario|$file|$(basename "$file" .args)")
    done
    # The archive form of the first scenario, through its first recipe.
    if [ -z "$first" ]; then
        first="$scenario"
        first_recipe="${recipes[0]}"
        "$kxdata" write-demo --scenario "$first" --archive "$work/archive" >"$work/write.log" 2>&1 ||
            { echo "FAIL: write-demo --scenario $first --archive"; tail -n 20 "$work/write.log"; status=1; }
        check "the archive form holds data/data.pkg and no pack file" \
            bash -c "[ -f '$work/archive/data/data.pkg' ] && ! ls '$work/archive/data/'*.pack >/dev/null 2>&1"
        runs+=("|$work/archive|$first_recipe|archive")
    fi
done
for run in "${runs[@]}"; do
    IFS='|' read -r scenario game file name <<<"$run"
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n; done
    run_recipe "$game" "$file" "$name" &
done
wait

: >"$work/made"
for run in "${runs[@]}"; do
    IFS='|' read -r scenario game file name <<<"$run"
    code=$(cat "$work/$name.code" 2>/dev/null)
    check "$name runs to its end with 0" [ "$code" = 0 ]
    [ "$code" = 0 ] || tail -n 20 "$work/$name.log"
    [ -z "$scenario" ] || sed "s/^/$scenario /" "$work/$name.made" >>"$work/made"
done
sort -u "$work/made" -o "$work/made"
# Frames may differ (an archive loads in other steps), what is made and its order may not.
if [ -n "$first" ]; then
    check "$first as an archive makes the objects its folder form makes, in order" \
        cmp -s "$work/archive.made" "$work/$(basename "$first_recipe" .args).made"
fi

# The table: a kind per row, a column per scenario ("x": made there).
printf '%-28s' kind
for scenario in "${scenarios[@]}"; do printf ' %s' "$scenario"; done
echo
while read -r kind; do
    printf '%-28s' "$kind"
    for scenario in "${scenarios[@]}"; do
        mark=.
        grep -qx "$scenario $kind" "$work/made" && mark=x
        printf " %-${#scenario}s" "$mark"
    done
    [ -n "${exempt[$kind]:-}" ] && printf '  (exempt: %s)' "${exempt[$kind]}"
    echo
done <"$work/kinds"

missing=()
while read -r kind; do
    [ -n "${exempt[$kind]:-}" ] && continue
    grep -q " $kind\$" "$work/made" || missing+=("$kind")
done <"$work/kinds"
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: ${#missing[@]} kinds are made by no scenario: ${missing[*]}"
    echo "  (place each in a scenario game under tools/kxdata/ and reach it from one of its recipes)"
    status=1
else
    echo "ok: every kind is made by some scenario"
fi
exit $status
