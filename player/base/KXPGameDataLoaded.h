#pragma once

// Set once the staged loading has read every model file; never cleared. Until then nothing may be
// saved, so a half-loaded start cannot overwrite the stored progress.

bool isGameDataLoaded();
// Tests and the loading step only.
void setGameDataLoaded(bool loaded);
