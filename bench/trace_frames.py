# Reads kxsim trace lines ("F=<frame> ...") on standard input, as they arrive, and prints once they
# end: "WALL LONGEST_FRAME FRAME LAYS STEPS", the seconds from the first line to the last, the
# longest time between two frames' first lines and the frame that took it, the sections laid and
# the world steps taken (the "sections" and "field" kinds' lines).
import re
import sys
import time

start = time.monotonic()
last, frame, longest, at, lays, steps = None, None, 0.0, "-", 0, 0
for line in sys.stdin:
    now = time.monotonic()
    if " sections lay " in line:
        lays += 1
    if " field step=" in line:
        steps += 1
    match = re.match(r"F=(\d+) ", line)
    if not match or match.group(1) == frame:
        continue
    if last is not None and now - last > longest:
        longest, at = now - last, frame
    last, frame = now, match.group(1)
print("%.2f %.3f %s %d %d" % (time.monotonic() - start, longest, at, lays, steps))
