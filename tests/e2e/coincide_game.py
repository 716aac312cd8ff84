# Writes one valid game from a seed in which the game's own events are made to fall in the same
# frames (a pickup as its character dies, a teleport onto an enemy, a checkpoint at a removal, a
# spawn as the screen changes, ...), and prints one line that says what it placed and how kxsim
# plays it.
#
#   python3 coincide_game.py SEED GAMES_DIR OUT_DIR [--kxsim PATH]
#
# GAMES_DIR holds each scenario game written by `kxdata write-demo --scenario NAME` as GAMES_DIR/NAME
# and its dump as GAMES_DIR/NAME.dump; OUT_DIR (made anew) becomes the game. Seed S starts from
# scenario number S modulo their count (in the order `kxdata scenarios` lists them), so that
# consecutive seeds take every scenario in turn. The line printed is
#
#   seed=S game=NAME placed=N kinds=KIND:COUNT,... | KXSIM OPTIONS
#
# What is placed are copies of what the game holds (a new id, its record and links copied, put into
# a level section of the scene that is played): powerups of every type the player knows (copies of
# the game's powerup assets, each given another type), units and hazards, portals and their exits,
# spawners, paths, screen jumps, gatekeepers, logic objects, buttons, extra characters. They go
# where things happen: on each character's start and along its way, on enemies, on portals and
# their exits, on paths, on the game's own powerups (its checkpoints and finish), several at one
# point, each at a random depth (the field updates its children in depth order). With --kxsim the
# game as it is is played once first with the same options, and what its trace shows (where a
# character dies, lands, is teleported, shoots, takes a checkpoint or a powerup) is a place too.
#
# Valid: every value is one the editor gives (types and modes from their lists, depths 0 to 15,
# appearance chances up to 100), the settings' "Last ID" stays past every id. The hostile-data
# scenario is taken as it is: its damage stays, nothing is added to it. The options: 2,000 to 6,000
# frames, a seed, the game's level screen opened or the run started at its loading screen and
# menus, and a seeded sequence of key presses and releases (and taps where the game's recipes tap)
# that runs, jumps, shoots, pauses, resumes, restarts and presses the end screen's and the heads-up
# buttons. Needs python3-msgpack.
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from game_packs import Game  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(HERE))
POWERUP_HEADER = os.path.join(SOURCE, "player", "objects", "assets", "KXPObjectAssetPowerup.h")
RECIPES = os.path.join(HERE, "scenarios")
# The trace kinds whose lines are the game's events (tests/e2e/coincide.sh counts them).
TRACES = "field,character,powerups,teleport,game,objects,screens,kinds,sections,path,gatekeeper,logic,health,buttons"
DEPTHS = (0, 15)

# Per scenario: the level screens, and the keys its game answers to (tests/e2e/scenarios/ shows
# them in use): running, other moves, jumping, shooting, pausing and what the pause screen takes,
# what the end screen takes, the heads-up buttons' keys, the menus' keys.
MENU = ["Up", "Down", "Return", "Return", "Escape"]
PLAY = {
    "platformer": dict(screens=["world1"], run=["Right"], moves=["Left"], jump=["J"], shoot=["K"], pause=["P"],
                       paused=["space", "R", "Escape"], end=["space", "C", "Escape"], buttons=["S"]),
    "effects": dict(screens=["cave"], run=["Right"], moves=["Left", "Up", "Down"], jump=["J"], shoot=["space"],
                    pause=[], paused=[], end=[], buttons=[]),
    "hostile-data": dict(screens=["world1", "edges", "runaway"], run=["Right"], moves=["Left"], jump=["J"],
                         shoot=["K"], pause=["P"], paused=["space", "R", "Escape"], end=["space", "C", "Escape"],
                         buttons=["S"]),
    "top-down": dict(screens=["garden"], run=["Right"], moves=["Left", "Up", "Down"], jump=["J"], shoot=["space"],
                     pause=[], paused=[], end=[], buttons=["D"]),
    "portals-and-paths": dict(screens=["works"], run=["Right"], moves=["Left", "Up", "Down"], jump=["J"],
                              shoot=["space"], pause=[], paused=[], end=["Escape"], buttons=[]),
    "shooter": dict(screens=["space"], run=["Right"], moves=["Left", "Up", "Down"], jump=["J"], shoot=["space"],
                    pause=[], paused=[], end=["R"], buttons=["B"]),
    "menus-and-shop": dict(screens=["arena"], run=["Right"], moves=["Left"], jump=["J"], shoot=["K"], pause=[],
                           paused=[], end=["Escape"], buttons=[]),
}
SCENARIOS = list(PLAY)

