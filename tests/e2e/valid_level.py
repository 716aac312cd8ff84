# Writes one valid level, chosen by a seed: a scenario game whose opening section is rewritten (by
# tests/e2e/pile_level.py) into a layout a user could make in the editor, and prints one line that
# says what it holds and how kxsim plays it.
#
#   python3 valid_level.py SEED GAMES_DIR OUT_DIR [--max-bodies N] [--recipes R,R]
#   python3 valid_level.py --recipes        every recipe's name, one a line: first those seeds take in
#                                           turn, in that order, then those only --recipes R,R takes
#   python3 valid_level.py --rotation       only those seeds take in turn, in that order
#
# GAMES_DIR holds each scenario game written by `kxdata write-demo --scenario NAME` as GAMES_DIR/NAME
# and its dump as GAMES_DIR/NAME.dump; OUT_DIR (made anew) becomes the level. Seed S plays recipe
# number S modulo their count, so that consecutive seeds take every recipe in turn; the seed draws
# the recipe's numbers. The rotation is the first eight recipes; --recipes R,R makes it the recipes
# named, in that order (a level depends only on its recipe and seed, so seed S of a recipe is the
# same level in any rotation). The later recipes (characters in rows, balls on overlapping ledges,
# tens of thousands of bodies spread apart, blocks of moving ledges) came after the rotation was
# fixed, and only --recipes takes them, so that each seed keeps its level. The line printed is
#
#   seed=S recipe=NAME scenario=GAME bodies=N key=value ... | KXSIM OPTIONS
#
# with N the bodies the section starts with (spawned copies come on top of them).
#
# Valid: bodies stand side by side, touching at the closest (the spacing is each kind's collision
# shape from the dump, times its scale, turned with it, plus a gap of 0 or more points), never inside
# one another or the walls, floors and characters kept, but where the game lets them: characters
# pass through one another and static ledges through each other, so those may stand anywhere they
# fit; scales from 0.25 to 4; counts from 1 to what the room holds (at most 3,000, or --max-bodies;
# the spread recipe 10,000 to 40,000 in a room far larger than the screen). Crowds come only from
# what the game does with such data: a magnet pulling coins, bodies falling into a pit, spawners
# filling it, paths carrying crates to one point, portals sending characters to one exit,
# characters walking into a wall (they pass through one another), bolts flying into a swarm.
# Before it writes anything the script checks every pair of bodies the level starts with and
# fails, naming the pair, if two overlap beyond touching. Needs python3-msgpack.
import json
import math
import os
import random
import shutil
import subprocess
import sys

PILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pile_level.py")
TRACES = "unit,character,score,powerups,health,path,game,bodies,field,sections,objects,teleport,gatekeeper," \
         "logic,gameplay,components,group"
# Touching is allowed: positions go through floats on their way into the player.
TOUCH = 0.01
MAX_BODIES = 3000
# The spread recipe's own: bodies apart from one another cost the step their number, not their
# neighbours.
SPREAD_MAX_BODIES = 40000
SPREAD_LEAST_BODIES = 10000
# Characters in rows and blocks of moving ledges: about what the room holds at their sizes.
CHARACTER_ROWS_MAX = 1100
KINEMATIC_BLOCK_MAX = 1000

# Per scenario: the section rewritten, the kxsim options that play it and the key that sets the
# character going (the ship firing), what stays (floors, walls, the character) and the room free for
# bodies beside the character (x0, x1, y0, y1, in points).
SCENARIOS = {
    "platformer": {
        "section": "Meadow", "play": ["--open", "world1", "--frames", "600"], "walk": "250:down:Right",
        "keep": ["Floor", "Hero"], "room": (252, 1170, 80, 620),
    },
    "portals-and-paths": {
        "section": "Portal Works", "play": ["--open", "works", "--frames", "600"], "walk": "200:down:Right",
        "keep": ["Wall North", "Wall South", "Wall West", "Wall East", "Explorer"], "room": (134, 1096, 40, 600),
    },
    "top-down": {
        "section": "Walled Garden", "play": ["--open", "garden", "--frames", "600"], "walk": "300:down:Right",
        "keep": ["Hedge North", "Hedge South", "Hedge West", "Hedge East", "Explorer"],
        "room": (224, 1096, 40, 600),
    },
    "shooter": {
        "section": "Launch Bay", "play": ["--frames", "600"], "walk": "230:down:space",
        "keep": ["Ship"], "room": (235, 1130, 40, 600),
    },
}
# Kinds that end the hero's run when it walks into them: beside them it stands still (until the view
# leaves it behind).
DEADLY = ("Boulder", "Crab 1", "Armoured Crab", "Cannonball")
TRIGGERS = ("KXModelObjectTeleport", "KXModelObjectGatekeeper", "KXModelObjectScreenJump", "KXModelObjectLogic")


