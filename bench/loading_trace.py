# Reads kxsim's loading trace ("F=<frame> loading progress=<P>", a line a loading step) on standard
# input, as the lines arrive, and prints once they end: "STEPS LONGEST_MS DONE", the loading steps
# traced, the longest time between two of them in milliseconds (the step and the frame around it,
# wall time) and 1 when the progress reached 100.
import sys
import time

steps, longest, done, last = 0, 0.0, 0, None
for line in sys.stdin:
    now = time.monotonic()
    if " loading progress=" not in line:
        continue
    steps += 1
    if last is not None:
        longest = max(longest, now - last)
    last = now
    if line.rstrip().endswith("progress=100"):
        done = 1
print("%d %.2f %d" % (steps, longest * 1000, done))