# Placed kinds and how often each is drawn, where the game has it.
KIND_WEIGHTS = [("powerup", 10), ("unit", 3), ("portal", 2), ("spawner", 1), ("path", 1), ("character", 1),
                ("screen-jump", 1), ("gatekeeper", 1), ("logic", 1), ("button", 1), ("effect", 1)]
PLACE_KINDS = {
    "unit": "KXModelObjectAssetUnit", "portal": "KXModelObjectTeleport", "path": "KXModelObjectPath",
    "character": "KXModelObjectAssetCharacter", "screen-jump": "KXModelObjectScreenJump",
    "gatekeeper": "KXModelObjectGatekeeper", "logic": "KXModelObjectLogic", "button": "KXModelObjectButton",
}
EFFECTS = ("KXModelObjectFlag", "KXModelObjectParticles", "KXModelObjectLight", "KXModelObjectTrail")
UNIT_KINDS = ["kEnemyObjectType", "kEnemyObjectType", "kPlatformObjectType", "kPhysicsObjectType",
              "kDecorationObjectType", "kBulletObjectType"]
DESTROY = ["kDestroyNo", "kDestroyCollision", "kDestroyEnemyCollision", "kDestroyAllCollision"]
PLACEMENTS = ["", "kPowerupCharacterConstraint", "kPowerupScreenConstraint"]
BEHAVIOURS = ["", "kReplaceBehaviour", "kOverlayBehaviour"]
PLAY_MODES = ["kPlayModeSingle", "kPlayModeLoop", "kPlayModePingPong"]
OPERATIONS = ["kAdd", "kMultiply", "kReplace"]
# Powerup types whose effect works on the character that took it (its body, values, powerups).
ON_CHARACTER = ("kPowerupGameplay", "kPowerupStrike", "kPowerupInvincibility")
# How often each kind of place is drawn.
PLACES = {"death": 6, "enemy": 3, "teleport": 3, "checkpoint": 3, "landing": 2, "start": 2, "trigger": 2, "path": 2,
          "powerup": 2, "way": 1, "path-end": 1, "platform": 0.5, "shot": 0.5}
# Where the trace puts its places: far past any section (a game whose damage sends the view to 1e30).
FAR = 1e5


def powerup_types():
    # Every type the player knows, as its powerup object names them.
    with open(POWERUP_HEADER) as header:
        types = re.findall(r'kType\w+\s*=\s*"(kPowerup\w+)"', header.read())
    if not types:
        sys.exit("no powerup types in %s" % POWERUP_HEADER)
    return types


def short(powerup_type):
    name = powerup_type[len("kPowerup"):]
    return re.sub(r"(?<!^)(?=[A-Z])", "-", name).lower()


def finite(value):
    if isinstance(value, (int, float)) and not isinstance(value, bool):
        return math.isfinite(value) and abs(value) < FAR
    if isinstance(value, list):
        return all(finite(v) for v in value)
    return not isinstance(value, str) or value.lower() not in ("nan", "inf", "-inf")


class Spot:
    """A place where something happens: a level section and a point in it."""

    def __init__(self, section, x, y, why, weight=1.0):
        self.section, self.x, self.y, self.why, self.weight = section, x, y, why, weight


