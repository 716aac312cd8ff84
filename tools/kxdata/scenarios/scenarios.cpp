#include "tools/kxdata/scenarios/scenarios.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "model/KXSecrets.h"
#include "tools/kxdata/KXGameWriter.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/effects/effects_scenario.h"
#include "tools/kxdata/hostile/hostile_game.h"
#include "tools/kxdata/menus/menus_scenario.h"
#include "tools/kxdata/portals/portals_scenario.h"
#include "tools/kxdata/shooter/shooter_scenario.h"
#include "tools/kxdata/topdown/topdown_scenario.h"

namespace kxdata {

namespace {

// One row per scenario; adding one: a writer of its own under tools/kxdata/<name>/ and its row here.
const std::vector<Scenario> kScenarios = {
    {"platformer", "the demo: menus, shop, a streamed level, game over and scores", &demo::writeDemo},
    {"effects", "lights, trails, flags, mirrors and particles in a dark cave",
     &effects::writeEffectsScenario},
    {"hostile-data", "the demo damaged with every edge a player must survive", &hostile::writeHostileDemo},
    {"top-down", "a walled garden seen from above: joystick, swipes, hops, motors, wandering units",
     &topdown::writeTopDownScenario},
    {"portals-and-paths", "a workshop of portals, a turnstile, lifts, belts and a paint gate",
     &portals::writePortalsScenario},
    {"shooter", "a side-scrolling shooter: drones with hit points, a hive, every powerup, game over",
     &shooter::writeShooterScenario},
    {"menus-and-shop",
     "every button and interface object: shop, heroes, levels, extras, a game heads-up screen",
     &menus::writeMenusScenario},
};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

const std::vector<Scenario>& scenarios() {
    return kScenarios;
}

const Scenario* findScenario(const std::string& name) {
    const std::string wanted = name == "hostile" ? "hostile-data" : name;
    for (const Scenario& scenario : kScenarios) {
        if (wanted == scenario.name) {
            return &scenario;
        }
    }
    return nullptr;
}

void packIntoArchive(const std::string& dir) {
    std::vector<PackFile> files;
    std::vector<std::filesystem::path> loose;
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/data")) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && endsWith(name, ".pack")) {
            files.push_back(PackFile{name, readWhole(entry.path())});
            loose.push_back(entry.path());
        }
    }
    // Archive order follows the names, so two writes of one game give the same archive entries.
    std::sort(files.begin(), files.end(),
              [](const PackFile& a, const PackFile& b) { return a.name < b.name; });
    writeArchive(dir + "/data/data.pkg", files, ArchiveCipher::Aes256,
                 decodePassword(kStoredArchivePassword));
    for (const auto& path : loose) {
        std::filesystem::remove(path);
    }
}

} // namespace kxdata
