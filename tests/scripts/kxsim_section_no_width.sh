#!/bin/bash
# A level section of width 0 that is no opening section (valid data): the portal works so changed
# are laid once, and play as the works do through their first recipe: the same objects made, the
# same trace. Laid again at every step it would add its 25 objects every few frames and slow
# the run down without end. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
# The system interpreter, which has python3-msgpack.
need_msgpack
write_demo --scenario portals-and-paths "$work/works"
cp -r "$work/works" "$work/flat"

"$kxdata" dump "$work/flat" >"$work/dump" 2>/dev/null || { echo "FAIL: dump"; exit 1; }
"$PY" "$2/tests/e2e/section_width.py" "$work/dump" "$work/flat/data/KXModelLevelSection.0.attributes.pack" \
    "Portal Works" 0 || { echo "FAIL: the section could not be changed"; exit 1; }

read_recipe "$(recipe_files "$2" portals-and-paths | head -1)"
for game in works flat; do
    "$kxsim" "$work/$game" "${recipe[@]}" --trace all >"$work/$game.trace" 2>"$work/$game.log" ||
        { echo "FAIL: kxsim on the $game game"; tail -20 "$work/$game.log"; exit 1; }
done
check "the works section is laid as no opening section of width 0" \
    grep -q ' sections lay id=[0-9]* name=Portal Works at=0 width=0 ' "$work/flat.trace"
lays=$(grep -c ' sections lay ' "$work/flat.trace")
check "it is laid once ($lays times)" [ "$lays" = 1 ]
made() { sed -n 's/.* objects built .* made=\([0-9]*\) .*/\1/p' "$1" | awk '{ n += $1 } END { print n + 0 }'; }
check "as many objects are made as in the works ($(made "$work/flat.trace") and $(made "$work/works.trace"))" \
    [ "$(made "$work/flat.trace")" = "$(made "$work/works.trace")" ]
# Only where the section was laid and how far the level reaches differ.
same() { grep -v ' sections lay \| game restore ' "$1"; }
check "the run plays as the works do" cmp -s <(same "$work/works.trace") <(same "$work/flat.trace")
exit $status
