# Reads the step meter's files (KX_STEP_METER, one a level, each named after its level) and tells
# how the step budget's prediction stands against the steps' measured cost.
#
#   python3 bench/step_calibration.py METER_FILE... [--worst N] [--fit [--relative] [--parts NAME,NAME]]
#
# A meter line is "S=<step> F=<frame> measured=<ns> step=<ns> rays=<ns> budget=<ns> predicted=<ns>
# acts=<0|1>" and then the prediction's parts and counts, key=value. Per level: its steps, those
# measured over 10 ms, the least predicted/measured among those, the largest predicted/measured
# among the steps that act (predicted past the 200 ms budget), the budget's own time as a share of
# the measured time (over the level) and the largest share one step took, and the longest step;
# then the totals. A level breaks the band when a step over 10 ms is predicted under half its
# measured time (under), when a step that acts is predicted over twice its measured time (over), or
# when the budget takes more than 5 % of the measured time (budget).
#
# --worst N lists the N worst steps of each kind across the levels, with their level, step and
# parts. --fit fits the measured time to the numeric parts (least squares, weights not below 0, in
# ns per unit, plus a cost for each step), over every step, and shows the band again with the
# fitted prediction in place of the meter's; --parts limits the fit to the parts named. Parts named
# "us.*" are Box2D's own split of the measured time: the fit takes them only when --parts names them.
# The plain fit is ruled by the longest steps; --relative weighs each step by the inverse square of
# its measured time instead (leaving out steps under 1 ms), so that it fits predicted/measured,
# which is what the band asks of.
import argparse
import heapq
import math
import os
import sys

BUDGET = 200_000_000
SLOW = 10_000_000
BUDGET_SHARE = 0.05
CORE = ("S", "F", "measured", "step", "rays", "budget", "predicted", "acts")
EACH_STEP = "(each step)"
# Parts that are times Box2D measured, not counts a prediction could weigh.
TIMES = "us."
# Files whose unreadable lines were reported (each is read again for --fit).
WARNED = set()


def read(path):
    """The steps of one meter file: dicts of the line's values (numbers where they are), in order."""
    bad = 0
    with open(path, errors="replace") as lines:
        for line in lines:
            values = {}
            for word in line.split():
                key, sep, text = word.partition("=")
                if not sep:
                    continue
                try:
                    values[key] = float(text)
                except ValueError:
                    values[key] = text
            if not all(isinstance(values.get(key), float) for key in CORE):
                bad += 1
                continue
            yield values
    if bad and path not in WARNED:
        WARNED.add(path)
        print("%s: %d lines without the meter's values skipped" % (path, bad), file=sys.stderr)


def parts_of(values):
    return " ".join("%s=%s" % (k, fmt_value(v)) for k, v in values.items() if k not in CORE)


def fmt_value(value):
    return "%d" % value if isinstance(value, float) and value.is_integer() else str(value)


class Tally:
    """One level's figures (or the corpus's)."""

    def __init__(self, name):
        self.name = name
        self.steps = self.slow = self.under = self.over = 0
        self.least = self.most = None
        self.measured = self.budget = 0.0
        self.top_share = None
        self.longest = 0.0

    def add(self, measured, predicted, acts, budget):
        self.steps += 1
        self.measured += measured
        self.budget += budget
        self.longest = max(self.longest, measured)
        if measured > 0:
            share = budget / measured
            self.top_share = share if self.top_share is None else max(self.top_share, share)
        if measured > SLOW:
            self.slow += 1
            ratio = predicted / measured
            self.least = ratio if self.least is None else min(self.least, ratio)
            if ratio < 0.5:
                self.under += 1
        if acts and measured > 0:
            ratio = predicted / measured
            self.most = ratio if self.most is None else max(self.most, ratio)
            if ratio > 2:
                self.over += 1

    def merge(self, other):
        self.steps += other.steps
        self.slow += other.slow
        self.under += other.under
        self.over += other.over
        self.measured += other.measured
        self.budget += other.budget
        self.longest = max(self.longest, other.longest)
        for field, pick in (("least", min), ("most", max), ("top_share", max)):
            mine, theirs = getattr(self, field), getattr(other, field)
            setattr(self, field, theirs if mine is None else mine if theirs is None else pick(mine, theirs))

    def share(self):
        return self.budget / self.measured if self.measured > 0 else None

    def flags(self):
        if self.steps == 0:
            return ["no steps"]
        said = []
        if self.under:
            said.append("under:%d" % self.under)
        if self.over:
            said.append("over:%d" % self.over)
        share = self.share()
        if share is not None and share > BUDGET_SHARE:
            said.append("budget:%.1f%%" % (100 * share))
        return said


