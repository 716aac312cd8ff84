#!/bin/bash
# bench/step_calibration.py, which the step budget's weights are set by, reads the band right: a
# step over 10 ms predicted under half its time, an acting step predicted over twice its time and a
# budget past 5 % of the steps each flag their level, and the edges of each do not; the fit finds
# the weights that made the time, leaves Box2D's own times ("us.*") out and gives no weight below
# 0. Args: build folder, source folder.
set -u
src="$2"
PY=$(command -v /usr/bin/python3 || command -v python3)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
check() {
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; status=1; fi
}

# step S MEASURED PREDICTED ACTS BUDGET [PARTS...]: one meter line.
step() {
    local s="$1" measured="$2" predicted="$3" acts="$4" budget="$5"
    shift 5
    echo "S=$s F=$((s + 200)) measured=$measured step=$measured rays=0 budget=$budget predicted=$predicted acts=$acts $*"
}
ms=1000000
{
    step 1 $((20 * ms)) $((9 * ms)) 0 0
    step 2 $((20 * ms)) $((10 * ms)) 0 0
} >"$work/under"
{
    # Exactly half, and a fast step predicted at nothing: within the band.
    step 1 $((20 * ms)) $((10 * ms)) 0 0
    step 2 $((5 * ms)) 0 0 0
    # Twice over, but the budget does not act on it.
    step 3 $((50 * ms)) $((150 * ms)) 0 0
    # Acting, at twice its time.
    step 4 $((150 * ms)) $((300 * ms)) 1 0
} >"$work/within"
step 1 $((100 * ms)) $((201 * ms)) 1 0 >"$work/over"
{
    step 1 $((10 * ms)) $((10 * ms)) 0 $((ms / 2))
    step 2 $((10 * ms)) $((10 * ms)) 0 $((ms / 2))
} >"$work/budget-at-5"
step 1 $((10 * ms)) $((10 * ms)) 0 $((6 * ms / 10)) >"$work/budget-past-5"

"$PY" "$src/bench/step_calibration.py" "$work/under" "$work/within" "$work/over" "$work/budget-at-5" \
    "$work/budget-past-5" >"$work/table" 2>&1
band() { awk -v l="$1" '$1 == l { print $NF }' "$work/table"; }
check "under half: flagged ($(band under))" [ "$(band under)" = under:1 ]
check "at half, unacting and fast steps: within ($(band within))" [ "$(band within)" = ok ]
check "acting past twice: flagged ($(band over))" [ "$(band over)" = over:1 ]
check "budget at 5 %: within ($(band budget-at-5))" [ "$(band budget-at-5)" = ok ]
check "budget past 5 %: flagged ($(band budget-past-5))" [ "$(band budget-past-5)" = budget:6.0% ]
check "totals count every flagged step ($(band total))" [ "$(band total)" = under:1,over:1 ]
check "the levels that break the band are named" \
    grep -qx 'levels 5, breaking the band 3: budget-past-5 over under' "$work/table"

# Steps made of known weights: 800 ns a contact, 20 a pair, nothing a walk, 3 us a step; us.step
# would explain the time alone.
"$PY" - "$work/made" <<'EOF'
import random
import sys
rng = random.Random(7)
with open(sys.argv[1], "w") as out:
    for s in range(1, 401):
        contacts, pairs, walks = rng.randint(0, 400000), rng.randint(0, 2000000), rng.randint(0, 1000000)
        measured = 800 * contacts + 20 * pairs + 3000
        out.write("S=%d F=%d measured=%d step=%d rays=0 budget=0 predicted=%d acts=%d p.contacts=%d p.pairs=%d "
                  "p.walks=%d us.step=%d\n" % (s, s, measured, measured, 3 * measured, int(3 * measured > 2e8),
                                               contacts, pairs, walks, measured // 1000))
EOF
"$PY" "$src/bench/step_calibration.py" "$work/made" --fit >"$work/fit" 2>&1
weight() { awk -v p="$1" '$1 == p { print $(NF - 2) }' "$work/fit"; }
near() { awk -v w="$1" -v want="$2" 'BEGIN { exit !(w != "" && w >= want * 0.999 - 1e-6 && w <= want * 1.001 + 1e-6) }'; }
check "fit: 800 ns a contact ($(weight p.contacts))" near "$(weight p.contacts)" 800
check "fit: 20 ns a pair ($(weight p.pairs))" near "$(weight p.pairs)" 20
check "fit: no weight on walks ($(weight p.walks))" near "$(weight p.walks)" 0
check "fit: Box2D's own times left out" sh -c "! grep -q '^us.step' '$work/fit'"
check "fit: the fitted prediction puts every step within the band" \
    grep -qx 'levels 1, breaking the band 0' <(sed -n '/^with the fitted weights/,$p' "$work/fit")

# Time that falls as a part grows: that part gets no weight rather than a negative one.
"$PY" - "$work/falling" <<'EOF'
import random
import sys
rng = random.Random(9)
with open(sys.argv[1], "w") as out:
    for s in range(1, 201):
        contacts, spare = rng.randint(0, 400000), rng.randint(0, 400000)
        measured = 800 * contacts + 5000000 - 10 * spare
        out.write("S=%d F=%d measured=%d step=%d rays=0 budget=0 predicted=0 acts=0 p.contacts=%d p.spare=%d\n" % (
            s, s, measured, measured, contacts, spare))
EOF
"$PY" "$src/bench/step_calibration.py" "$work/falling" --fit >"$work/fit" 2>&1
check "fit: no weight below 0 ($(weight p.spare))" [ "$(weight p.spare)" = 0 ]
exit $status
