#!/bin/bash
# Damaged games end in exit code 2 with one "error: " line, never in a crash, for `load` and for
# `dump` alike: truncated and flipped pack files, huge length headers, deep nesting, wrong value
# types, missing, empty and random key files, swapped and duplicated files, wrong passwords,
# damaged and truncated archives, pipes, devices, folders and empty files in the archive's place,
# offsets and sizes holding the Zip64 mark without a Zip64 value, renamed entries, inflation bombs
# (which must also stay within a bounded memory). Arbitrary damage may also load (exit 0), but nothing else is accepted.
# The cases are made first, then checked in parallel (KX_DAMAGE_JOBS, default the processor count).
# Arguments: build dir, source dir.
set -uo pipefail
BUILD=$1
KX="$(cd "$BUILD" && pwd)/kxdata"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# The system interpreter, which has python3-msgpack.
PY=$(command -v /usr/bin/python3 || command -v python3)
JOBS=${KX_DAMAGE_JOBS:-$(nproc)}
# Every file and entry gets the same damage, so a stride over them keeps each kind of damage
# covered while the whole run stays short under the sanitizers (KX_DAMAGE_STRIDE=1: all).
STRIDE=${KX_DAMAGE_STRIDE:-3}
# The largest memory a bomb may make kxdata use (sanitizer builds included), in KiB.
BOMB_MEMORY_KB=${KX_DAMAGE_BOMB_MEMORY_KB:-400000}
cd "$WORK"

"$KX" write-sample good > /dev/null || { echo "FAIL: write-sample"; exit 1; }
"$KX" write-sample aes --archive aes > /dev/null || { echo "FAIL: write-sample aes"; exit 1; }
"$KX" write-sample plain --archive none > /dev/null || { echo "FAIL: write-sample none"; exit 1; }
PASSWORD=$("$KX" password)

# A case is a folder under cases/ holding "game" and "expect": "error" (exit 2 with an error
# line), "message TEXT" (exactly that error line), "bomb" (an error within BOMB_MEMORY_KB) or
# "any" (exit 0 or 2), and "what", its name. Cases that only corrupt data which the load reads
# whole hold "load-only": `dump` runs the same load, so it is run where it can differ.
mkdir cases
count=0
new_case() { # expect what source [load-only]; leaves the game in $GAME
    count=$((count + 1))
    local dir="$WORK/cases/$count"
    mkdir "$dir"
    cp -r "$3" "$dir/game"
    printf '%s\n' "$1" > "$dir/expect"
    printf '%s\n' "$2" > "$dir/what"
    [ -n "${4:-}" ] && touch "$dir/load-only"
    GAME="$dir/game"
}

# Pack files damaged inside the game folder: cuts inside an object (never between two, so that
# the map left is always incomplete), a first byte that is no map, huge length headers, deep
# nesting, wrong value types, swapped and duplicated files. One interpreter makes all of them.
"$PY" - "$WORK" "$STRIDE" << 'PY'
import msgpack, os, shutil, sys
work, stride = sys.argv[1], int(sys.argv[2])
good = os.path.join(work, "good", "data")
cases = os.path.join(work, "cases")
count = len(os.listdir(cases))

def case(expect, what, change, load_only=False):
    global count
    count += 1
    folder = os.path.join(cases, str(count))
    os.mkdir(folder)
    shutil.copytree(os.path.join(work, "good"), os.path.join(folder, "game"))
    open(os.path.join(folder, "expect"), "w").write(expect + "\n")
    open(os.path.join(folder, "what"), "w").write(what + "\n")
    if load_only:
        open(os.path.join(folder, "load-only"), "w").close()
    change(os.path.join(folder, "game", "data"))

def write(folder, name, data):
    open(os.path.join(folder, name), "wb").write(data)

def read(name):
    return open(os.path.join(good, name), "rb").read()

def inner_offsets(data):
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
    return picks

