# Reads kxsim trace lines ("F=<frame> ...", with the field's and the sections' kinds) on standard
# input, as they arrive, and once they end reads the step meter's file (KX_STEP_METER) and prints one
# crowd run's figures for bench/kxsim_crowds.sh:
#
#   python3 crowd_frames.py FRAMES SECTION COPIES METER
#
# "LONGEST FRAME OTHER OTHER_FRAME OVER_QUARTER OVER_HALF STEPS HELD BUDGET": the longest frame in
# seconds and the frame it was; the longest frame other than the one that laid SECTION, and its
# frame; the frames over 0.25 s and over 0.5 s (the laying frame not counted when it laid more than
# 20,000 objects, COPIES telling how many it did); the field's steps; the bodies held out of the
# physics after the last step (r.held); and the step budget's own time as a share of the wall time
# from the first step on, in percent. A frame runs from its first line's arrival to the next
# frame's first line. Only frames up to FRAMES count: the run is given one more, whose first line
# ends frame FRAMES before the run is taken down. Once the field stops stepping (game over, another
# screen) frames print nothing: the last one that did runs to the end of the output. "-" where the
# run never got that far.
import re
import sys
import time

frames, section, copies, meter = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), sys.argv[4]
starts, frame, laid, first_step, steps, end = [], None, None, None, 0, None
for line in sys.stdin:
    now = time.monotonic()
    match = re.match(r"F=(\d+) ", line)
    if not match or end is not None:
        continue
    if int(match.group(1)) > frames:
        end = now
        continue
    if match.group(1) != frame:
        frame = match.group(1)
        starts.append((frame, now))
    if laid is None and " sections lay " in line and re.search(r" name=%s at=" % re.escape(section), line):
        laid = frame
    if " field step=" in line:
        steps += 1
        first_step = now if first_step is None else first_step
end = time.monotonic() if end is None else end

times = [(f, (starts[i + 1][1] if i + 1 < len(starts) else end) - t) for i, (f, t) in enumerate(starts)]
longest = max(times, key=lambda f: f[1], default=("-", None))
others = [f for f in times if f[0] != laid]
other = max(others, key=lambda f: f[1], default=("-", None))
counted = others if copies > 20000 else times

budget, held, first = 0, "-", None
try:
    for line in open(meter):
        values = dict(pair.split("=", 1) for pair in line.split() if "=" in pair)
        if int(values.get("F", 0)) > frames:
            break
        budget += int(values.get("budget", 0))
        held = values.get("r.held", held)
        if first is None:
            first = values
except OSError:
    pass
share = "-"
if first_step is not None and first is not None:
    # The first step's trace line comes after that step: its own time is taken back from the meter.
    stepping = end - first_step + (int(first.get("measured", 0)) + int(first.get("budget", 0))) / 1e9
    share = "%.1f" % (100.0 * budget / 1e9 / stepping) if stepping > 0 else "-"


def seconds(value):
    return "-" if value is None else "%.3f" % value


print("%s %s %s %s %d %d %d %s %s" % (
    seconds(longest[1]), longest[0], seconds(other[1]), other[0],
    sum(1 for _, t in counted if t > 0.25), sum(1 for _, t in counted if t > 0.5), steps, held, share))
