#pragma once

// Under a file-size limit (ulimit -f), a write past it sends SIGXFSZ, which ends the process by
// default, leaving the store's temporary file behind and the run's progress lost. Ignored, the
// write fails with EFBIG as on a full disk: the store writer says so, removes its temporary file
// and keeps the old store, and the game goes on.
void ignoreFileSizeSignal();