def ratio_text(value):
    return "-" if value is None else "%.3g" % value


def percent_text(value):
    return "-" if value is None else "%.2f" % (100 * value)


def table(tallies, title):
    width = max([len(t.name) for t in tallies] + [5])
    print(title)
    print("%-*s %7s %6s %9s %9s %8s %8s %10s  %s" % (
        width, "level", "steps", ">10ms", "least p/m", "most p/m", "budget%", "top%", "longest ms", "band"))
    total = Tally("total")
    for tally in tallies:
        total.merge(tally)
        print("%-*s %7d %6d %9s %9s %8s %8s %10.2f  %s" % (
            width, tally.name, tally.steps, tally.slow, ratio_text(tally.least), ratio_text(tally.most),
            percent_text(tally.share()), percent_text(tally.top_share), tally.longest / 1e6,
            ",".join(tally.flags()) or "ok"))
    print("%-*s %7d %6d %9s %9s %8s %8s %10.2f  %s" % (
        width, total.name, total.steps, total.slow, ratio_text(total.least), ratio_text(total.most),
        percent_text(total.share()), percent_text(total.top_share), total.longest / 1e6,
        ",".join(total.flags()) or "ok"))
    broken = [t.name for t in tallies if t.flags()]
    print("levels %d, breaking the band %d%s" % (len(tallies), len(broken), (": " + " ".join(broken)) if broken else ""))


class Worst:
    """The N worst steps of one kind: a heap on their key, largest kept."""

    def __init__(self, count):
        self.count, self.heap, self.order = count, [], 0

    def offer(self, key, entry):
        self.order += 1
        item = (key, -self.order, entry)
        if len(self.heap) < self.count:
            heapq.heappush(self.heap, item)
        elif item > self.heap[0]:
            heapq.heapreplace(self.heap, item)

    def entries(self):
        return [entry for _, _, entry in sorted(self.heap, reverse=True)]


def step_text(level, values):
    return "%s S=%s F=%s measured=%.3fms predicted=%.3fms budget=%.3fms  %s" % (
        level, fmt_value(values["S"]), fmt_value(values["F"]), values["measured"] / 1e6, values["predicted"] / 1e6,
        values["budget"] / 1e6, parts_of(values))


def solve(matrix, vector):
    """Gaussian elimination with partial pivoting; None when singular."""
    size = len(vector)
    rows = [list(matrix[i]) + [vector[i]] for i in range(size)]
    for col in range(size):
        pivot = max(range(col, size), key=lambda r: abs(rows[r][col]))
        if abs(rows[pivot][col]) < 1e-12:
            return None
        rows[col], rows[pivot] = rows[pivot], rows[col]
        for r in range(col + 1, size):
            factor = rows[r][col] / rows[col][col]
            if factor:
                for c in range(col, size + 1):
                    rows[r][c] -= factor * rows[col][c]
    out = [0.0] * size
    for r in range(size - 1, -1, -1):
        out[r] = (rows[r][size] - sum(rows[r][c] * out[c] for c in range(r + 1, size))) / rows[r][r]
    return out


def nnls(gram, cross):
    """Lawson and Hanson's non-negative least squares, from X'X and X'y (scaled to a unit diagonal)."""
    size = len(cross)
    weights = [0.0] * size
    active = []
    tol = 1e-10
    for _ in range(10 * size + 10):
        gradient = [cross[i] - sum(gram[i][j] * weights[j] for j in range(size)) for i in range(size)]
        free = [i for i in range(size) if i not in active and gradient[i] > tol]
        if not free:
            break
        active.append(max(free, key=lambda i: gradient[i]))
        while True:
            sub = solve([[gram[i][j] + (1e-9 if i == j else 0.0) for j in active] for i in active],
                        [cross[i] for i in active])
            if sub is None:
                active.pop()
                break
            trial = [0.0] * size
            for i, value in zip(active, sub):
                trial[i] = value
            if all(trial[i] > 0 for i in active):
                weights = trial
                break
            alpha = min(weights[i] / (weights[i] - trial[i]) for i in active if trial[i] <= 0)
            weights = [w + alpha * (t - w) for w, t in zip(weights, trial)]
            active = [i for i in active if weights[i] > tol]
    return weights


