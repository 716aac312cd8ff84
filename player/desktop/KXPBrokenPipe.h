#pragma once

// A write to a connection whose other end is gone (the X server's socket once the display is lost,
// a log pipe whose reader ended) sends SIGPIPE, which ends the process at once by default: before
// Xlib's lost-display handler can save the run's progress and end it with its own status. Ignored,
// the write fails with EPIPE and the handler runs.
void ignoreBrokenPipeSignal();
