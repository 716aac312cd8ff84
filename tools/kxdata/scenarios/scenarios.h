// The scenario games kxdata writes: each a small game built to play one side of the player, written
// as loose files in DIR/data or, with the archive form, with its pack files in "data/data.pkg".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kxdata {

struct Scenario {
    const char* name;
    const char* summary;
    // Writes the game's loose files into dir; returns how many files could not be made.
    size_t (*write)(const std::string& dir);
};

// Every scenario, in the order `kxdata scenarios` lists them.
const std::vector<Scenario>& scenarios();

// The scenario of that name (or an alias kept for older scripts), or null.
const Scenario* findScenario(const std::string& name);

// Moves the pack files of the game in dir/data into one "data/data.pkg" archive, encrypted with the
// password the player carries; media files stay loose, where the player reads them in both forms.
void packIntoArchive(const std::string& dir);

} // namespace kxdata