# Walks and a scan's jumps cost more in a world of many contacts (player/physics/KXPStepWork.h,
# farShare): the fit weighs them so, leaving the near price to find. A scan's reach is the
# contacts' memory as packed contacts ("p.scanReach"), and its share rises to a wider world; its
# looks read in order ("p.scans") keep one price. Meter files written before the jumps were counted
# weigh all the scan's looks so. Keep these as that file has them.
NEAR_CONTACTS, FAR_CONTACTS, SCAN_FAR_CONTACTS, FAR_TIMES = 4096, 65536, 131072, 8


def far_share(reach):
    span = FAR_CONTACTS - NEAR_CONTACTS
    beyond = min(max(reach - NEAR_CONTACTS, 0), span)
    return 1 + (FAR_TIMES - 1) * (beyond / span) ** 2


def scan_share(reach):
    span = SCAN_FAR_CONTACTS - NEAR_CONTACTS
    beyond = min(max(reach - NEAR_CONTACTS, 0), span)
    return 1 + (FAR_TIMES - 1) * (beyond / span) ** 2


# The scan's jumps of a list read out of order pay more again in a world past the caches
# ("p.scanScattered"): from none at SCATTERED_CONTACTS of reach to all from twice that on.
SCATTERED_CONTACTS = 24576


def scattered_share(reach):
    return min(max(reach - SCATTERED_CONTACTS, 0), SCATTERED_CONTACTS) / SCATTERED_CONTACTS


FAR_PRICED = {
    "p.walks": ("p.reach", far_share),
    "p.scanJumps": ("p.scanReach", scan_share),
    "p.scanScattered": ("p.scanReach", scattered_share),
}


def fit(paths, only, relative):
    """Fits measured = sum of weight x part over every step; returns (names, weights, summary)."""
    index = {}
    gram, cross = {}, {}
    total_y2, count, sum_y = 0.0, 0, 0.0
    means = {}
    for path in paths:
        for values in read(path):
            row = {EACH_STEP: 1.0}
            for key, value in values.items():
                if key in CORE or not isinstance(value, float):
                    continue
                if key not in only if only else key.startswith(TIMES):
                    continue
                row[key] = value
            reaches = {name: row.pop(name, None) for name in ("p.reach", "p.scanReach")}
            if "p.scans" in row and "p.scanJumps" not in row:
                row["p.scanJumps"] = row.pop("p.scans")
            for key, (reach_name, share) in FAR_PRICED.items():
                # Meter files written before the scan's reach of its own had the world's.
                reach = reaches[reach_name] if reaches[reach_name] is not None else reaches["p.reach"]
                if reach is not None and key in row:
                    row[key] *= share(reach)
            y = values["measured"]
            if relative and y < 1e6:
                continue
            weight = 1.0 / (y * y) if relative else 1.0
            count += 1
            sum_y += weight * y
            total_y2 += weight * y * y
            for key, value in row.items():
                index.setdefault(key, len(index))
                means[key] = means.get(key, 0.0) + value
                cross[key] = cross.get(key, 0.0) + weight * value * y
            keys = list(row)
            for a in keys:
                line = gram.setdefault(a, {})
                va = weight * row[a]
                for b in keys:
                    line[b] = line.get(b, 0.0) + va * row[b]
    parts = [k for k in sorted(index, key=index.get) if gram.get(k, {}).get(k, 0.0) > 0]
    if not parts or count == 0:
        return [], [], None
    scale = [math.sqrt(gram[k][k]) for k in parts]
    g = [[gram[a].get(b, 0.0) / (scale[i] * scale[j]) for j, b in enumerate(parts)] for i, a in enumerate(parts)]
    c = [cross[a] / scale[i] for i, a in enumerate(parts)]
    w = nnls(g, c)
    weights = [w[i] / scale[i] for i in range(len(parts))]
    # Residual sum of squares from the sums: y'y - 2 w'X'y + w'X'Xw.
    rss = total_y2 - 2 * sum(weights[i] * cross[a] for i, a in enumerate(parts)) + sum(
        weights[i] * weights[j] * gram[a].get(b, 0.0) for i, a in enumerate(parts) for j, b in enumerate(parts))
    # With weights the sums are weighted alike: rms is then that of the relative error.
    mean_y = sum_y / count
    tss = total_y2 - sum_y * mean_y
    summary = {"steps": count, "rms": math.sqrt(max(rss, 0.0) / count),
               "r2": 1 - rss / tss if tss > 0 else None, "means": {k: means[k] / count for k in parts}}
    return parts, weights, summary


