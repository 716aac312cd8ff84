# Turns a level section of a game folder into one whose bodies pile up, in the folder's stored data
# (valid data, as an editor would write it): copies of one of its objects (a unit, a portal, a
# character, ...) laid out in rows, and optionally a section the streaming lays (no opening
# section) with another width.
#
#   python3 pile_level.py DUMP GAME_DIR SECTION [--width W] [--unit NAME --copies N
#                         [--row R] [--spacing S] [--lift DY] [--scale K[,KY]] [--rotation DEG]
#                         [--turn DEG] [--velocity VX,VY] [--at X,Y] [--rise DY2]
#                         [--circle RADIUS] [--set ATTRIBUTE=VALUE]... [--toward X,Y] [--spawner]]
#                         [--drop NAME]... [--keep NAME]... [--move NAME=X,Y]... [--copy-section N] [--spawn-rate R[,V]]
#
# DUMP: what `kxdata dump GAME_DIR` printed (the attribute names of each model, in stored order);
# GAME_DIR's packs of the object's class and of the sections are rewritten in place. The copies
# start where the object named NAME in SECTION stands (or at X,Y; raised by DY), R to a row, S points apart
# along a row and DY2 (or S) between rows (S 0: all at one point). Each copy's scale is the
# object's times K (KY for y, when given), its
# rotation DEG plus TURN times its index, and a unit's linear velocity (VX, VY): copies of a unit
# that moves in a line move together. --set gives each copy's stored attribute so named that value,
# read as JSON (`--set "Search Radius=1e9"`, `--set 'Affected Asset="kAll"'`). --drop takes the
# objects so named out of SECTION (a level without its enemies), --keep every object not so named
# (the copies are named as their object); --copy-section adds N copies of
# SECTION that share its objects. --circle lays the copies evenly on a circle of RADIUS around
# the start instead of in rows. --toward gives each copy of a path one point, at X,Y of the layer
# (paths laid on a circle that all lead to its centre). --spawner makes each copy a spawner (it holds
# the game's first spawner component, shared), which lays copies of itself. --spawn-rate gives that
# shared component R seconds between copies, give or take V (0 unless given): every spawner that
# holds it, the game's own too, then lays that fast. --move puts the object
# so named in SECTION, as the dump lists it, at X,Y (its copies stay where they are). Needs
# python3-msgpack. Fails unless exactly one section is
# named so.
import argparse
import glob
import json
import math
import os
import sys

import msgpack

ID, CLASS = 42, 33

parser = argparse.ArgumentParser()
parser.add_argument("dump")
parser.add_argument("game")
parser.add_argument("section")
parser.add_argument("--width", type=float)
parser.add_argument("--unit")
parser.add_argument("--copies", type=int, default=0)
parser.add_argument("--row", type=int, default=40)
parser.add_argument("--spacing", type=float, default=0.0)
parser.add_argument("--lift", type=float, default=0.0)
parser.add_argument("--scale")
parser.add_argument("--rotation", type=float)
parser.add_argument("--turn", type=float, default=0.0)
parser.add_argument("--velocity")
parser.add_argument("--at")
parser.add_argument("--rise", type=float)
parser.add_argument("--set", action="append", default=[])
parser.add_argument("--drop", action="append", default=[])
parser.add_argument("--keep", action="append", default=[])
parser.add_argument("--copy-section", type=int, default=0)
parser.add_argument("--circle", type=float)
parser.add_argument("--toward")
parser.add_argument("--spawner", action="store_true")
parser.add_argument("--move", action="append", default=[])
parser.add_argument("--spawn-rate")
args = parser.parse_args()

names, classes, ids, entries = {}, {}, set(), {}
for line in open(args.dump):
    model = json.loads(line)
    ids.add(model["id"])
    names[model["id"]] = list(model["values"])
    classes[model["id"]] = model["class"]
    entries[model["id"]] = model["values"]
spawner_id = min((i for i, c in classes.items() if c == "KXModelComponentSpawner"), default=None)
if (args.spawner or args.spawn_rate) and spawner_id is None:
    sys.exit("the game has no spawner component")


