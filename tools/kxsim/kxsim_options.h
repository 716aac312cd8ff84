// The command line of kxsim.
#pragma once

#include <string>
#include <vector>

struct SimTouch {
    unsigned int frame = 0;
    int phase = 0; // 0 began, 1 moved, 2 ended
    float x = 0.0f;
    float y = 0.0f;
};

struct SimKey {
    unsigned int frame = 0;
    bool down = true;
    std::string name;
};

struct SimScreenshot {
    unsigned int frame = 0;
    std::string path;
};

struct SimOptions {
    std::string gameDir;
    unsigned int frames = 600;
    unsigned int seed = 1;
    std::string openKey;
    std::vector<SimTouch> touches;
    std::vector<SimKey> keys;
    std::vector<SimScreenshot> screenshots;
    std::string traceKinds;
    bool dumpStore = false;
    // Print every kind of runtime object the player can make, one per line, and run nothing.
    bool listKinds = false;
};

constexpr const char* kSimUsage =
    "usage: kxsim GAME_DIR [--frames N] [--seed S] [--open KEY] [--touch F:began|moved|ended:X,Y]...\n"
    "             [--key F:down|up:NAME]... [--screenshot F:FILE.png]... [--trace KINDS] [--dump-store]\n"
    "       kxsim --list-kinds\n";

// False with the reason in `error` for a line that cannot be run.
bool parseSimOptions(const std::vector<std::string>& arguments, SimOptions* options, std::string* error);
