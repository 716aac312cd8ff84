# Rewrites a game folder's stored data so that a level section holds objects nested deep and wide,
# or so that the level is made of many sections; every model is a copy of one the game already has
# (so the game must have a model of each class the shape needs).
#
#   python3 nest_level.py DUMP GAME_DIR SECTION --shape SHAPE [--depth N] [--children K]
#                         [--loop none|self|back] [--unit NAME] [--spawner]
#                         [--sections S] [--objects K] [--width W] [--spacing X] [--share]
#
# DUMP: what `kxdata dump GAME_DIR` printed. SECTION names the level section to work on, NAME the
# unit placed in it that the copies are made of (by default its first unit whose asset shows an
# idle animation). Shapes, N levels deep, each level holding K children:
#   units    the unit's asset shows an idle animation holding K units, all of one next asset, whose
#            idle animation holds K units of the next ... (K^N paths through N assets).
#   images   the unit's idle animation holds pictures nested N deep: each level's first picture
#            holds the next level's K pictures.
#   groups   groups in the section, each holding K copies of the unit and the next group.
#   linkers  copies of the unit in the section, each level's K copies riding under the level
#            before's first one, joined by copies of one of the game's linkers.
#   sections S copies of the section (streamed: no opening section) added to its scene, each
#            holding K fresh copies of the unit X points apart (--share: all the same K copies);
#            with S 0 the section itself holds them. --width sets the sections' width.
# --loop closes the nesting: the last level holds itself (self) or the first level (back).
# --spawner makes every copy of the unit a spawner (with a copy of one of the game's spawners).
# Needs python3-msgpack.
import argparse
import glob
import json
import os
import sys

import msgpack

ID, CLASS, VALUE = 42, 33, 10
PER_FILE = 20000

parser = argparse.ArgumentParser()
parser.add_argument("dump")
parser.add_argument("game")
parser.add_argument("section")
parser.add_argument("--shape", required=True, choices=["units", "images", "groups", "linkers", "sections"])
parser.add_argument("--depth", type=int, default=1)
parser.add_argument("--children", type=int, default=1)
parser.add_argument("--loop", default="none", choices=["none", "self", "back"])
parser.add_argument("--unit")
parser.add_argument("--spawner", action="store_true")
parser.add_argument("--sections", type=int, default=0)
parser.add_argument("--objects", type=int, default=0)
parser.add_argument("--width", type=float)
parser.add_argument("--spacing", type=float, default=40.0)
parser.add_argument("--share", action="store_true")
args = parser.parse_args()

dump = {}
for line in open(args.dump):
    model = json.loads(line)
    dump[model["id"]] = model

data = os.path.join(args.game, "data")
packs = {}


def pack(path):
    if path not in packs:
        records = []
        if os.path.exists(path):
            unpacker = msgpack.Unpacker(raw=False, strict_map_key=False)
            unpacker.feed(open(path, "rb").read())
            records = list(unpacker)
        packs[path] = records
    return packs[path]


def save():
    # A class's models may take several files (.0., .1., ...): each stays far below the size the
    # loader reads.
    for path, records in packs.items():
        for number, start in enumerate(range(0, max(len(records), 1), PER_FILE)):
            with open(path.replace(".0.", ".%d." % number), "wb") as out:
                out.write(b"".join(msgpack.packb(r, use_bin_type=True) for r in records[start:start + PER_FILE]))


attributes, links = {}, {}
for path in sorted(glob.glob(os.path.join(data, "*.attributes.pack"))):
    for record in pack(path):
        attributes[record[ID]] = record
for path in sorted(glob.glob(os.path.join(data, "*.connections.pack"))):
    for record in pack(path):
        links[record[ID]] = record
next_id = max(attributes) + 1


def keys_of(record):
    # A model's stored keys follow its attributes in the order the dump lists their names.
    return dict(zip(dump[record[ID]]["values"], [k for k in record if k not in (ID, CLASS)]))


def named(class_name, name=None, within=None):
    for model_id, model in sorted(dump.items()):
        if model["class"] == class_name and (name is None or model["name"] == name) and \
                (within is None or model_id in within):
            return model_id
    return None


def reference(model_id, name):
    value = dump[model_id]["references"].get(name, {}).get("value")
    return value if value in dump else None


def reference_key(model_id, name):
    # The key in the model's links whose value is the model the dump names for that reference.
    target = reference(model_id, name)
    for key, value in links.get(model_id, {}).items():
        if isinstance(value, dict) and value.get(VALUE) == target:
            return key
    sys.exit("model %u has no stored reference %s" % (model_id, name))


section_id = named("KXModelLevelSection", args.section)
if section_id is None:
    sys.exit("the game has no section named %s" % args.section)
CHILDREN = [k for k, v in links[section_id].items() if isinstance(v, list)][0]


def copy(model_id):
    """A copy of the model with a new id, in its class's packs (links included); returns its id."""
    global next_id
    record = msgpack.unpackb(msgpack.packb(attributes[model_id]), raw=False, strict_map_key=False)
    record[ID] = next_id
    name = record[CLASS]
    pack(os.path.join(data, name + ".0.attributes.pack")).append(record)
    attributes[next_id] = record
    if model_id in links:
        link = msgpack.unpackb(msgpack.packb(links[model_id]), raw=False, strict_map_key=False)
        link[ID] = next_id
        pack(os.path.join(data, name + ".0.connections.pack")).append(link)
        links[next_id] = link
    dump[next_id] = dump[model_id]
    next_id += 1
    return next_id - 1


def children(model_id):
    if model_id not in links:
        links[model_id] = {ID: model_id}
        pack(os.path.join(data, attributes[model_id][CLASS] + ".0.connections.pack")).append(links[model_id])
    return links[model_id].setdefault(CHILDREN, [])


