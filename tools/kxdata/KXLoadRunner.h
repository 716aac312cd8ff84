// Runs the process entry's loading road on a game folder: archive mode when there is a
// "data/data.pkg", the initial load, then one step at a time as the loading screen drives it.
#pragma once

#include <cstdint>
#include <string>

namespace kxdata {

struct LoadOutcome {
    bool ok = false;
    uint64_t steps = 0;
    int32_t progress = 0;
    std::string error;
};

// Makes `dir` the working folder and loads the game into KXModelController::shared().
LoadOutcome runLoad(const std::string& dir);

} // namespace kxdata
