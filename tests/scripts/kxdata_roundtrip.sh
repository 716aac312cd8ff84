#!/bin/bash
# Whole-game round trips: a sample that uses every registered class loads with all of them, and
# packing every loaded model again, reloading and comparing, then saving every model to its
# dictionary forms and loading those into fresh models, changes nothing. Also the plain sample,
# from an encrypted archive. Args: build folder, source folder.
set -u
build="$1"
kxdata="$build/kxdata"
[ -x "$kxdata" ] || { echo "missing $kxdata"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# A failing command's output, then the status.
check() {
    local label="$1"; shift
    if ! "$@" > "$work/out.log" 2> "$work/err.log"; then
        echo "$label failed:"; cat "$work/out.log"; tail -5 "$work/err.log"; status=1; return 1
    fi
}

all="$work/all"
check "write-sample --all-classes" "$kxdata" write-sample "$all" --all-classes
if check "roundtrip (all classes)" "$kxdata" roundtrip "$all"; then
    grep -q "^class not in the game" "$work/out.log" && { echo "classes left out:"; grep "^class not" "$work/out.log"; status=1; }
    registered=$(sed -n 's/^classes \([0-9]*\) of \([0-9]*\) registered$/\2/p' "$work/out.log")
    covered=$(sed -n 's/^classes \([0-9]*\) of \([0-9]*\) registered$/\1/p' "$work/out.log")
    [ -n "$registered" ] && [ "$registered" -gt 60 ] && [ "$covered" = "$registered" ] \
        || { echo "registered classes: '$covered' of '$registered'"; status=1; }
    for line in "pack round trip:" "dictionary round trip:"; do
        grep -q "^$line .* models equal$" "$work/out.log" || { echo "no '$line' line"; status=1; }
    done
    # `load` lists every registered class the round trip counted.
    if check "load (all classes)" "$kxdata" load "$all"; then
        listed=$(grep -cE '^KX[A-Za-z]+ [0-9]+$' "$work/out.log")
        [ "$listed" = "$registered" ] || { echo "load lists $listed classes, $registered registered"; status=1; }
    fi
fi

plain="$work/plain"
check "write-sample --archive zipcrypto" "$kxdata" write-sample "$plain" --archive zipcrypto
check "roundtrip (archive)" "$kxdata" roundtrip "$plain"

# A folder without a game is a failed load (2), not a difference (1) and not a success.
"$kxdata" roundtrip "$work/nothing" > /dev/null 2>&1
code=$?
[ "$code" = 2 ] || { echo "roundtrip of an empty folder exited $code"; status=1; }
exit $status
