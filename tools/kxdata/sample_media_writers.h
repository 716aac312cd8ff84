// Generated media files of the sample game: flat-shaded sprite images, atlas sheets with their
// frame lists, bitmap fonts and short MP3 tones. Each writer returns false (and says why on
// standard error) when its file could not be made.
#pragma once

#include <string>
#include <vector>

namespace kxdata {

// How one generated sprite looks: its size in pixels and a variant that picks colour and
// marker position (so the frames of an animation differ).
struct SpriteLook {
    int width = 32;
    int height = 32;
    int variant = 0;
    bool glow = false; // the effect-image version
};

struct AtlasFrame {
    std::string name; // frame name in the sprite-frame cache
    SpriteLook look;
};

bool writeSpritePng(const std::string& path, const SpriteLook& look);

// Packs the frames left to right, rows of `sheetWidth`, `padding` pixels apart, into
// `imagePath` and writes the frame list (plist format 2) naming that image to `plistPath`.
bool writeAtlas(const std::string& imagePath, const std::string& plistPath,
                const std::vector<AtlasFrame>& frames, int sheetWidth, int sheetHeight, int padding);

// A bitmap font (digits drawn, every other printable character a hollow box) at `scale`
// pixels per font dot: the .fnt at `fntPath` and its page image `pageName` beside it.
bool writeBitmapFont(const std::string& fntPath, const std::string& pageName, int scale);

// A sine tone made with sox and encoded with lame; false when either tool is missing or fails.
bool writeToneMp3(const std::string& path, int frequency, double seconds);

// Runs a program found on the PATH with these arguments (the first is the program) and waits for
// it; its exit status, or -1 when it could not be started or did not exit.
int runTool(const std::vector<std::string>& arguments);

} // namespace kxdata
