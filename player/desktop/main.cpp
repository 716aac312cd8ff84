// kxplayer [GAME_DIR]: plays the game exported into GAME_DIR (default: the working folder).
#include "player/desktop/KXPDesktopEntry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: kxplayer [GAME_DIR]\n");
        return 2;
    }
    // The game's relative paths ("data/...", "icon.ico") resolve from its folder.
    if (argc == 2 && ::chdir(argv[1]) != 0) {
        std::fprintf(stderr, "kxplayer: cannot enter the game folder %s: %s\n", argv[1],
                     std::strerror(errno));
        return 2;
    }
    return runDesktopPlayer();
}