names = sorted(n for n in os.listdir(good) if n.endswith(".pack") and n != "Keys.pack")
for index, name in enumerate(names, 1):
    if not name.startswith("KXModelGeneralSettings.") and index % stride != 0:
        continue
    data = read(name)
    for offset in inner_offsets(data):
        case("error", "%s cut at %d" % (name, offset), lambda f, d=data[:offset], n=name: write(f, n, d), True)
    flipped = bytes([data[0] ^ 0xff]) + data[1:]
    case("error", name + " first byte flipped", lambda f, d=flipped, n=name: write(f, n, d), True)

# Length headers that claim far more than the file holds, and nesting far deeper than stored
# maps go, in front of a file's models.
fonts = "KXModelFont.0.attributes.pack"
for label, head in (("map", b"\xdf\xff\xff\xff\xff"), ("array", b"\xdd\xff\xff\xff\xff"),
                    ("string", b"\xdb\xff\xff\xff\xff"), ("binary", b"\xc6\xff\xff\xff\xff"),
                    ("extension", b"\xc9\xff\xff\xff\xfe\x01"), ("map in a model", b"\x81\x2a\xdf\xff\xff\xff\xff"),
                    ("deep nesting", b"\x91" * 100000 + b"\x01"),
                    ("deep nesting in a model", b"\x81\x2a" + b"\x91" * 1000 + b"\x01")):
    case("error", "huge or deep: " + label, lambda f, h=head: write(f, fonts, h + read(fonts)))

# Wrong value types: the id, the class name, an attribute's map, an attribute's value. The key ids
# of "id" (42) and "Class Name" (33) are the ones every game's writer pins.
models = list(msgpack.Unpacker(__import__("io").BytesIO(read(fonts)), raw=False, strict_map_key=False))
def retyped(change):
    first = dict(models[0])
    change(first)
    return msgpack.packb(first, use_bin_type=True) + b"".join(msgpack.packb(m, use_bin_type=True) for m in models[1:])
def attribute_key(model):
    return next(k for k, v in model.items() if isinstance(v, dict) and v)
def value_as_text(model):
    entry = dict(model[attribute_key(model)])
    entry[next(iter(entry))] = ["not", "a value"]
    model[attribute_key(model)] = entry
for label, change in (("id as text", lambda m: m.__setitem__(42, "seven")),
                      ("class name as number", lambda m: m.__setitem__(33, 12)),
                      ("attribute as number", lambda m: m.__setitem__(attribute_key(m), 7)),
                      ("value as list", value_as_text)):
    case("error", "wrong type: " + label, lambda f, d=retyped(change): write(f, fonts, d))

# Swapped and duplicated files load what they hold, or fail cleanly.
screens = "KXModelScreen.0.attributes.pack"
case("any", "swapped class files", lambda f: (write(f, fonts, read(screens)), write(f, screens, read(fonts))))
connections = next(n for n in names if n.endswith(".connections.pack"))
attributes = connections.replace(".connections.", ".attributes.")
case("any", "attributes and connections swapped",
     lambda f: (write(f, connections, read(attributes)), write(f, attributes, read(connections))))
last = max(int(n.split(".")[1]) for n in names if n.startswith("KXModelObject.") and n.endswith(".attributes.pack"))
case("any", "duplicated file", lambda f: write(f, "KXModelObject.%d.attributes.pack" % (last + 1),
                                               read("KXModelObject.0.attributes.pack")))
case("any", "general settings doubled", lambda f: write(f, "KXModelGeneralSettings.0.attributes.pack",
                                                        read("KXModelGeneralSettings.0.attributes.pack") * 2))
PY
count=$(ls cases | wc -l)