def main():
    parser = argparse.ArgumentParser(description="How the step budget's prediction stands against measured steps.")
    parser.add_argument("files", nargs="+", metavar="METER_FILE")
    parser.add_argument("--worst", type=int, default=0, metavar="N")
    parser.add_argument("--fit", action="store_true")
    parser.add_argument("--parts", default="", metavar="NAME,NAME")
    parser.add_argument("--relative", action="store_true")
    args = parser.parse_args()
    paths = [p for p in args.files if os.path.isfile(p)]
    for missing in sorted(set(args.files) - set(paths)):
        print("%s: no such meter file" % missing, file=sys.stderr)
    if not paths:
        sys.exit("no meter files")

    worst = {kind: Worst(args.worst) for kind in ("under", "over", "budget")}
    tallies = []
    for path in sorted(paths, key=os.path.basename):
        level = os.path.basename(path)
        tally = Tally(level)
        for values in read(path):
            measured, predicted, budget = values["measured"], values["predicted"], values["budget"]
            acts = values["acts"] != 0
            tally.add(measured, predicted, acts, budget)
            if not args.worst:
                continue
            if measured > SLOW:
                worst["under"].offer(-predicted / measured, (predicted / measured, level, values))
            if acts and measured > 0:
                worst["over"].offer(predicted / measured, (predicted / measured, level, values))
            # What the prediction cost past its share of the step.
            worst["budget"].offer(budget - BUDGET_SHARE * measured,
                                  (budget / measured if measured > 0 else math.inf, level, values))
        tallies.append(tally)
    table(tallies, "the meter's prediction (p/m: predicted over measured; %: the budget's own time of the measured)")

    if args.worst:
        for kind, title in (("under", "steps over 10 ms predicted least (predicted/measured)"),
                            ("over", "acting steps predicted most (predicted/measured)"),
                            ("budget", "steps whose prediction cost most past 5 % of the step (budget/measured)")):
            print()
            print("worst %d: %s" % (args.worst, title))
            entries = worst[kind].entries()
            if not entries:
                print("  none")
            for ratio, level, values in entries:
                print("  %8.3g  %s" % (ratio, step_text(level, values)))

    if args.fit:
        only = set(filter(None, args.parts.split(",")))
        parts, weights, summary = fit(sorted(paths), only, args.relative)
        print()
        if summary is None:
            print("fit: no numeric parts in the files")
            return
        if args.relative:
            print("fit of measured on the parts over %d steps of 1 ms or more, each by its relative error (ns per unit;"
                  " rms relative error %.3f%s)" % (summary["steps"], summary["rms"],
                                                    "" if summary["r2"] is None else ", r2 %.4f" % summary["r2"]))
        else:
            print("fit of measured on the parts over %d steps (ns per unit; rms error %.3f ms%s)" % (
                summary["steps"], summary["rms"] / 1e6,
                "" if summary["r2"] is None else ", r2 %.4f" % summary["r2"]))
        print("%-24s %14s %14s %12s" % ("part", "ns per unit", "mean a step", "mean ns"))
        for name, weight in zip(parts, weights):
            mean = summary["means"][name]
            print("%-24s %14.4g %14.4g %12.4g" % (name, weight, mean, weight * mean))
        fitted = dict(zip(parts, weights))
        tallies = []
        for path in sorted(paths, key=os.path.basename):
            tally = Tally(os.path.basename(path))
            for values in read(path):
                predicted = fitted.get(EACH_STEP, 0.0) + sum(
                    w * values[k] for k, w in fitted.items() if k != EACH_STEP and isinstance(values.get(k), float))
                tally.add(values["measured"], predicted, predicted > BUDGET, values["budget"])
            tallies.append(tally)
        print()
        table(tallies, "with the fitted weights in place of the meter's prediction (acting: fitted past 200 ms)")


if __name__ == "__main__":
    main()
