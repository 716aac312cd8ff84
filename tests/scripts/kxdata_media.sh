#!/bin/bash
# kxdata writes the sample game's media beside its models, in folder and archive form, and
# `kxdata load` tells per media model whether its files are there.
# Args: build folder, source folder.
set -u
build="$1"
tool="$build/kxdata"
[ -x "$tool" ] || { echo "missing $tool"; exit 1; }
work=$(mktemp -d /tmp/kxmedia.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAILED: $*"; status=1; }

for mode in none zipcrypto; do
    game="$work/$mode"
    "$tool" write-sample "$game" --archive "$mode" > "$work/write.txt" || fail "write-sample --archive $mode"
    grep -q '^media files [1-9]' "$work/write.txt" || fail "no media written ($mode)"
    for file in images effects atlases fonts sounds; do
        ls "$game/data/$file/"* > /dev/null 2>&1 || fail "nothing in data/$file ($mode)"
    done
    "$tool" load "$game" > "$work/load.txt" 2> /dev/null || fail "load ($mode)"
    grep -Eq '^media present [1-9][0-9]* missing 0$' "$work/load.txt" || fail "media not all present ($mode)"
    for class in KXModelSprite KXModelSound KXModelFont KXModelAtlas; do
        grep -q "^media $class [0-9-]* present" "$work/load.txt" || fail "no $class reported ($mode)"
    done
done

# Sounds are real MP3s of the intended length (this sox reads no MP3: lame decodes them).
game="$work/none"
for mp3 in "$game"/data/sounds/*.mp3; do
    lame --quiet --decode "$mp3" "$work/decoded.wav" || fail "$mp3 does not decode"
    seconds=$(sox --i -D "$work/decoded.wav" 2> /dev/null)
    awk -v s="${seconds:-0}" 'BEGIN { exit !(s > 0.2 && s < 3) }' || fail "$mp3 lasts ${seconds:-?} s"
done

# Taking files away is reported per model. A still sprite keeps working on its effect image
# alone; an animated frame without its image does not.
sound=$(ls "$game"/data/sounds/*.mp3 | head -1)
rm "$sound"
frame=$(grep -h '^media KXModelSprite [0-9-]* present [^ ]*$' "$work/load.txt" | head -1 | awk '{print $5}')
rm "$game/$frame"
font=$(ls "$game"/data/fonts/*.png | head -1)
rm "$font"
"$tool" load "$game" > "$work/load2.txt" 2> /dev/null || fail "load after removals"
grep -q "^media present [0-9]* missing 3$" "$work/load2.txt" || fail "three models should miss files: $(tail -1 "$work/load2.txt")"
grep -q "^media KXModelSound [0-9-]* missing $(basename "$(dirname "$(dirname "$sound")")")/sounds/$(basename "$sound")" "$work/load2.txt" ||
    fail "missing sound not named"
grep -q "^media KXModelSprite [0-9-]* missing $frame" "$work/load2.txt" || fail "missing frame not named"
exit $status