def read(pack):
    unpacker = msgpack.Unpacker(raw=False, strict_map_key=False)
    unpacker.feed(open(pack, "rb").read())
    return list(unpacker)


def write(pack, records):
    open(pack, "wb").write(b"".join(msgpack.packb(record, use_bin_type=True) for record in records))


def keys_of(record):
    # A model's stored keys follow its attributes in the order the dump lists their names.
    return dict(zip(names[record[ID]], [k for k in record if k not in (ID, CLASS)]))


data = os.path.join(args.game, "data")
section_pack = os.path.join(data, "KXModelLevelSection.0.attributes.pack")
sections = read(section_pack)
chosen = [s for s in sections if s[keys_of(s)["Name"]][10] == args.section]
if len(chosen) != 1:
    sys.exit("the game has %d sections named %s" % (len(chosen), args.section))
section = chosen[0]
if args.width is not None:
    keys = keys_of(section)
    section[keys["Init Section"]][10] = False
    section[keys["Width"]][10] = args.width
    write(section_pack, sections)

def name_of(record):
    return record[keys_of(record)["Name"]][10] if record[ID] in names and "Name" in keys_of(record) else None


if args.spawn_rate:
    rate, _, spread = args.spawn_rate.partition(",")
    spawner_pack = os.path.join(data, "KXModelComponentSpawner.0.attributes.pack")
    spawners = read(spawner_pack)
    record = [r for r in spawners if r[ID] == spawner_id][0]
    value = record[keys_of(record)["Spawn Rate"]]
    # A ranged value stores its parts in the order the dump names them.
    parts = dict(zip(entries[spawner_id]["Spawn Rate"], value))
    value[parts["value"]] = float(rate)
    value[parts["variableValue"]] = float(spread or 0)
    write(spawner_pack, spawners)

if args.copy_section > 0:
    # Copies of the section sharing its objects: each object gets as many parents.
    links_pack = os.path.join(data, "KXModelLevelSection.0.connections.pack")
    links = read(links_pack)
    section_links = [l for l in links if l[ID] == section[ID]][0]
    next_id = max(max(ids), max(r[ID] for p in glob.glob(os.path.join(data, "*.attributes.pack")) for r in read(p))) + 1
    for index in range(args.copy_section):
        copy = msgpack.unpackb(msgpack.packb(section), raw=False, strict_map_key=False)
        copy[ID] = next_id + index
        sections.append(copy)
        link_copy = msgpack.unpackb(msgpack.packb(section_links), raw=False, strict_map_key=False)
        link_copy[ID] = next_id + index
        links.append(link_copy)
    write(section_pack, sections)
    write(links_pack, links)

if args.drop or args.keep:
    links_pack = os.path.join(data, "KXModelLevelSection.0.connections.pack")
    links = read(links_pack)
    section_links = [l for l in links if l[ID] == section[ID]][0]
    children_key = [k for k, v in section_links.items() if isinstance(v, list)][0]
    dropped = set()
    for pack in glob.glob(os.path.join(data, "*.attributes.pack")):
        dropped.update(
            r[ID]
            for r in read(pack)
            if r[ID] in section_links[children_key]
            and (name_of(r) in args.drop or (args.keep and name_of(r) not in args.keep))
        )
    section_links[children_key] = [c for c in section_links[children_key] if c not in dropped]
    write(links_pack, links)

for move in args.move:
    name, _, place = move.rpartition("=")
    links = read(os.path.join(data, "KXModelLevelSection.0.connections.pack"))
    section_children = [v for v in [l for l in links if l[ID] == section[ID]][0].values() if isinstance(v, list)][0]
    moved = 0
    for pack in glob.glob(os.path.join(data, "*.attributes.pack")):
        records = read(pack)
        hits = [r for r in records if r[ID] in names and r[ID] in section_children and name_of(r) == name]
        for record in hits:
            record[keys_of(record)["Position"]][10] = [float(v) for v in place.split(",")]
        if hits:
            write(pack, records)
        moved += len(hits)
    if moved != 1:
        sys.exit("section %s holds %d objects named %s" % (args.section, moved, name))

