// kxsim GAME_DIR [options]: runs a game through the real player stack without a window, at a fixed
// 1/60 s per frame, with scripted touches and keys; prints trace lines and can take screenshots
// and dump the store. See kxsim_options.h for the options and the README for the trace.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "player/app/KXPKindNames.h"
#include "player/desktop/KXPFileSizeLimit.h"
#include "tools/kxsim/kxsim_options.h"
#include "tools/kxsim/kxsim_run.h"

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::fprintf(stderr, "kxsim: %s\n%s", error.c_str(), kSimUsage);
        return 1;
    }
    if (options.listKinds) {
        for (const std::string& kind : kxKindNames()) {
            std::printf("%s\n", kind.c_str());
        }
        return 0;
    }
    // It saves the store as the player does, under the same limits.
    ignoreFileSizeSignal();
    // Screenshot paths are taken from where kxsim was started.
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) != nullptr) {
        for (SimScreenshot& shot : options.screenshots) {
            if (!shot.path.empty() && shot.path[0] != '/') {
                shot.path = std::string(cwd) + "/" + shot.path;
            }
        }
    }
    // The game's relative paths ("data/...", "Default.png") resolve from its folder.
    if (chdir(options.gameDir.c_str()) != 0) {
        std::fprintf(stderr, "error: cannot enter the game folder %s: %s\n", options.gameDir.c_str(),
                     std::strerror(errno));
        return 2;
    }
    return runSimulation(options);
}
