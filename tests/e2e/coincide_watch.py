# Runs one kxsim command and watches its frames go by: tells a run that is slow (it still moves on,
# frame after frame, but would take past the limit) from one that is stuck (no frame for a long
# while), and notes its longest frame.
#
#   python3 coincide_watch.py OUT LIMIT STUCK -- COMMAND...
#
# The command's trace (standard output) goes to OUT and its standard error to OUT.log. Its frames
# are read from the trace lines ("F=<frame> ..."): the command should trace a kind that prints every
# frame of a level (field); menus and the pause screen trace few lines, but their frames are cheap.
# It is stopped, with SIGSEGV so that a sanitizer build says where it was (SIGKILL 60 s later if it
# still runs):
#   - stuck: no new frame for STUCK seconds;
#   - slow: past LIMIT seconds, at its next new frame (it moves on, only slowly).
# OUT.run gets one line: "STATUS SECONDS VERDICT FRAME LONGEST AT" with STATUS the command's exit
# status (128 + the signal for a signal), VERDICT "done" (it ended by itself), "slow" or "stuck",
# FRAME the last frame traced, LONGEST the longest time in seconds between two new frames and AT the
# frame it ended on (the frames between those two new frames took it together; one when it is one
# frame; a stuck run's is the frame it was stopped in). The watcher's own status is the command's.
import os
import re
import select
import signal
import subprocess
import sys
import time

# A trace past this size is not written further (a frame that writes without end): the frames are
# still watched.
TRACE_MAX = 512 * 1024 * 1024
FRAME = re.compile(rb"^F=(\d+) ")
# What a sanitizer build may take to say where a run was stopped.
REPORT_SECONDS = 60


def main(argv):
    if len(argv) < 6 or argv[4] != "--":
        sys.exit("usage: coincide_watch.py OUT LIMIT STUCK -- COMMAND...")
    out, limit, stuck, command = argv[1], float(argv[2]), float(argv[3]), argv[5:]
    start = time.monotonic()
    with open(out, "wb") as trace, open(out + ".log", "wb") as log:
        run = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=log, stdin=subprocess.DEVNULL)
        pipe = run.stdout.fileno()
        frame, moved = 0, start
        longest, longest_at = 0.0, 0
        written, rest = 0, b""
        verdict, stopped = "done", None
        while True:
            now = time.monotonic()
            if stopped is None:
                wait = stuck - (now - moved)
            else:
                wait = REPORT_SECONDS - (now - stopped)
            if wait <= 0:
                if stopped is None:
                    verdict, stopped = "stuck", now
                    run.send_signal(signal.SIGSEGV)
                else:
                    run.kill()
                    break
                continue
            ready, _, _ = select.select([pipe], [], [], wait)
            if not ready:
                continue
            chunk = os.read(pipe, 1 << 16)
            if not chunk:
                break
            if written < TRACE_MAX:
                trace.write(chunk[:TRACE_MAX - written])
                written += len(chunk)
            lines = (rest + chunk).split(b"\n")
            rest = lines.pop()
            now = time.monotonic()
            for line in lines:
                match = FRAME.match(line)
                if not match or int(match.group(1)) <= frame:
                    continue
                if now - moved > longest:
                    longest, longest_at = now - moved, int(match.group(1))
                frame, moved = int(match.group(1)), now
                if stopped is None and now - start > limit:
                    verdict, stopped = "slow", now
                    run.send_signal(signal.SIGSEGV)
        code = run.wait()
    seconds = time.monotonic() - start
    if verdict == "stuck":
        # The frame it was stopped in.
        longest, longest_at = stopped - moved, frame + 1
    status = 128 - code if code < 0 else code
    with open(out + ".run", "w") as summary:
        summary.write("%d %.1f %s %d %.1f %d\n" % (status, seconds, verdict, frame, longest, longest_at))
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