if args.copies > 0:
    links_pack = os.path.join(data, "KXModelLevelSection.0.connections.pack")
    links = read(links_pack)
    section_links = [l for l in links if l[ID] == section[ID]][0]
    # The section's children are the one list of ids among its links.
    children_key = [k for k, v in section_links.items() if isinstance(v, list)][0]
    children = section_links[children_key]
    # The object may be of any class: it is copied within its class's packs.
    found = None
    for pack in sorted(glob.glob(os.path.join(data, "*.attributes.pack"))):
        records = read(pack)
        for record in records:
            # Copies an earlier run made are not in the dump: they are never the original.
            if record[ID] in names and record[ID] in children and \
                    record[keys_of(record).get("Name", -1)][10] == args.unit:
                found = pack, records, record
                break
        if found:
            break
    if not found:
        sys.exit("section %s holds nothing named %s" % (args.section, args.unit))
    object_pack, objects, original = found
    object_links_pack = object_pack.replace(".attributes.pack", ".connections.pack")
    object_links = read(object_links_pack) if os.path.exists(object_links_pack) else []
    original_links = [l for l in object_links if l[ID] == original[ID]]
    keys = keys_of(original)
    position_key = keys["Position"]
    x0, y0 = original[position_key][10]
    rise = args.spacing if args.rise is None else args.rise
    scale = [float(v) for v in (args.scale.split(",") * 2)[:2]] if args.scale else None
    if args.at:
        x0, y0 = [float(v) for v in args.at.split(",")]
    velocity = [float(v) for v in args.velocity.split(",")] if args.velocity else None
    toward = [float(v) for v in args.toward.split(",")] if args.toward else None
    if toward is not None and "points" not in keys:
        sys.exit("%s has no points to lead anywhere" % args.unit)
    settings = []
    for setting in args.set:
        attribute, _, value = setting.partition("=")
        if attribute not in keys:
            sys.exit("%s has no attribute %s" % (args.unit, attribute))
        settings.append((keys[attribute], json.loads(value)))
    # Past every id in the dump and in the packs (an earlier run's copies among them).
    for pack in glob.glob(os.path.join(data, "*.attributes.pack")):
        ids.update(record[ID] for record in read(pack))
    next_id = max(ids) + 1
    for index in range(args.copies):
        copy = msgpack.unpackb(msgpack.packb(original), raw=False, strict_map_key=False)
        copy[ID] = next_id
        copy[position_key][10] = [x0 + (index % args.row) * args.spacing,
                                  y0 + args.lift + (index // args.row) * rise]
        if args.circle is not None:
            angle = 2 * math.pi * index / args.copies
            copy[position_key][10] = [x0 + args.circle * math.cos(angle),
                                      y0 + args.lift + args.circle * math.sin(angle)]
        if args.scale is not None and "Scale" in keys:
            copy[keys["Scale"]][10] = [v * k for v, k in zip(original[keys["Scale"]][10], scale)]
        if (args.rotation is not None or args.turn) and "Rotation" in keys:
            base = args.rotation if args.rotation is not None else original[keys["Rotation"]][10]
            copy[keys["Rotation"]][10] = base + args.turn * index
        if velocity is not None and "Linear Velocity" in keys:
            copy[keys["Linear Velocity"]][10] = velocity
        for key, value in settings:
            copy[key][10] = value
        if toward is not None:
            x, y = copy[position_key][10]
            # A path's points are stored bare, each from the path's own place.
            copy[keys["points"]] = [[toward[0] - x, toward[1] - y]]
        objects.append(copy)
        for link in original_links or ([{ID: original[ID]}] if args.spawner else []):
            link_copy = msgpack.unpackb(msgpack.packb(link), raw=False, strict_map_key=False)
            link_copy[ID] = next_id
            if args.spawner:
                link_copy[children_key] = [spawner_id]
            object_links.append(link_copy)
        children.append(next_id)
        next_id += 1
    write(object_pack, objects)
    if original_links or args.spawner:
        write(object_links_pack, object_links)
    write(links_pack, links)