def log_uniform(rng, low, high):
    return math.exp(rng.uniform(math.log(low), math.log(high)))


def fit(span, size, step):
    # How many of SIZE, STEP apart, a SPAN holds (a rounding short of it too).
    return int((span - size + 1e-6) // step) + 1 if span >= size - 1e-6 else 0


def pick_count(rng, capacity, cap, low=100):
    # Mostly from a quarter of what the room holds to all of it (hundreds to a few thousand); now and
    # then a handful.
    high = max(1, min(capacity, cap))
    low = 1 if rng.random() < 0.1 else min(high, max(low, high // 4))
    return max(1, min(high, int(round(log_uniform(rng, low, high)))))


class Body:
    """A collision shape where it stands: a box (half sides, turned by angle degrees) or a circle."""

    def __init__(self, label, x, y, half_x, half_y, angle, radius=None):
        self.label, self.x, self.y, self.own = label, x, y, False
        # Bodies of one such kind pass through one another (characters, static ledges).
        self.passes = None
        self.half_x, self.half_y, self.angle, self.radius = half_x, half_y, angle % 360, radius
        if radius is not None:
            self.extent = (radius, radius)
        else:
            c, s = abs(math.cos(math.radians(angle))), abs(math.sin(math.radians(angle)))
            self.extent = (half_x * c + half_y * s, half_x * s + half_y * c)

    def box(self):
        return (self.x - self.extent[0], self.x + self.extent[0], self.y - self.extent[1], self.y + self.extent[1])


def overlaps(a, b):
    """Whether two shapes overlap beyond touching (box pairs turned differently: by their bounds)."""
    ax0, ax1, ay0, ay1 = a.box()
    bx0, bx1, by0, by1 = b.box()
    if ax1 - TOUCH <= bx0 or bx1 - TOUCH <= ax0 or ay1 - TOUCH <= by0 or by1 - TOUCH <= ay0:
        return False
    if a.radius is not None and b.radius is not None:
        return math.hypot(a.x - b.x, a.y - b.y) < a.radius + b.radius - TOUCH
    if a.radius is None and b.radius is None and (a.angle - b.angle) % 180 == 0:
        # Boxes turned alike: apart along one of their own axes.
        t = math.radians(a.angle)
        dx, dy = b.x - a.x, b.y - a.y
        u, v = abs(dx * math.cos(t) - dy * math.sin(t)), abs(dx * math.sin(t) + dy * math.cos(t))
        return u < a.half_x + b.half_x - TOUCH and v < a.half_y + b.half_y - TOUCH
    if a.radius is None and b.radius is None:
        return True
    box, circle = (a, b) if b.radius is not None else (b, a)
    if box.angle % 90 != 0:
        return True
    x0, x1, y0, y1 = box.box()
    nx, ny = min(max(circle.x, x0), x1), min(max(circle.y, y0), y1)
    return math.hypot(circle.x - nx, circle.y - ny) < circle.radius - TOUCH


def first_overlap(bodies):
    cell = 64.0
    grid = {}
    for index, body in enumerate(bodies):
        x0, x1, y0, y1 = body.box()
        seen = set()
        for gx in range(int(math.floor(x0 / cell)), int(math.floor(x1 / cell)) + 1):
            for gy in range(int(math.floor(y0 / cell)), int(math.floor(y1 / cell)) + 1):
                for other in grid.get((gx, gy), ()):
                    if other not in seen:
                        seen.add(other)
                        # The scenario's own layout (walls meeting at corners) is the game's.
                        if (body.own and bodies[other].own) or (body.passes and body.passes == bodies[other].passes):
                            continue
                        if overlaps(bodies[other], body):
                            return bodies[other], body
                grid.setdefault((gx, gy), []).append(index)
    return None


class Game:
    """A scenario's dump: each object of its opening section with its collision shape."""

    def __init__(self, games, scenario):
        self.scenario = scenario
        self.dir = os.path.join(games, scenario)
        self.dump_path = self.dir + ".dump"
        self.models = {}
        for line in open(self.dump_path):
            model = json.loads(line)
            self.models[model["id"]] = model
        section_name = SCENARIOS[scenario]["section"]
        section = [m for m in self.models.values() if m["class"] == "KXModelLevelSection" and m["name"] == section_name]
        self.objects = {}
        for child in section[0]["children"]:
            model = self.models[child]
            self.objects.setdefault(model["name"], model)
        self.children = [self.models[c] for c in section[0]["children"]]

    @staticmethod
    def value(model, name):
        entry = model["values"].get(name)
        return entry.get("value") if isinstance(entry, dict) else entry

    def reference(self, model, name):
        entry = model["references"].get(name)
        target = entry.get("value") if isinstance(entry, dict) else None
        return self.models.get(target)

    def shape(self, model):
        """('box', cx, cy, half_x, half_y) or ('circle', cx, cy, radius), in the model's points (y down)."""
        if model["class"] in TRIGGERS:
            return ("box", 0.0, 0.0, 30.0, 30.0)
        asset = self.reference(model, "Asset")
        shape = self.reference(asset, "Collision Shape") if asset else None
        if shape is None:
            return None
        points = self.value(shape, "points")
        if shape["class"] == "KXModelCircle":
            (x, y), (rx, ry) = points[0], points[1]
            return ("circle", x, y, math.hypot(rx - x, ry - y))
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
        return ("box", (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2)

    def has_body(self, model):
        if model["class"] == "KXModelObjectAssetUnit":
            # Decorations that neither collide nor move get no body.
            still = self.value(model, "Collision Type") == "kNoCollision" and \
                    not any(self.value(model, "Linear Velocity") or [0]) and not model["children"]
            return not still and self.shape(model) is not None
        return model["class"] in TRIGGERS or model["class"] in (
            "KXModelObjectAssetCharacter", "KXModelObjectAssetPowerup") and self.shape(model) is not None

    def body(self, name, x, y, scale=(1.0, 1.0), rotation=None, model=None):
        """The body of object NAME (or MODEL) at node position x, y, its scale times SCALE."""
        model = model or self.objects[name]
        own = self.value(model, "Scale") or [1, 1]
        sx, sy = own[0] * scale[0], own[1] * scale[1]
        angle = (self.value(model, "Rotation") or 0) if rotation is None else rotation
        kind, cx, cy, *size = self.shape(model)
        # Model points have y down; the node turns clockwise.
        ox, oy = cx * sx, -cy * sy
        t = math.radians(angle)
        wx, wy = ox * math.cos(t) + oy * math.sin(t), -ox * math.sin(t) + oy * math.cos(t)
        if kind == "circle":
            body = Body(model["name"], x + wx, y + wy, 0, 0, 0, size[0] * abs(sx))
        else:
            body = Body(model["name"], x + wx, y + wy, size[0] * abs(sx), size[1] * abs(sy), angle)
        if model["class"] == "KXModelObjectAssetCharacter":
            body.passes = "character"
        return body


class Level:
    """The pile_level.py runs that make a level, and the bodies it starts with."""

    def __init__(self, game, rng, max_bodies):
        self.game, self.rng, self.max_bodies = game, rng, max_bodies
        self.settings = SCENARIOS[game.scenario]
        self.runs, self.bodies, self.kept = [], [], set(self.settings["keep"])
        self.moved, self.copied = {}, []
        self.play = list(self.settings["play"])
        self.walk = True
        self.about = {}

    def replace(self, name):
        # The copies stand in for the original: it goes.
        self.kept.discard(name)

    def move(self, name, x, y):
        self.kept.add(name)
        self.moved[name] = (x, y)
        self.runs.append(["--move", "%s=%r,%r" % (name, float(x), float(y))])

    def extent(self, name, scale=(1.0, 1.0), rotation=None):
        """The bounds of the body around its node: (left, right, bottom, top) offsets."""
        x0, x1, y0, y1 = self.game.body(name, 0.0, 0.0, scale, rotation).box()
        return x0, x1, y0, y1

    def lay(self, name, count, at, row=1, spacing=0.0, rise=None, scale=None, rotation=None, turn=0.0,
            velocity=None, circle=None, toward=None, spawner=False, sets=(), passes=None):
        """COUNT copies of NAME as pile_level.py lays them (renamed, so that the original can go);
        PASSES names the kind of body they pass through (static ledges: one another)."""
        if count <= 0:
            return 0
        # Numbers joined to their options: a negative one would read as an option.
        run = ["--unit", name, "--copies", str(count), "--at=%r,%r" % (float(at[0]), float(at[1])),
               "--row", str(row), "--spacing", repr(float(spacing)),
               "--set", "Name=%s" % json.dumps(name + " copy")]
        rise = spacing if rise is None else rise
        if rise != spacing:
            run += ["--rise", repr(float(rise))]
        if scale is not None:
            run += ["--scale=%r,%r" % (float(scale[0]), float(scale[1]))]
        if rotation is not None:
            run += ["--rotation=%r" % float(rotation)]
        if turn:
            run += ["--turn=%r" % float(turn)]
        if velocity is not None:
            run += ["--velocity=%r,%r" % (float(velocity[0]), float(velocity[1]))]
        if circle is not None:
            run += ["--circle=%r" % float(circle)]
        if toward is not None:
            run += ["--toward=%r,%r" % (float(toward[0]), float(toward[1]))]
        if spawner:
            run.append("--spawner")
        for setting in sets:
            run += ["--set", setting]
        self.runs.append(run)
        self.copied.append(name)
        model = self.game.objects[name]
        if not self.game.has_body(model):
            return count
        base = rotation if rotation is not None else (self.game.value(model, "Rotation") or 0)
        for index in range(count):
            if circle is not None:
                angle = 2 * math.pi * index / count
                x, y = at[0] + circle * math.cos(angle), at[1] + circle * math.sin(angle)
            else:
                x, y = at[0] + (index % row) * spacing, at[1] + (index // row) * rise
            self.bodies.append(self.game.body(name, x, y, scale or (1.0, 1.0), base + turn * index))
            self.bodies[-1].passes = passes or self.bodies[-1].passes
        return count

    def grid(self, name, region, count, gap, scale=(1.0, 1.0), rotation=0.0, **more):
        """Up to COUNT copies of NAME in rows filling REGION (x0, x1, y0, y1) from its lower left,
        GAP points between neighbours; returns how many fit."""
        left, right, bottom, top = self.extent(name, scale, rotation)
        step_x, step_y = right - left + gap, top - bottom + gap
        x0, x1, y0, y1 = region
        per_row, rows = fit(x1 - x0, right - left, step_x), fit(y1 - y0, top - bottom, step_y)
        count = min(count, per_row * rows)
        if count <= 0:
            return 0
        return self.lay(name, count, (x0 - left, y0 - bottom), row=per_row, spacing=step_x, rise=step_y,
                        scale=scale, rotation=rotation, **more)

    def capacity(self, name, region, gap, scale=(1.0, 1.0), rotation=0.0):
        left, right, bottom, top = self.extent(name, scale, rotation)
        x0, x1, y0, y1 = region
        return fit(x1 - x0, right - left, right - left + gap) * fit(y1 - y0, top - bottom, top - bottom + gap)

    def wall(self, inner, side, height, floor_top=80.0):
        """An upright copy of the floor, 32 points thick and HEIGHT high, standing on the floor, its
        inner face at x INNER, on the left (side -1) or the right (+1) of what it holds."""
        long_side = 128.0 * 9.5
        x = inner - 16.0 if side < 0 else inner + 16.0
        self.lay("Floor", 1, (x, floor_top + height / 2), scale=(height / long_side, 1.0), rotation=90.0)

    def check(self):
        game = self.game
        dropped = []
        for model in game.children:
            name = model["name"]
            if name in self.kept:
                if game.has_body(model):
                    x, y = self.moved.get(name, game.value(model, "Position"))
                    self.bodies.append(game.body(name, x, y, model=model))
                    self.bodies[-1].own = name not in self.moved
            elif game.has_body(model) or name in self.copied:
                dropped.append(name)
            elif model["class"] == "KXModelObjectGroup":
                # A group would make its members, which the section no longer lays.
                dropped.append(name)
        if dropped:
            self.runs.append([word for name in sorted(set(dropped)) for word in ("--drop", name)])
        pair = first_overlap(self.bodies)
        if pair:
            a, b = pair
            sys.exit("not a valid level: %s at %.2f,%.2f overlaps %s at %.2f,%.2f" %
                     (a.label, a.x, a.y, b.label, b.x, b.y))

    def write(self, out):
        if os.path.exists(out):
            shutil.rmtree(out)
        shutil.copytree(self.game.dir, out)
        for run in self.runs:
            command = [sys.executable, PILE, self.game.dump_path, out, self.settings["section"]] + run
            result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
            if result.returncode != 0:
                sys.exit("pile_level.py %s: %s" % (" ".join(run), result.stderr.strip()))


def scale_of(rng, low=0.25, high=4.0, stretch=False):
    k = round(log_uniform(rng, low, high), 2)
    if stretch and rng.random() < 0.3:
        return k, round(min(high, max(low, k * log_uniform(rng, 0.5, 2.0))), 2)
    return k, k


def gap_of(rng):
    return rng.choice([0.0, 0.0, 0.5, 1.0, 2.0, 3.0, 5.0, 12.0])


# --- recipes: each fills a Level ---


def magnet_coins(level):
    # The hero walks into the magnet with hundreds to thousands of coins within its reach of 400.
    rng = level.rng
    k = rng.choice([0.25, 0.5, 0.5, 0.75, 1.0])
    gap = rng.choice([0.0, 0.0, 1.0, 2.0, 3.0, 5.0])
    mx, my = 252 + 18 + rng.choice([4, 10, 30]), 115.0
    level.move("Meadow Magnet", mx, my)
    reach = rng.choice([300, 380])
    blocks = [(mx + 18 + gap, mx + reach, 82, my + reach),  # beside the magnet and over it
              (max(0, mx - reach), mx + 18, 150 + gap, my + reach),  # over the hero
              (0, 208 - gap, 82, 150)]  # behind the hero
    capacity = sum(level.capacity("Meadow Coin 1", b, gap, (k, k)) for b in blocks)
    want = pick_count(rng, capacity, level.max_bodies, 200)
    laid = 0
    for block in blocks:
        laid += level.grid("Meadow Coin 1", block, want - laid, gap, (k, k))
    level.play += ["--key", "300:down:J"] if rng.random() < 0.3 else []
    level.about.update(coins=laid, scale=k, gap=gap, reach=reach)


def _pit(level, width_range=(110, 900)):
    rng = level.rng
    left = rng.choice([100, 150, 180, 200])
    # The hero (208 to 252) stands inside, with room for bodies beside it.
    width = max(int(rng.uniform(*width_range)), 300 - left)
    width = min(width, 1144 - left)
    height = rng.choice([160, 304, 456, 608])
    level.wall(left, -1, height)
    level.wall(left + width, 1, height)
    level.about.update(pit="%d-%d" % (left, left + width), wall=height)
    return left, left + width, height


def ball_pit(level):
    # Balls heaped between two walls; the hero stands inside and walks into them. (Boulders end its
    # run: they come in rows.)
    rng = level.rng
    left, right, height = _pit(level)
    kind = "Ball"
    k = round(log_uniform(rng, 0.25, 1.0), 2)
    gap = gap_of(rng)
    region = (max(left, 252 + gap), right, 80, 80 + height * rng.choice([0.5, 0.8, 1.0]))
    capacity = level.capacity(kind, region, gap, (k, k))
    count = level.grid(kind, region, pick_count(rng, capacity, level.max_bodies), gap, (k, k),
                       velocity=rng.choice([None, (0, 0)]))
    if rng.random() < 0.5:
        level.play += ["--key", "300:down:J"]
    level.about.update(kind=kind, count=count, scale=k, gap=gap)


def spawner_pit(level):
    # Balls that spawn copies of themselves over a pit, which their copies fill.
    rng = level.rng
    left, right, height = _pit(level, (110, 700))
    kind = "Ball"
    k = round(log_uniform(rng, 0.25, 1.0), 2)
    gap = gap_of(rng)
    _, size, _, _ = level.extent(kind, (k, k), 0)
    size *= 2
    inside = (max(left, 252 + gap), right, 80, 80 + height)
    capacity = level.capacity(kind, inside, 0, (k, k))
    # A spawner lays a copy every 1.2 s: some six over a run, all of which the pit must hold.
    spawners = max(1, min(40, capacity // 12, int((right - left) // (size + 1 + gap))))
    spawners = rng.randint(1, spawners)
    # Over the pit beside the hero.
    row = (max(left, 252) + gap, right - gap, 80 + height + 40, 80 + height + 40 + size)
    made = level.grid(kind, row, spawners, max(1.0, gap), (k, k), velocity=(0, 0), spawner=True)
    preload = rng.choice([0, 0, capacity // 4])
    preload = level.grid(kind, inside, min(preload, level.max_bodies), gap, (k, k), velocity=(0, 0))
    level.about.update(kind=kind, spawners=made, preload=preload, scale=k, gap=gap)


def bullets(level):
    # Ships side by side, all firing, and a swarm ahead of them.
    rng = level.rng
    k = round(log_uniform(rng, 0.5, 1.5), 2)
    gap = gap_of(rng)
    ships_room = (40, 330, 40, 600)
    level.replace("Ship")
    ships = rng.randint(1, min(40, level.capacity("Ship", ships_room, gap, (k, k))))
    ships = level.grid("Ship", ships_room, ships, gap, (k, k))
    target = rng.choice(["Scout", "Scout", "Bay Coin 1"])
    kt = round(log_uniform(rng, 0.25, 1.5), 2)
    gap_t = gap_of(rng)
    swarm_room = (420, 1130, 40, 600)
    swarm = level.grid(target, swarm_room, pick_count(rng, level.capacity(target, swarm_room, gap_t, (kt, kt)),
                                                      level.max_bodies), gap_t, (kt, kt))
    level.about.update(ships=ships, ship_scale=k, swarm=target, count=swarm, scale=kt, gap=gap_t)


def paths_converge(level):
    # Paths laid on a circle around one point, each catching the crate (or barrel) on its start and
    # carrying it to the centre.
    rng = level.rng
    path, carried = rng.choice([("Belt", "Belt Crate"), ("Shuttle", "Barrel")])
    k = round(log_uniform(rng, 0.25, 1.0), 2)
    gap = gap_of(rng)
    left, right, bottom, top = level.extent(carried, (k, k), 0)
    size = max(right - left, top - bottom)
    cx, cy = rng.choice([(568, 320), (700, 300), (500, 360)])
    most = min(cx - 40, 1096 - cx, cy - 40, 600 - cy) - size
    count = rng.randint(2, 48)
    # Neighbours on the circle stay a diagonal and the gap apart.
    least = (size * math.sqrt(2) + gap) / (2 * math.sin(math.pi / count))
    while least > most and count > 2:
        count -= 1
        least = (size * math.sqrt(2) + gap) / (2 * math.sin(math.pi / count))
    radius = round(rng.uniform(least, max(least, most)), 1)
    mode = rng.choice(["kPlayModeSingle", "kPlayModeLoop", "kPlayModePingPong"])
    speed = rng.choice([2, 4, 6, 8])
    level.lay(path, count, (cx, cy), circle=radius, toward=(cx, cy),
              sets=['Play Mode="%s"' % mode, "Speed=%d" % speed])
    level.lay(carried, count, (cx, cy), circle=radius, scale=(k, k), velocity=(0, 0))
    level.about.update(paths=count, carried=carried, radius=radius, scale=k, mode=mode[len("kPlayMode"):], speed=speed)


def portals_one_exit(level):
    # Explorers in a column, each walking into a portal of its own; every portal sends to its exits
    # (one, or a few), all of which stand side by side in one cluster, where the explorers come out
    # together. Each portal and its exits form a group of their own: portals of one group would send
    # to one another too.
    rng = level.rng
    gap = gap_of(rng)
    step = 60 + gap
    rows = rng.randint(1, fit(560, 60, step))
    level.replace("Explorer")
    y0 = 40 + (560 - (rows - 1) * step - 60) / 2 + 30
    level.lay("Explorer", rows, (80, y0), row=1, spacing=step)
    portal_x = rng.choice([200, 260, 340])
    exits = rng.choice([1, 1, 1, 2, 3])
    columns = int(math.ceil(math.sqrt(rows * exits)))
    lines = int(math.ceil(rows * exits / columns))
    ex, ey = rng.choice([(800, 320), (950, 200), (700, 480)])
    ex = min(ex, 1096 - 30 - (columns - 1) * step)
    ey = min(max(ey, 70), 600 - 30 - (lines - 1) * step)
    for index in range(rows):
        group = "Group ID=%d" % (100 + index)
        level.lay("Works Portal", 1, (portal_x, y0 + index * step), sets=["Search Radius=2000", group])
        for cell in range(index * exits, (index + 1) * exits):
            level.lay("Works Portal Exit", 1, (ex + (cell % columns) * step, ey + (cell // columns) * step),
                      sets=["Search Radius=2000", group])
    crates = 0
    if rng.random() < 0.5:
        k = round(log_uniform(rng, 0.25, 1.0), 2)
        region = (ex + columns * step + 40, 1096, 40, 600)
        crates = level.grid("Belt Crate", region, pick_count(rng, level.capacity("Belt Crate", region, gap, (k, k)),
                                                              level.max_bodies), gap, (k, k), velocity=(0, 0))
    level.about.update(explorers=rows, exits=exits, crates=crates, gap=gap)


def characters(level):
    # Characters side by side walking into a wall, where they bunch up (they pass through one another).
    rng = level.rng
    gap = gap_of(rng)
    if level.game.scenario == "platformer":
        k = round(log_uniform(rng, 0.5, 1.5), 2)
        wall = rng.choice([700, 900, 1100])
        level.wall(wall, 1, 608)
        region = (20, wall - 40, 80, 80 + rng.choice([1, 2, 3]) * 80 * k)
        name = "Hero"
    else:
        k = round(log_uniform(rng, 0.5, 2.0), 2)
        region = (44, rng.choice([400, 700, 1000]), 44, 596)
        name = "Explorer"
    level.replace(name)
    want = pick_count(rng, level.capacity(name, region, gap, (k, k)), min(level.max_bodies, 200))
    count = level.grid(name, region, want, gap, (k, k))
    level.about.update(kind=name, count=count, scale=k, gap=gap)


ROWS_KINDS = {
    "platformer": ["Ball", "Boulder", "Crab 1", "Armoured Crab", "Lift", "Ledge", "Meadow Coin 1", "Meadow Shield",
                   "Meadow Magnet", "Cannonball"],
    "portals-and-paths": ["Belt Crate", "Barrel", "Works Portal", "Works Portal Exit", "Turnstile", "Paint Gate"],
    "top-down": ["Tree 1", "Beetle 1", "Moth 1", "Top", "Crate", "Ruby 1"],
    "shooter": ["Scout", "Bay Coin 1"],
}


def rows(level):
    # One kind of body in rows filling the room beside the character: any scale, turned or not.
    rng = level.rng
    name = rng.choice(ROWS_KINDS[level.game.scenario])
    shape = level.game.shape(level.game.objects[name])
    scale = scale_of(rng, stretch=shape[0] == "box")
    rotation = 0.0
    if shape[0] == "box":
        rotation = rng.choice([0.0, 0.0, 90.0, 45.0, float(rng.randint(0, 359))])
    gap = gap_of(rng)
    x0, x1, y0, y1 = level.settings["room"]
    region = (x0 + gap, x1, y0, y1)
    capacity = level.capacity(name, region, gap, scale, rotation)
    while capacity == 0:
        scale = (scale[0] / 2, scale[1] / 2)
        capacity = level.capacity(name, region, gap, scale, rotation)
    count = level.grid(name, region, pick_count(rng, capacity, level.max_bodies), gap, scale, rotation)
    level.walk = name not in DEADLY
    level.about.update(kind=name.replace(" ", "_"), count=count, scale="%gx%g" % scale, turn=rotation, gap=gap)


def character_rows(level):
    # Up to about a thousand small characters (a quarter to a half of their size) in rows walking
    # into a wall. They pass through one another, so rows may stand closer than a character is wide.
    rng = level.rng
    k = round(log_uniform(rng, 0.25, 0.5), 2)
    if level.game.scenario == "platformer":
        wall = rng.choice([500, 700, 900, 1100])
        level.wall(wall, 1, 608)
        region = (20, wall - rng.choice([0, 10, 40]), 80, 80 + rng.choice([80, 160, 320, 500]))
        name = "Hero"
    else:
        # The walled room's east wall is the one they walk into.
        region = (44, rng.choice([400, 700, 1000, 1092]), 44, 596)
        name = "Explorer"
    level.replace(name)
    left, right, _, _ = level.extent(name, (k, k), 0)
    # Apart by a gap, touching, or overlapping by up to half of a character.
    gap = rng.choice([gap_of(rng), 0.0, -0.25 * (right - left), -0.5 * (right - left)])
    most = min(level.max_bodies, CHARACTER_ROWS_MAX)
    count = level.grid(name, region, pick_count(rng, level.capacity(name, region, gap, (k, k)), most, 300),
                       gap, (k, k))
    level.about.update(kind=name, count=count, scale=k, gap=round(gap, 2))


def ledge_ball_pit(level):
    # A pit between two walls whose floors are shelves of static ledges that overlap one another
    # two to four deep (a ledge every half to quarter of its length), one to three shelves up, with
    # small balls above each shelf, touching at the closest or dropped from a little higher.
    rng = level.rng
    left = rng.choice([300, 360, 420])
    right = left + int(rng.uniform(260, 1140 - left))
    height = rng.choice([456, 540])
    level.wall(left, -1, height)
    level.wall(right, 1, height)
    shelves = rng.choice([1, 1, 2, 3])
    kx, ky = round(rng.uniform(0.5, 1.5), 2), round(rng.uniform(0.5, 1.5), 2)
    deep = rng.choice([2, 3, 4, 4])
    tiers = rng.choice([1, 1, 2])
    k = round(log_uniform(rng, 0.25, 0.6), 2)
    gap = gap_of(rng)
    drop = rng.choice([0.0, 0.0, 1.0, 5.0, 20.0, 60.0])
    l0, l1, b0, b1 = level.extent("Ledge", (kx, ky), 0)
    length, thick = l1 - l0, b1 - b0
    step = length / deep
    per_tier = fit(right - left, length, step)
    # Bands from above the hero's head to the walls' top, a shelf at the bottom of each.
    band = (80 + height - 160) / shelves
    rooms = []
    for index in range(shelves):
        floor = 160 + index * band
        # A second tier half a ledge's thickness up overlaps the first.
        level.lay("Ledge", per_tier * tiers, (left - l0, floor - b0), row=per_tier, spacing=step, rise=thick / 2,
                  scale=(kx, ky), rotation=0.0, passes="ledge")
        top = floor + thick + (tiers - 1) * thick / 2
        rooms.append((left, right, top + drop, floor + band))
    capacity = sum(level.capacity("Ball", room, gap, (k, k)) for room in rooms)
    want = pick_count(rng, capacity, level.max_bodies)
    laid = 0
    for room in rooms:
        laid += level.grid("Ball", room, want - laid, gap, (k, k))
    level.about.update(pit="%d-%d" % (left, right), shelves=shelves, ledges=per_tier * tiers * shelves,
                       deep=deep * tiers, ledge_scale="%gx%g" % (kx, ky), balls=laid, scale=k, gap=gap, drop=drop)


def spread(level):
    # Ten to forty thousand crates or barrels 40 to 60 points apart, none touching, in rows running
    # far past the screen: the works' north and east walls go to make the room.
    rng = level.rng
    name = rng.choice(["Belt Crate", "Barrel"])
    spacing = rng.randint(40, 60)
    gap = rng.choice([1.0, 2.0, 4.0, 8.0, 12.0])
    left, right, bottom, top = level.extent(name)
    k = min(1.0, math.floor(100 * (spacing - gap) / max(right - left, top - bottom)) / 100)
    most = level.max_bodies
    count = max(1, int(round(log_uniform(rng, min(SPREAD_LEAST_BODIES, most), most))))
    per_row = rng.choice([int(math.ceil(math.sqrt(count))), 100, 200, 400])
    level.replace("Wall North")
    level.replace("Wall East")
    # Clear of the explorer (at x 110, 24 points round) and of the west and south walls.
    level.lay(name, count, (140 - left * k, 44 - bottom * k), row=per_row, spacing=spacing, scale=(k, k))
    level.about.update(kind=name.replace(" ", "_"), count=count, spacing=spacing, scale=k, row=per_row)


def kinematic_block(level):
    # A block of up to a thousand ledges or lifts side by side, all moving at one set speed.
    rng = level.rng
    name = rng.choice(["Ledge", "Lift"])
    k = round(log_uniform(rng, 0.25, 0.6), 2)
    gap = gap_of(rng)
    speed = rng.choice([0.5, 1.0, 2.0, 4.0])
    velocity = rng.choice([(speed, 0.0), (-speed, 0.0), (0.0, speed), (0.0, -speed)])
    x0, x1, y0, y1 = level.settings["room"]
    region = (x0 + gap, x1, y0 + gap, y1)
    most = min(level.max_bodies, KINEMATIC_BLOCK_MAX)
    want = pick_count(rng, level.capacity(name, region, gap, (k, k)), most, 300)
    count = level.grid(name, region, want, gap, (k, k), velocity=velocity)
    level.about.update(kind=name, count=count, scale=k, gap=gap, velocity="%g,%g" % velocity)


# Recipe name, scenario (or a choice), maker.
RECIPES = [
    ("magnet-coins", ["platformer"], magnet_coins),
    ("ball-pit", ["platformer"], ball_pit),
    ("spawner-pit", ["platformer"], spawner_pit),
    ("bullets", ["shooter"], bullets),
    ("paths-converge", ["portals-and-paths"], paths_converge),
    ("portals-one-exit", ["portals-and-paths"], portals_one_exit),
    ("characters", ["platformer", "portals-and-paths", "top-down"], characters),
    ("rows", ["platformer", "portals-and-paths", "top-down", "shooter"], rows),
]
# Only --recipes takes these: in the rotation they would move every seed's recipe.
MORE_RECIPES = [
    ("character-rows", ["platformer", "portals-and-paths", "top-down"], character_rows),
    ("ledge-ball-pit", ["platformer"], ledge_ball_pit),
    ("spread", ["portals-and-paths"], spread),
    ("kinematic-block", ["platformer"], kinematic_block),
]
CAPS = {"spread": SPREAD_MAX_BODIES}


def option(argv, name):
    """The value of option NAME, and ARGV without it."""
    if name not in argv:
        return None, argv
    at = argv.index(name)
    if at + 1 >= len(argv):
        sys.exit("%s needs a value" % name)
    return argv[at + 1], argv[:at] + argv[at + 2:]


def main(argv):
    if argv[1:] == ["--recipes"]:
        print("\n".join(name for name, _, _ in RECIPES + MORE_RECIPES))
        return
    if argv[1:] == ["--rotation"]:
        print("\n".join(name for name, _, _ in RECIPES))
        return
    max_bodies, argv = option(argv, "--max-bodies")
    names, argv = option(argv, "--recipes")
    if len(argv) != 4:
        sys.exit("usage: valid_level.py SEED GAMES_DIR OUT_DIR [--max-bodies N] [--recipes R,R] | --recipes | --rotation")
    rotation = RECIPES
    if names is not None:
        known = dict((recipe[0], recipe) for recipe in RECIPES + MORE_RECIPES)
        unknown = [name for name in names.split(",") if name not in known]
        if unknown or not names:
            sys.exit("no recipe %s (valid_level.py --recipes lists them)" % ",".join(unknown))
        rotation = [known[name] for name in names.split(",")]
    seed, games, out = int(argv[1]), argv[2], argv[3]
    name, scenarios, make = rotation[seed % len(rotation)]
    rng = random.Random(seed)
    level = Level(Game(games, rng.choice(scenarios)), rng,
                  int(max_bodies) if max_bodies is not None else CAPS.get(name, MAX_BODIES))
    make(level)
    level.check()
    level.write(out)
    about = " ".join("%s=%s" % item for item in level.about.items())
    if level.walk:
        level.play += ["--key", level.settings["walk"]]
    print("seed=%d recipe=%s scenario=%s bodies=%d %s | %s --trace %s" % (
        seed, name, level.game.scenario, len(level.bodies), about, " ".join(level.play), TRACES))


if __name__ == "__main__":
    main(sys.argv)
