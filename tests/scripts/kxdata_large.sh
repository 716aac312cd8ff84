#!/bin/bash
# A game grown with `write-sample --models N` holds about N models spread over the sample's
# classes and many pack files, loads to the same models from the data folder and from an AES
# archive, and survives a round trip.
# Arguments: build dir, source dir.
set -euo pipefail
BUILD=$1
KX="$(cd "$BUILD" && pwd)/kxdata"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cd "$WORK"

"$KX" write-sample folder --models 1500 > folder.write
"$KX" write-sample aes --archive aes --models 1500 > /dev/null
written=$(sed -n 's/^models //p' folder.write)
files=$(sed -n 's/^files //p' folder.write)
[ "$written" -ge 1500 ] && [ "$written" -lt 1600 ] || fail "about 1500 models: $written"
[ "$files" -gt 50 ] || fail "spread over many files: $files"

"$KX" load folder > folder.load 2> /dev/null || fail "folder load"
[ "$(sed -n 's/^models //p' folder.load)" -eq "$written" ] || fail "every written model loads"
grep -qx "progress 100" folder.load || fail "progress"
# The copies are of many classes, and the sample's media stay one each.
[ "$(grep -c '^KX' folder.load)" -ge 60 ] || fail "classes: $(grep -c '^KX' folder.load)"
grep -qx "KXModelAtlas 1" folder.load || fail "the atlas is shared"

"$KX" dump folder > folder.dump 2> /dev/null || fail "folder dump"
"$KX" dump aes > aes.dump 2> /dev/null || fail "archive dump"
cmp -s folder.dump aes.dump || fail "folder and archive load to different models"
"$KX" roundtrip folder > roundtrip.txt 2> /dev/null || fail "round trip: $(tail -3 roundtrip.txt)"

# Not a count: usage, nothing written.
for bad in 0 -5 12x ""; do
    if "$KX" write-sample bad --models "$bad" > /dev/null 2>&1; then
        fail "--models '$bad' accepted"
    fi
done
echo "ok"