new_case "message Failed to load keys: data/Keys.pack: the file is missing" "missing Keys.pack" good
rm "$GAME/data/Keys.pack"
new_case "message Failed to load keys: data/Keys.pack: the file is empty" "empty Keys.pack" good
: > "$GAME/data/Keys.pack"
new_case error "random Keys.pack" good
head -c 4000 /dev/urandom > "$GAME/data/Keys.pack"
new_case error "missing general settings" good
rm "$GAME/data/KXModelGeneralSettings.0.attributes.pack"
# A key file of one long line, larger than a key file may be.
new_case "message Failed to load keys: data/Keys.pack: the key file is too large" "oversized Keys.pack" good
head -c 2000000 /dev/zero | tr '\0' 'k' > "$GAME/data/Keys.pack"

# Archives of the good game's files with one file changed.
archive_of() { # case game, cipher (aes, zip or none)
    local data=$1/data
    (cd "$data" && case $2 in
        aes) 7z a -tzip -p"$PASSWORD" -mem=AES256 data.pkg ./*.pack > /dev/null ;;
        zip) zip -q -P "$PASSWORD" data.pkg ./*.pack ;;
        none) zip -q data.pkg ./*.pack ;;
    esac && rm -f ./*.pack)
}
new_case error "random Keys.pack in an AES archive" good
head -c 4000 /dev/urandom > "$GAME/data/Keys.pack"
archive_of "$GAME" aes
new_case "message Failed to load keys: Keys.pack: the file is empty" "empty Keys.pack in an archive" good
: > "$GAME/data/Keys.pack"
archive_of "$GAME" zip

# A general-settings file that does not read ends the load with a line that names it (in an archive,
# the entry) and what its decoder or the archive said; one that reads but holds no settings, with
# what it held.
settings=KXModelGeneralSettings.0.attributes.pack
new_case "message Unable to load data: data/$settings: insufficient bytes" "general settings cut short" good load-only
truncate -s $(($(stat -c %s "good/data/$settings") / 2)) "$GAME/data/$settings"
new_case "message Unable to load data: data/$settings: the object at byte 0 is not a map keyed by key ids" \
    "general settings with its first bit flipped" good load-only
"$PY" -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[0] ^= 0x80; open(sys.argv[1], "wb").write(d)' \
    "$GAME/data/$settings"
new_case "message Unable to load data: no general settings (data/$settings: its records are of class KXModelFont, not KXModelGeneralSettings)" \
    "general settings replaced by the fonts" good
cp "good/data/KXModelFont.0.attributes.pack" "$GAME/data/$settings"
new_case "message Unable to load data: $settings: insufficient bytes" "general settings cut short in an archive" good load-only
truncate -s $(($(stat -c %s "good/data/$settings") / 2)) "$GAME/data/$settings"
archive_of "$GAME" zip
for source in plain aes; do
    new_case "message Unable to load data: Unable to read the file: Bad archive (data/data.pkg: the entry \"$settings\")" \
        "$source: general settings entry damaged" "$source" load-only
    "$PY" - "$GAME/data/data.pkg" "$settings" << 'PY'
import struct, sys, zipfile
path, name = sys.argv[1], sys.argv[2]
data = bytearray(open(path, "rb").read())
info = zipfile.ZipFile(path).getinfo(name)
name_len, extra_len = struct.unpack("<HH", data[info.header_offset + 26:info.header_offset + 30])
data[info.header_offset + 30 + name_len + extra_len + info.compress_size // 2] ^= 0x5a
open(path, "wb").write(bytes(data))
PY
done

# Wrong passwords, each cipher.
for cipher in zip aes aes128; do
    new_case error "wrong password, $cipher" good
    (cd "$GAME/data" && case $cipher in
        zip) zip -q -P "not-the-password" data.pkg ./*.pack ;;
        aes) 7z a -tzip -p"not-the-password" -mem=AES256 data.pkg ./*.pack > /dev/null ;;
        aes128) 7z a -tzip -p"not-the-password" -mem=AES128 data.pkg ./*.pack > /dev/null ;;
    esac && rm ./*.pack)
done

# Archives cut short, and not archives at all.
for source in aes plain; do
    size=$(stat -c %s "$source/data/data.pkg")
    for offset in 10 $((size / 2)) $((size - 5)); do
        new_case error "$source archive cut at $offset" "$source" load-only
        truncate -s "$offset" "$GAME/data/data.pkg"
    done
done
new_case error "text as archive" plain
echo "not an archive" > "$GAME/data/data.pkg"

# Whatever stands in the archive's place ends the load with what it is, never read and never
# waited on.
refusal="message No data archive: Unable to open the archive: data/data.pkg"
new_case "$refusal is not a regular file but a pipe" "a pipe as archive" plain
rm "$GAME/data/data.pkg" && mkfifo "$GAME/data/data.pkg"
new_case "$refusal is not a regular file but a device" "a device as archive" plain
ln -sf /dev/zero "$GAME/data/data.pkg"
new_case "$refusal is not a regular file but a folder" "a folder as archive" plain
rm "$GAME/data/data.pkg" && mkdir "$GAME/data/data.pkg"
new_case "$refusal is empty" "an empty archive" plain
: > "$GAME/data/data.pkg"

# The Zip64 mark (0xFFFFFFFF) in an entry's offset or size without its Zip64 value: the line names
# the entry and the value.
for field in "42 local header offset" "24 size" "20 packed size"; do
    new_case "$refusal: the entry \"Keys.pack\" gives its ${field#* } as 4294967295, the Zip64 mark, without a Zip64 value" \
        "Zip64 mark in the ${field#* } of Keys.pack" plain
    "$PY" - "$GAME/data/data.pkg" "${field%% *}" << 'PY'
import struct, sys
path, field = sys.argv[1], int(sys.argv[2])
data = bytearray(open(path, "rb").read())
at = data.index(b"PK\x01\x02")
while data[at + 46:at + 46 + struct.unpack("<H", data[at + 28:at + 30])[0]] != b"Keys.pack":
    at += 46 + sum(struct.unpack("<HHH", data[at + 28:at + 34]))
struct.pack_into("<I", data, at + field, 0xFFFFFFFF)
open(path, "wb").write(bytes(data))
PY
done

# An entry declaring 4 GB (no Zip64 mark): refused before anything is allocated, naming the entry
# and the size.
new_case "message Unable to load data: Unable to read the file: Bad archive (data/data.pkg: the entry \"Keys.pack\" declares 4294967280 bytes, above the 16777216 an entry may hold)" \
    "4 GB declared for Keys.pack" plain
"$PY" - "$GAME/data/data.pkg" << 'PY'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
at = data.index(b"PK\x01\x02")
while data[at + 46:at + 46 + struct.unpack("<H", data[at + 28:at + 30])[0]] != b"Keys.pack":
    at += 46 + sum(struct.unpack("<HHH", data[at + 28:at + 34]))
struct.pack_into("<I", data, at + 24, 0xFFFFFFF0)
open(path, "wb").write(bytes(data))
PY

# Archive damage at chosen places: inside each entry's data (checksums or the authentication code
# catch it), in its name in the central directory or the local header (the consistency check
# refuses the archive), in the central directory's sizes and CRCs, and an entry whose name is
# there twice.
"$PY" - "$WORK" "$STRIDE" << 'PY'
import os, shutil, struct, sys, zipfile
work, stride = sys.argv[1], int(sys.argv[2])
cases = os.path.join(work, "cases")
count = len(os.listdir(cases))

def case(expect, what, source, change, load_only=False):
    global count
    count += 1
    folder = os.path.join(cases, str(count))
    os.mkdir(folder)
    shutil.copytree(os.path.join(work, source), os.path.join(folder, "game"))
    open(os.path.join(folder, "expect"), "w").write(expect + "\n")
    open(os.path.join(folder, "what"), "w").write(what + "\n")
    if load_only:
        open(os.path.join(folder, "load-only"), "w").close()
    path = os.path.join(folder, "game", "data", "data.pkg")
    data = bytearray(open(path, "rb").read())
    change(data)
    open(path, "wb").write(bytes(data))

def flip(offset, mask=0x5a):
    def change(data):
        data[offset] ^= mask
    return change

for source in ("aes", "plain"):
    path = os.path.join(work, source, "data", "data.pkg")
    raw = open(path, "rb").read()
    infos = zipfile.ZipFile(path).infolist()
    central = raw.index(b"PK\x01\x02")
    # A few entries spread over the archive for each kind of header damage.
    chosen = sorted({len(infos) * k // 4 + 1 for k in range(4)})
    # Each AES entry costs a key derivation, which makes a whole AES load slow under the
    # sanitizers: its data damage goes to the key file, the entries read before the walk (and
    # again by it) and the spread above; the same damage meets the same checks everywhere else.
    first_read = ("Keys.pack", "KXModelGeneralSettings.0.attributes.pack", "KXModelScreen.0.connections.pack")
    aes_flips = set(chosen) | {i for i, info in enumerate(infos) if info.filename in first_read}
    for index, info in enumerate(infos):
        h = info.header_offset
        name_len, extra_len = struct.unpack("<HH", raw[h + 26:h + 30])
        if (index in aes_flips) if source == "aes" else (index % stride == 0):
            start = h + 30 + name_len + extra_len
            case("error", "%s: byte flipped in %s" % (source, info.filename), source,
                 flip(start + info.compress_size // 2), True)
        if index in chosen[:2]:
            case("error", "%s: name of %s renamed in the local header" % (source, info.filename), source,
                 flip(h + 30 + name_len // 2, 0x01))
    at, index = central, 0
    while raw[at:at + 4] == b"PK\x01\x02":
        name_len, extra_len, comment_len = struct.unpack("<HHH", raw[at + 28:at + 34])
        name = raw[at + 46:at + 46 + name_len].decode()
        if index in chosen:
            case("error", "%s: %s renamed in the central directory" % (source, name), source,
                 flip(at + 46 + name_len - 6, 0x01))
        if index in chosen[2:]:
            case("error", "%s: size of %s damaged in the central directory" % (source, name), source, flip(at + 24, 0x10))
            case("error", "%s: CRC of %s damaged in the central directory" % (source, name), source, flip(at + 16, 0x01))
        at += 46 + name_len + extra_len + comment_len
        index += 1

# The same entry twice.
def doubled(data):
    path = os.path.join(work, "doubled.pkg")
    with zipfile.ZipFile(os.path.join(work, "plain", "data", "data.pkg")) as source, \
         zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as target:
        for info in source.infolist():
            target.writestr(info.filename, source.read(info))
        import warnings
        warnings.simplefilter("ignore")
        target.writestr("KXModelFont.0.attributes.pack", source.read("KXModelFont.0.attributes.pack"))
    data[:] = open(path, "rb").read()
case("error", "an entry twice", "plain", doubled)
PY
count=$(ls cases | wc -l)

# Inflation bombs: entries far larger than any pack file, real or declared, and one just under
# the bound that holds nothing but empty maps. Each must fail at once and in bounded memory.
bomb_archive() { # case game, entry name, content file
    cp "$3" "$1/data/$2"
    archive_of "$1" none
}
head -c 20000000 /dev/zero > zeros
new_case bomb "bomb: Keys.pack of 20 MB" good
bomb_archive "$GAME" Keys.pack zeros
new_case bomb "bomb: pack file of 20 MB" good
bomb_archive "$GAME" KXModelFont.0.attributes.pack zeros
head -c 16000000 /dev/zero | tr '\0' '\200' > emptymaps
new_case bomb "bomb: 16 MB of empty maps" good
bomb_archive "$GAME" KXModelFont.0.attributes.pack emptymaps
new_case bomb "bomb: 16 MB of empty maps in the folder" good
cp emptymaps "$GAME/data/KXModelFont.0.attributes.pack"
new_case bomb "bomb: AES pack file of 20 MB" good
cp zeros "$GAME/data/KXModelScreen.0.attributes.pack"
archive_of "$GAME" aes
# A small declared size in front of the 20 MB of data.
new_case bomb "bomb: declared size of 100 bytes" good
bomb_archive "$GAME" KXModelFont.0.attributes.pack zeros
"$PY" - "$GAME/data/data.pkg" << 'PY'
import struct, sys, zipfile
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
name = "KXModelFont.0.attributes.pack"
header = next(i.header_offset for i in zipfile.ZipFile(path).infolist() if i.filename == name)
struct.pack_into("<I", data, header + 22, 100)
central = data.index(b"PK\x01\x02")
while data[central:central + 4] == b"PK\x01\x02":
    name_len, extra_len, comment_len = struct.unpack("<HHH", data[central + 28:central + 34])
    if data[central + 46:central + 46 + name_len] == name.encode():
        struct.pack_into("<I", data, central + 24, 100)
    central += 46 + name_len + extra_len + comment_len
open(path, "wb").write(bytes(data))
PY

# Random damage anywhere: loads or fails cleanly.
for seed in $(seq 1 15); do
    new_case any "random damage, seed $seed" good
    "$PY" - "$GAME/data" "$seed" << 'PY'
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
done

# Runs `load` and `dump` on one case; prints a FAIL line for each result its expectation rejects.
check_case() {
    local dir=$1 expect what rc command
    expect=$(cat "$dir/expect")
    what=$(cat "$dir/what")
    local commands="load dump"
    [ -e "$dir/load-only" ] && commands=load
    for command in $commands; do
        if [ "$expect" = bomb ]; then
            # A small quarantine, so that the sanitizer's hold on freed memory is not counted.
            rc=$(ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=8" "$PY" -c '
import resource, subprocess, sys
with open(sys.argv[3], "wb") as err:
    rc = subprocess.run([sys.argv[1], sys.argv[2], sys.argv[4]], stdout=subprocess.DEVNULL, stderr=err).returncode
print(rc, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$KX" "$command" "$dir/$command.err" "$dir/game")
            local memory=${rc#* }
            rc=${rc%% *}
            if [ "$memory" -gt "$BOMB_MEMORY_KB" ]; then
                echo "FAIL: $what: $command used $memory KiB"
            fi
        else
            "$KX" "$command" "$dir/game" > /dev/null 2> "$dir/$command.err"
            rc=$?
        fi
        case $expect in
        any)
            if [ "$rc" -ne 0 ] && [ "$rc" -ne 2 ]; then
                echo "FAIL: $what: $command exit $rc"
                tail -5 "$dir/$command.err"
            fi
            ;;
        *)
            if [ "$rc" -ne 2 ]; then
                echo "FAIL: $what: $command exit $rc"
                tail -5 "$dir/$command.err"
            elif ! grep -q '^error: .' "$dir/$command.err"; then
                echo "FAIL: $what: $command gave no error line"
            elif [ "${expect%% *}" = message ] && ! grep -qx "error: ${expect#message }" "$dir/$command.err"; then
                echo "FAIL: $what: $command: wrong message: $(grep '^error:' "$dir/$command.err")"
            fi
            ;;
        esac
    done
}
export -f check_case
export KX PY BOMB_MEMORY_KB

cases=$(ls cases | wc -l)
ls cases | sed "s|^|$WORK/cases/|" | xargs -P "$JOBS" -I{} bash -c 'check_case "$1"' _ {} > results.txt
failures=$(grep -c '^FAIL' results.txt)
if [ "$failures" -ne 0 ]; then
    cat results.txt
    echo "$failures failures in $cases cases"
    exit 1
fi
echo "ok: $cases cases"