def place(model_id, x, y, scale=None):
    keys = keys_of(attributes[model_id])
    attributes[model_id][keys["Position"]][VALUE] = [float(x), float(y)]
    if scale is not None and "Scale" in keys:
        attributes[model_id][keys["Scale"]][VALUE] = [float(scale), float(scale)]


def loop_target(levels):
    return {"none": None, "self": levels[-1], "back": levels[0]}[args.loop]


units = [c for c in children(section_id) if dump.get(c, {}).get("class") == "KXModelObjectAssetUnit"]
unit_id = named("KXModelObjectAssetUnit", args.unit, set(units)) if args.unit else next(
    (u for u in units if reference(u, "Asset") and reference(reference(u, "Asset"), "Idle Animation")), None)
if unit_id is None:
    sys.exit("section %s has no unit %s" % (args.section, args.unit or "with an idle animation"))
spawner_id = named("KXModelComponentSpawner")
if args.spawner and spawner_id is None:
    sys.exit("the game has no spawner to copy")


def unit_copy(x, y, asset=None, scale=None):
    made = copy(unit_id)
    place(made, x, y, scale)
    if asset is not None:
        links[made][reference_key(unit_id, "Asset")][VALUE] = asset
    if args.spawner:
        children(made)[:] = [copy(spawner_id)]
    return made


def row(count, y=0.0):
    # Offsets of a level's children, centred on their holder.
    return [((j - (count - 1) / 2.0) * args.spacing, y) for j in range(count)]


if args.shape == "units":
    asset_id = reference(unit_id, "Asset")
    animation_id = reference(asset_id, "Idle Animation")
    animation_key = reference_key(asset_id, "Idle Animation")
    assets = [copy(asset_id) for _ in range(args.depth)]
    for level, asset in enumerate(assets):
        animation = copy(animation_id)
        links[asset][animation_key][VALUE] = animation
        below = assets[level + 1] if level + 1 < len(assets) else loop_target(assets)
        if below is not None:
            children(animation).extend(unit_copy(x, y, below, 1.0) for x, y in row(args.children))
    links[unit_id][reference_key(unit_id, "Asset")][VALUE] = assets[0]
    if args.spawner:
        children(unit_id)[:] = [copy(spawner_id)]
elif args.shape == "images":
    animation_id = reference(reference(unit_id, "Asset"), "Idle Animation")
    image_id = next((c for c in children(animation_id) if dump.get(c, {}).get("class") == "KXModelObjectImage"), None)
    if image_id is None:
        sys.exit("the unit's idle animation shows no picture")
    levels = []
    for level in range(args.depth):
        made = [copy(image_id) for _ in range(args.children)]
        for (x, y), image in zip(row(len(made), 4.0), made):
            place(image, x, y, 1.0)
            links[image].pop(CHILDREN, None)
        if levels:
            children(levels[-1][0]).extend(made)
        levels.append(made)
        children(animation_id).extend(made)
    if loop_target(levels):
        children(levels[-1][0]).append(loop_target(levels)[0])
elif args.shape == "groups":
    group_id = named("KXModelObjectGroup")
    if group_id is None:
        sys.exit("the game has no group to copy")
    x0, y0 = attributes[unit_id][keys_of(attributes[unit_id])["Position"]][VALUE]
    groups = [copy(group_id) for _ in range(args.depth)]
    for level, group in enumerate(groups):
        members = [unit_copy(x0 + x, y0 + y) for x, y in row(args.children, 2.0 * level)]
        children(group)[:] = members
        below = groups[level + 1] if level + 1 < len(groups) else loop_target(groups)
        if below is not None:
            children(group).append(below)
        children(section_id).extend(members + [group])
elif args.shape == "linkers":
    linker_id = named("KXModelLinker")
    if linker_id is None:
        sys.exit("the game has no linker to copy")
    key_a, key_b = reference_key(linker_id, "Object A"), reference_key(linker_id, "Object B")
    x0, y0 = attributes[unit_id][keys_of(attributes[unit_id])["Position"]][VALUE]
    levels = [[unit_copy(x0, y0)]]
    children(section_id).append(levels[0][0])

    def join(a, b):
        linker = copy(linker_id)
        links[linker][key_a][VALUE] = a
        links[linker][key_b][VALUE] = b
        children(section_id).append(linker)

    for level in range(1, args.depth):
        made = [unit_copy(x0 + x, y0 + y) for x, y in row(args.children, 2.0 * level)]
        children(section_id).extend(made)
        for rider in made:
            join(levels[-1][0], rider)
        levels.append(made)
    if loop_target(levels):
        join(levels[-1][0], loop_target(levels)[0])
else:
    section_keys = keys_of(attributes[section_id])
    x0, y0 = attributes[unit_id][keys_of(attributes[unit_id])["Position"]][VALUE]

    def fill(section=None):
        made = [unit_copy(x0 + j * args.spacing, y0) for j in range(args.objects)]
        if section is not None:
            children(section)[:] = made
        return made

    if args.sections == 0:
        children(section_id).extend(fill())
        if args.width is not None:
            attributes[section_id][section_keys["Width"]][VALUE] = args.width
    else:
        scene = next(m for m, link in links.items() if section_id in link.get(CHILDREN, []) and
                     dump.get(m, {}).get("class") == "KXModelScreenScene")
        shared = fill() if args.share and args.objects else None
        for _ in range(args.sections):
            section = copy(section_id)
            attributes[section][section_keys["Init Section"]][VALUE] = False
            if args.width is not None:
                attributes[section][section_keys["Width"]][VALUE] = args.width
            if shared is not None:
                children(section)[:] = list(shared)
            elif args.objects:
                fill(section)
            children(scene).append(section)
save()