class Maker:
    def __init__(self, seed, games, out, kxsim):
        self.kxsim = kxsim
        self.rng = random.Random(seed)
        self.scenario = SCENARIOS[seed % len(SCENARIOS)]
        self.play = PLAY[self.scenario]
        self.source = os.path.join(games, self.scenario)
        self.dump = self.source + ".dump"
        if os.path.exists(out):
            shutil.rmtree(out)
        shutil.copytree(self.source, out)
        self.game = Game(self.dump, out)
        self.models = self.game.dump
        self.placed = {}
        self.spots = []
        self.asset_of_type = {}
        self.groups = 0

    # --- what the game holds ---

    def of_class(self, class_name):
        return [m for _, m in sorted(self.models.items()) if m["class"] == class_name]

    def value(self, model, name, default=None):
        entry = model["values"].get(name)
        return entry.get("value", default) if isinstance(entry, dict) else default

    def scene(self, key):
        for model in self.of_class("KXModelScreenScene"):
            if self.value(model, "Key") == key:
                return model
        return None

    def sections_of(self, scene):
        return [self.models[c] for c in scene["children"]
                if self.models.get(c, {}).get("class") == "KXModelLevelSection"]

    def objects(self, class_names):
        """Objects of these classes in the played sections (sane copies only: a damaged one's copy
        would add damage)."""
        found = []
        for section in self.sections:
            for child in section["children"]:
                model = self.models.get(child)
                if model and model["class"] in class_names and finite(self.value(model, "Position")) and \
                        finite(self.value(model, "Scale", [1, 1])):
                    found.append((section["id"], model))
        return found

    def width(self, section):
        width = self.value(section, "Width", 0)
        return width if finite(width) and width > 0 else 1136

    # --- where things happen ---

    def static_spots(self):
        for section_id, model in self.objects(["KXModelObjectAssetCharacter"]):
            x, y = self.value(model, "Position")
            self.spots.append(Spot(section_id, x, y, "start", 3))
            # On its way: ahead of it along the level, at its height and where it lands.
            for step in range(1, 12):
                self.spots.append(Spot(section_id, x + step * self.rng.uniform(50, 110), y, "way", 0.5))
        for section_id, model in self.objects(["KXModelObjectAssetUnit"]):
            x, y = self.value(model, "Position")
            deadly = self.value(model, "Destroy Type") not in (None, "", "kDestroyNo") or \
                self.value(model, "Object Type") == "kEnemyObjectType"
            if deadly:
                self.spots.append(Spot(section_id, x, y, "enemy", 3))
                # Where it meets a character coming at it.
                self.spots.append(Spot(section_id, x - self.rng.uniform(10, 50), y + 20, "enemy", 2))
            elif self.value(model, "Collision Type") == "kCharacterCollision":
                self.spots.append(Spot(section_id, x, y + 40, "platform", 0.5))
        for section_id, model in self.objects(["KXModelObjectTeleport", "KXModelObjectScreenJump",
                                               "KXModelObjectGatekeeper", "KXModelObjectLogic"]):
            x, y = self.value(model, "Position")
            self.spots.append(Spot(section_id, x, y, "trigger", 2))
        for section_id, model in self.objects(["KXModelObjectPath"]):
            x, y = self.value(model, "Position")
            self.spots.append(Spot(section_id, x, y, "path", 2))
            points = model["values"].get("points") or []
            if points and finite(points[-1]):
                self.spots.append(Spot(section_id, x + points[-1][0], y + points[-1][1], "path-end", 2))
        for section_id, model in self.objects(["KXModelObjectAssetPowerup"]):
            x, y = self.value(model, "Position")
            self.spots.append(Spot(section_id, x, y, "powerup", 1.5))

    def traced_spots(self, options):
        """Plays the game as it is and takes the places its trace shows."""
        home = tempfile.mkdtemp(prefix="coincide-home-")
        try:
            os.makedirs(os.path.join(home, ".local", "share"))
            env = dict(os.environ, HOME=home)
            env.pop("XDG_DATA_HOME", None)
            command = [self.kxsim, self.source] + options + [
                "--trace", "character,teleport,sections,game,powerups,kinds,path"]
            try:
                run = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     text=True, timeout=300)
            except subprocess.TimeoutExpired:
                return
        finally:
            shutil.rmtree(home, ignore_errors=True)
        lays = []  # (frame, section, at, width)
        sections = {s["id"] for s in self.sections}

        def at(frame, x, y, why, weight):
            if not (finite(x) and finite(y)):
                return
            for lay in reversed(lays):
                if lay[0] <= frame and lay[2] <= x < lay[2] + lay[3] and lay[1] in sections:
                    self.spots.append(Spot(lay[1], x - lay[2], y, why, weight))
                    return

        last = {}
        character = None
        line_re = re.compile(r"^F=(\d+) (.*)$")
        for line in run.stdout.splitlines():
            match = line_re.match(line)
            if not match:
                continue
            frame, text = int(match.group(1)), match.group(2)
            words = dict(w.split("=", 1) for w in text.split() if "=" in w)
            if text.startswith("sections lay "):
                try:
                    lays.append((frame, int(words["id"]), float(words["at"]), float(words["width"])))
                except (KeyError, ValueError):
                    pass
            elif text.startswith("character "):
                try:
                    x, y = (float(v) for v in words["pos"].split(","))
                except (KeyError, ValueError):
                    continue
                state, ground = words.get("state"), words.get("ground")
                if state in ("4", "5") and last.get("state") not in ("4", "5"):
                    at(frame, x, y, "death", 4)
                    # Just ahead of it: what it touched as it died.
                    at(frame, x + self.rng.uniform(15, 45), y, "death", 3)
                elif ground == "1" and last.get("ground") == "0":
                    at(frame, x, y, "landing", 2)
                elif frame % 97 == 0:
                    at(frame, x, y, "way", 0.5)
                last, character = words, (x, y)
            elif text.startswith("teleport send "):
                for key in ("from", "to"):
                    try:
                        x, y = (float(v) for v in words[key].split(","))
                    except (KeyError, ValueError):
                        continue
                    at(frame, x, y, "teleport", 3)
            elif text.startswith("game checkpoint "):
                try:
                    x, y = (float(v) for v in words["at"].split(","))
                except (KeyError, ValueError):
                    continue
                at(frame, x, y, "checkpoint", 3)
            elif character and (text.startswith("powerup effect ") or text.startswith("path carry ") or
                                text.startswith("kind asset:unit")):
                why = "shot" if text.startswith("kind") else text.split()[0]
                at(frame, character[0] + (40 if why == "shot" else 0), character[1], why, 2 if why != "shot" else 0.3)

    def spot(self):
        # A kind of place first (a death is worth more than a shot), then one of its places.
        kinds = sorted({s.why for s in self.spots})
        weights = [PLACES.get(why, 1) for why in kinds]
        pick = self.rng.uniform(0, sum(weights))
        for why, weight in zip(kinds, weights):
            pick -= weight
            if pick <= 0:
                break
        places = [s for s in self.spots if s.why == why]
        pick = self.rng.uniform(0, sum(s.weight for s in places))
        for place in places:
            pick -= place.weight
            if pick <= 0:
                return place
        return places[-1]

    # --- placing ---

    def count(self, kind):
        self.placed[kind] = self.placed.get(kind, 0) + 1

    def put(self, object_id, spot, kind, jitter=True, name=None):
        """Puts a copied object at SPOT (moved a little, or exactly on it), at a random depth."""
        game = self.game
        pack, record = game.stored(object_id)
        x, y = spot.x, spot.y
        if jitter and self.rng.random() < 0.7:
            x += self.rng.choice([0.0, self.rng.uniform(-30, 50)])
            y += self.rng.choice([0.0, self.rng.uniform(-15, 15)])
        game.set_value(pack, record, "Position", [round(x, 1), round(y, 1)])
        if "Z Depth" in game.keys_of(record):
            game.set_value(pack, record, "Z Depth", self.rng.randint(*DEPTHS))
        if name and "Name" in game.keys_of(record):
            game.set_value(pack, record, "Name", name)
        game.add_to_section(spot.section, object_id)
        self.count(kind)
        return pack, record

    def set(self, object_id, attribute, value):
        pack, record = self.game.stored(object_id)
        if attribute in self.game.keys_of(record):
            self.game.set_value(pack, record, attribute, value)

    def powerup_asset(self, powerup_type):
        """A copy of one of the game's powerup assets, of POWERUP_TYPE; one a type."""
        if powerup_type in self.asset_of_type:
            return self.asset_of_type[powerup_type]
        assets = self.of_class("KXModelAssetPowerup")
        shaped = [a for a in assets if "Collision Shape" in a["references"]]
        # An asset of that type the game has looks the part; a gameplay one keeps its values.
        same = [a for a in shaped if self.value(a, "Powerup Type") == powerup_type]
        source = self.rng.choice(same if same and self.rng.random() < 0.5 else (shaped or assets))
        asset = self.game.copy(source["id"])
        self.set(asset, "Name", "%s %s" % (source["name"], short(powerup_type)))
        self.set(asset, "Powerup Type", powerup_type)
        self.set(asset, "Appearance Chance", 100)
        self.set(asset, "Duration", self.rng.choice([0, 0.5, 1, 2, 4, 6, 10]))
        self.set(asset, "Animation Placement", self.rng.choice(PLACEMENTS))
        self.set(asset, "Animation Behaviour", self.rng.choice(BEHAVIOURS))
        if "Collision Shape" not in source["references"]:
            # An asset made for a button has no shape to touch: it takes one of the game's.
            shapes = [m["references"]["Collision Shape"]["value"] for m in self.models.values()
                      if "Collision Shape" in m["references"] and m["class"].startswith("KXModelAsset")]
            if not shapes:
                return None
            self.game.set_reference(asset, "Collision Shape", self.rng.choice(shapes))
        self.asset_of_type[powerup_type] = asset
        return asset

    def place_powerup(self, spot, jitter=True, powerup_type=None):
        assets = self.of_class("KXModelAssetPowerup")
        placed = self.objects(["KXModelObjectAssetPowerup"])
        characters = self.objects(["KXModelObjectAssetCharacter"])
        if not assets or not (placed or characters):
            return False
        powerup_type = powerup_type or self.rng.choice(self.types)
        asset = self.powerup_asset(powerup_type)
        if asset is None:
            return False
        if placed:
            object_id = self.game.copy(self.rng.choice(placed)[1]["id"])
        else:
            # A powerup is placed as a character is: the same attributes and an asset.
            object_id = self.game.copy(self.rng.choice(characters)[1]["id"], as_class="KXModelObjectAssetPowerup")
        self.game.set_reference(object_id, "Asset", asset)
        self.put(object_id, spot, "powerup-" + short(powerup_type), jitter=jitter,
                 name="%s %d" % (short(powerup_type), self.placed.get("powerup-" + short(powerup_type), 0) + 1))
        return True

    def place_copy(self, kind, spot):
        if kind in ("effect", "button"):
            # Buttons (a heads-up screen's, with their keys) and effects from anywhere in the game.
            classes = EFFECTS if kind == "effect" else [PLACE_KINDS[kind]]
            found = [(None, m) for m in self.models.values() if m["class"] in classes and
                     finite(self.value(m, "Position")) and finite(self.value(m, "Scale", [1, 1]))]
        elif kind == "unit" or kind == "spawner":
            found = self.objects(["KXModelObjectAssetUnit"])
            deadly = [f for f in found if self.value(f[1], "Object Type") == "kEnemyObjectType" or
                      self.value(f[1], "Destroy Type") not in (None, "", "kDestroyNo")]
            if deadly and self.rng.random() < 0.7:
                found = deadly
        else:
            found = self.objects([PLACE_KINDS[kind]])
        if not found:
            return False
        if kind == "spawner" and not self.of_class("KXModelComponentSpawner"):
            return False
        original = self.rng.choice(found)[1]
        object_id = self.game.copy(original["id"])
        self.put(object_id, spot, kind)
        rng = self.rng
        if kind == "unit" and rng.random() < 0.4:
            self.set(object_id, "Object Type", rng.choice(UNIT_KINDS))
            self.set(object_id, "Destroy Type", rng.choice(DESTROY))
        elif kind == "spawner":
            spawner = rng.choice(self.of_class("KXModelComponentSpawner"))["id"]
            self.game.set_children(object_id, list(original["children"]) + [spawner])
        elif kind == "character":
            others = self.of_class("KXModelAssetCharacter")
            if others and rng.random() < 0.5:
                self.game.set_reference(object_id, "Asset", rng.choice(others)["id"])
        elif kind == "portal":
            self.place_partner(object_id, original)
        elif kind == "path":
            target = self.spot()
            if target.section == spot.section:
                _, record = self.game.stored(object_id)
                x, y = self.game.value(record, "Position")
                points = [[round(target.x - x, 1), round(target.y - y, 1)]]
                if rng.random() < 0.3:
                    points.append([round(rng.uniform(-200, 200), 1), round(rng.uniform(-100, 100), 1)])
                self.set_points(object_id, points)
            self.set(object_id, "Play Mode", rng.choice(PLAY_MODES))
            self.set(object_id, "Speed", rng.choice([1, 2, 4, 6, 10]))
            self.set(object_id, "Search Radius", rng.choice([20, 40, 60, 120, 300]))
            self.set(object_id, "Affected Asset", rng.choice(["kCharacter", "kCharacter", "kAssets", "kAll"]))
        elif kind == "screen-jump":
            keys = [self.value(m, "Key") for m in self.models.values()
                    if m["class"] in ("KXModelScreen", "KXModelScreenScene") and self.value(m, "Key")]
            # A screen jump names the screen it opens.
            self.set(object_id, "Name", rng.choice(keys))
            self.set(object_id, "Pause Current World", rng.random() < 0.5)
        elif kind == "gatekeeper":
            self.set(object_id, "Passed Amount", rng.randint(0, 3))
        elif kind == "logic":
            self.set(object_id, "Affect operation", rng.choice(OPERATIONS))
        return True

    def set_points(self, object_id, points):
        pack, record = self.game.stored(object_id)
        key = self.game.keys_of(record).get("points")
        if key is not None:
            # A path's points are stored bare, each from the path's own place.
            record[key] = points
            self.game.changed.add(pack)

    def place_partner(self, object_id, original):
        """The portal's exit at another place, in a group of their own or one of the game's."""
        rng = self.rng
        groups = [self.value(m, "Group ID", 0) for _, m in self.objects(["KXModelObjectTeleport"])]
        if rng.random() < 0.7:
            self.groups += 1
            group = max(groups + [0]) + 100 + self.groups
        else:
            group = rng.choice(groups)
        self.set(object_id, "Group ID", group)
        self.set(object_id, "Exit Only", False)
        for attribute in ("Delete Input Object", "Single Use"):
            self.set(object_id, attribute, rng.random() < 0.5)
        self.set(object_id, "Search Radius", rng.choice([100, 300, 600, 2000]))
        exit_id = self.game.copy(original["id"])
        self.put(exit_id, self.spot(), "portal-exit")
        self.set(exit_id, "Group ID", group)
        self.set(exit_id, "Exit Only", rng.random() < 0.7)
        self.set(exit_id, "Search Radius", rng.choice([100, 300, 600, 2000]))

    # --- how it is played ---

    def options(self):
        rng, play = self.rng, self.play
        frames = rng.randint(2000, 6000)
        options = ["--frames", str(frames), "--seed", str(rng.randint(1, 1000000))]
        opened = rng.random() < 0.75
        if opened:
            self.screen = rng.choice(play["screens"])
            options += ["--open", self.screen]
        else:
            self.screen = play["screens"][0]
        taps = []
        for name in sorted(os.listdir(RECIPES)):
            if name == self.scenario + ".args" or re.match(re.escape(self.scenario) + r"\.\d+\.args$", name):
                with open(os.path.join(RECIPES, name)) as recipe:
                    taps += re.findall(r"--touch \d+:began:([-\d.]+,[-\d.]+)", recipe.read())
        taps = sorted(set(taps))
        held = {}  # key -> frame it is let go
        events = []

        def press(key, at, length):
            if held.get(key, -1) >= at or at >= frames - 2:
                return
            up = min(at + max(1, length), frames - 1)
            events.append((at, "--key", "%d:down:%s" % (at, key)))
            events.append((up, "--key", "%d:up:%s" % (up, key)))
            held[key] = up

        actions = [("run", 8), ("move", 3), ("jump", 4), ("shoot", 3), ("pause", 1), ("end", 2), ("button", 1),
                   ("menu", 1 if opened else 3), ("tap", 2 if taps else 0)]
        total = sum(w for _, w in actions)
        frame = rng.randint(200, 260)
        if not opened:
            # From the menu into the game most of the time: an arrow lights a button, Return presses it.
            for key in [rng.choice(["Up", "Down", "Left", "Right"])] * rng.choice([1, 1, 2]) + ["Return"]:
                frame += rng.randint(3, 20)
                press(key, frame, 2)
        while frame < frames - 20:
            pick = rng.uniform(0, total)
            for action, weight in actions:
                pick -= weight
                if pick <= 0:
                    break
            if action == "run" and play["run"]:
                press(rng.choice(play["run"]), frame, rng.choice([30, 90, 240, 600, 1200]))
            elif action == "move" and play["moves"]:
                press(rng.choice(play["moves"]), frame, rng.randint(5, 150))
            elif action == "jump" and play["jump"]:
                press(rng.choice(play["jump"]), frame, rng.randint(2, 30))
            elif action == "shoot" and play["shoot"]:
                press(rng.choice(play["shoot"]), frame, rng.randint(2, 400))
            elif action == "pause" and play["pause"]:
                press(rng.choice(play["pause"]), frame, 2)
                later = frame + rng.randint(5, 120)
                press(rng.choice(play["paused"]), later, 2)
            elif action == "end" and play["end"]:
                press(rng.choice(play["end"]), frame, 2)
            elif action == "button" and play["buttons"]:
                press(rng.choice(play["buttons"]), frame, 2)
            elif action == "menu":
                press(rng.choice(MENU), frame, 2)
            elif action == "tap" and taps:
                x, y = rng.choice(taps).split(",")
                events.append((frame, "--touch", "%d:began:%s,%s" % (frame, x, y)))
                events.append((frame + 3, "--touch", "%d:ended:%s,%s" % (frame + 3, x, y)))
            frame += rng.choice([1, 5, 20, 60, 150, 300])
        for _, option, value in sorted(events, key=lambda e: e[0]):
            options += [option, value]
        return options

    def make(self):
        rng = self.rng
        self.types = powerup_types()
        options = self.options()
        scene = self.scene(self.screen)
        self.sections = self.sections_of(scene) if scene else []
        self.static_spots()
        if self.kxsim:
            self.traced_spots(options)
        if not self.spots:
            for section in self.sections:
                self.spots.append(Spot(section["id"], rng.uniform(0, self.width(section)), rng.uniform(60, 500), "any"))
        if self.spots:
            kinds = [k for k, w in KIND_WEIGHTS for _ in range(w)]
            wanted = rng.randint(6, 48)
            tries = 0
            while sum(self.placed.values()) < wanted and tries < wanted * 4:
                tries += 1
                kind = rng.choice(kinds)
                spot = self.spot()
                if kind == "powerup" and spot.why in ("death", "enemy") and rng.random() < 0.7:
                    # A row of one type across the place where a character dies, a few points apart
                    # (less than it moves in a frame or two): one is touched in the very frame it dies.
                    # Half of them of a type whose effect reaches into the character it binds.
                    touching = [t for t in self.types if t in ON_CHARACTER]
                    step = rng.uniform(2, 8)
                    powerup_type = rng.choice(touching if touching and rng.random() < 0.5 else self.types)
                    start = spot.x - rng.uniform(0, 20)
                    for index in range(rng.randint(4, 10)):
                        self.place_powerup(Spot(spot.section, start + index * step, spot.y, spot.why), False,
                                           powerup_type)
                    continue
                # Several at one point now and then.
                for _ in range(rng.choice([1, 1, 1, 2, 3])):
                    if kind == "powerup":
                        self.place_powerup(spot)
                    else:
                        self.place_copy(kind, spot)
        self.game.save()
        return options


def main(argv):
    kxsim = None
    if "--kxsim" in argv:
        at = argv.index("--kxsim")
        kxsim = argv[at + 1]
        argv = argv[:at] + argv[at + 2:]
    if len(argv) != 4:
        sys.exit("usage: coincide_game.py SEED GAMES_DIR OUT_DIR [--kxsim PATH]")
    maker = Maker(int(argv[1]), argv[2], argv[3], kxsim)
    options = maker.make()
    kinds = ",".join("%s:%d" % item for item in sorted(maker.placed.items()))
    print("seed=%s game=%s placed=%d kinds=%s | %s --trace %s" % (
        argv[1], maker.scenario, sum(maker.placed.values()), kinds or "-", " ".join(options), TRACES))


if __name__ == "__main__":
    main(sys.argv)
