#!/bin/bash
# Damaged games end in exit code 2 with one "error: " line, never in a crash: truncated and
# flipped pack files, a missing key file, wrong passwords, damaged and truncated archives.
# Arbitrary damage may also load (exit 0), but nothing else is accepted.
# Arguments: build dir, source dir.
set -uo pipefail
BUILD=$1
KX="$(cd "$BUILD" && pwd)/kxdata"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
# The system interpreter, which has python3-msgpack.
PY=$(command -v /usr/bin/python3 || command -v python3)
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$WORK"

"$KX" write-sample good > /dev/null || { echo "FAIL: write-sample"; exit 1; }
"$KX" write-sample aes --archive aes > /dev/null || { echo "FAIL: write-sample aes"; exit 1; }
"$KX" write-sample plain --archive none > /dev/null || { echo "FAIL: write-sample none"; exit 1; }

# Runs `kxdata load` on a game; the exit code must be 2 and stderr must hold an error line.
expect_error() {
    local dir=$1 what=$2
    "$KX" load "$dir" > /dev/null 2> err.txt
    local rc=$?
    if [ $rc -ne 2 ]; then
        fail "$what: exit $rc"
    elif ! grep -q '^error: .' err.txt; then
        fail "$what: no error line"
    fi
}
# Exit 0 or 2, nothing else (a sanitizer report or a signal is a failure).
expect_no_crash() {
    local dir=$1 what=$2
    "$KX" load "$dir" > /dev/null 2> err.txt
    local rc=$?
    if [ $rc -ne 0 ] && [ $rc -ne 2 ]; then
        fail "$what: exit $rc"
        tail -5 err.txt
    fi
}
fresh() { rm -rf game && cp -r "$1" game; }
# Every file and entry gets the same damage, so a stride over them keeps each kind of damage
# covered while the whole run stays short under the sanitizers (KX_DAMAGE_STRIDE=1: all).
STRIDE=${KX_DAMAGE_STRIDE:-3}

# Offsets inside an object (never between two): a cut there always leaves an incomplete map.
inner_offsets() {
    "$PY" - "$1" << 'PY'
import msgpack, sys
data = open(sys.argv[1], "rb").read()
unpacker = msgpack.Unpacker(raw=True, strict_map_key=False)
unpacker.feed(data)
bounds = {0}
for _ in unpacker:
    bounds.add(unpacker.tell())
picks = []
for offset in (len(data) // 2, len(data) - 1):
    while offset in bounds and offset < len(data) - 1:
        offset += 1
    if 0 < offset < len(data) and offset not in bounds and offset not in picks:
        picks.append(offset)
print(" ".join(map(str, picks)))
PY
}

index=0
for file in good/data/*.pack; do
    name=$(basename "$file")
    [ "$name" = Keys.pack ] && continue
    index=$((index + 1))
    case "$name" in KXModelGeneralSettings.*) ;; *) [ $((index % STRIDE)) -eq 0 ] || continue ;; esac
    for offset in $(inner_offsets "$file"); do
        fresh good
        truncate -s "$offset" "game/data/$name"
        expect_error game "$name cut at $offset"
    done
    # The first object no longer starts with a map.
    fresh good
    "$PY" -c "import sys; p=sys.argv[1]; d=bytearray(open(p,'rb').read()); d[0]^=0xff; open(p,'wb').write(d)" "game/data/$name"
    expect_error game "$name first byte flipped"
done

fresh good
rm game/data/Keys.pack
expect_error game "missing Keys.pack"
grep -qx 'error: Failed to load keys' err.txt || fail "missing Keys.pack: wrong message: $(cat err.txt | grep error:)"

fresh good
rm game/data/KXModelGeneralSettings.0.attributes.pack
expect_error game "missing general settings"

# Wrong passwords, each cipher.
mkdir -p wrongzip/data wrongaes/data wrongaes128/data
(cd good/data && zip -q -P "not-the-password" ../../wrongzip/data/data.pkg ./*.pack)
(cd good/data && 7z a -tzip -p"not-the-password" -mem=AES256 ../../wrongaes/data/data.pkg ./*.pack > /dev/null)
(cd good/data && 7z a -tzip -p"not-the-password" -mem=AES128 ../../wrongaes128/data/data.pkg ./*.pack > /dev/null)
expect_error wrongzip "wrong password, traditional cipher"
expect_error wrongaes "wrong password, AES-256"
expect_error wrongaes128 "wrong password, AES-128"

# Archives cut short, and not archives at all.
for source in aes plain; do
    size=$(stat -c %s "$source/data/data.pkg")
    for offset in 10 $((size / 2)) $((size - 5)); do
        fresh "$source"
        truncate -s "$offset" game/data/data.pkg
        expect_error game "$source archive cut at $offset"
    done
done
fresh plain
echo "not an archive" > game/data/data.pkg
expect_error game "text as archive"

# A byte flipped inside the stored data of each entry: checksums or authentication catch it.
# Prints "offset kind": kind "ae2" for WinZip AES entries of vendor version 2 (no CRC, only the
# authentication code), else "crc".
entry_data_offsets() {
    "$PY" - "$1" << 'PY'
import struct, sys, zipfile
path = sys.argv[1]
raw = open(path, "rb").read()
for info in zipfile.ZipFile(path).infolist():
    h = info.header_offset
    name_len, extra_len = struct.unpack("<HH", raw[h + 26:h + 30])
    extra = raw[h + 30 + name_len:h + 30 + name_len + extra_len]
    kind = "crc"
    i = 0
    while i + 4 <= len(extra):
        tag, size = struct.unpack("<HH", extra[i:i + 4])
        if tag == 0x9901 and size >= 2 and struct.unpack("<H", extra[i + 4:i + 6])[0] == 2:
            kind = "ae2"
        i += 4 + size
    start = h + 30 + name_len + extra_len
    print(start + info.compress_size // 2, kind)
PY
}
for source in aes plain; do
    entry_data_offsets "$source/data/data.pkg" | awk -v s="$STRIDE" 'NR % s == 1' > offsets.txt
    while read -r offset kind; do
        fresh "$source"
        "$PY" -c "import sys; p=sys.argv[1]; o=int(sys.argv[2]); d=bytearray(open(p,'rb').read()); d[o]^=0x5a; open(p,'wb').write(d)" game/data/data.pkg "$offset"
        expect_error game "$source archive byte $offset flipped ($kind)"
    done < offsets.txt
done

# Random damage anywhere: loads or fails cleanly.
for seed in $(seq 1 15); do
    fresh good
    "$PY" - game/data "$seed" << 'PY'
import os, random, sys
folder, seed = sys.argv[1], int(sys.argv[2])
rng = random.Random(seed)
names = sorted(n for n in os.listdir(folder) if os.path.isfile(os.path.join(folder, n)))
for _ in range(3):
    path = os.path.join(folder, rng.choice(names))
    data = bytearray(open(path, "rb").read())
    if data:
        data[rng.randrange(len(data))] = rng.randrange(256)
        open(path, "wb").write(data)
PY
    expect_no_crash game "random damage, seed $seed"
done

if [ $failures -ne 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "ok"
