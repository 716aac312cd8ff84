#include "tools/kxdata/sample_media_writers.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

extern char** environ;

namespace kxdata {

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

const Rgba kPalette[] = {
    {230, 90, 60, 255}, {60, 160, 230, 255}, {90, 200, 90, 255}, {240, 200, 60, 255}, {170, 90, 220, 255}};

// A 32-bit RGBA surface, transparent, freed by the caller.
SDL_Surface* newSurface(int width, int height) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (surface != nullptr) {
        SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 0));
    }
    return surface;
}

void fill(SDL_Surface* surface, int x, int y, int width, int height, Rgba colour) {
    SDL_Rect rect{x, y, width, height};
    SDL_FillRect(surface, &rect, SDL_MapRGBA(surface->format, colour.r, colour.g, colour.b, colour.a));
}

bool savePng(SDL_Surface* surface, const std::string& path) {
    if (surface == nullptr) {
        std::fprintf(stderr, "media: cannot make an image for %s: %s\n", path.c_str(), SDL_GetError());
        return false;
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!saved) {
        std::fprintf(stderr, "media: cannot write %s: %s\n", path.c_str(), IMG_GetError());
    }
    SDL_FreeSurface(surface);
    return saved;
}

// A filled panel with a dark rim and a light marker bar whose place moves with the variant.
void paintSprite(SDL_Surface* surface, int x, int y, const SpriteLook& look) {
    const Rgba base = kPalette[static_cast<unsigned>(look.variant) % (sizeof kPalette / sizeof kPalette[0])];
    const Rgba rim = look.glow ? Rgba{255, 255, 200, 255}
                               : Rgba{uint8_t(base.r / 3), uint8_t(base.g / 3), uint8_t(base.b / 3), 255};
    fill(surface, x, y, look.width, look.height, rim);
    const int border = look.width > 8 && look.height > 8 ? 2 : 0;
    fill(surface, x + border, y + border, look.width - 2 * border, look.height - 2 * border, base);
    const int bar = look.width / 6 > 0 ? look.width / 6 : 1;
    const int travel = look.width - 2 * border - bar;
    const int place = travel > 0 ? (look.variant * bar * 2) % travel : 0;
    fill(surface, x + border + place, y + border, bar, look.height - 2 * border, {250, 250, 250, 255});
}

// Dots of the digits, 5 wide and 7 high, one text row per dot row.
const char* const kDigitDots[10][7] = {
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"####.", "....#", "....#", ".###.", "....#", "....#", "####."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
};

bool dotAt(char character, int column, int row) {
    if (character >= '0' && character <= '9') {
        return kDigitDots[character - '0'][row][column] == '#';
    }
    return row == 0 || row == 6 || column == 0 || column == 4; // hollow box
}

} // namespace

int runTool(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool writeSpritePng(const std::string& path, const SpriteLook& look) {
    SDL_Surface* surface = newSurface(look.width, look.height);
    if (surface != nullptr) {
        paintSprite(surface, 0, 0, look);
    }
    return savePng(surface, path);
}

bool writeAtlas(const std::string& imagePath, const std::string& plistPath,
                const std::vector<AtlasFrame>& frames, int sheetWidth, int sheetHeight, int padding) {
    SDL_Surface* sheet = newSurface(sheetWidth, sheetHeight);
    if (sheet == nullptr) {
        return savePng(sheet, imagePath);
    }
    const std::string imageName = imagePath.substr(imagePath.find_last_of('/') + 1);
    std::ostringstream plist;
    plist << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
             "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
             "<plist version=\"1.0\">\n<dict>\n<key>frames</key>\n<dict>\n";
    int x = padding;
    int y = padding;
    int rowHeight = 0;
    for (const AtlasFrame& frame : frames) {
        if (x + frame.look.width + padding > sheetWidth) {
            x = padding;
            y += rowHeight + padding;
            rowHeight = 0;
        }
        if (y + frame.look.height + padding > sheetHeight) {
            std::fprintf(stderr, "media: %s does not fit into %s\n", frame.name.c_str(), imagePath.c_str());
            SDL_FreeSurface(sheet);
            return false;
        }
        paintSprite(sheet, x, y, frame.look);
        const int w = frame.look.width;
        const int h = frame.look.height;
        plist << "<key>" << frame.name << "</key>\n<dict>\n"
              << "<key>frame</key><string>{{" << x << "," << y << "},{" << w << "," << h << "}}</string>\n"
              << "<key>offset</key><string>{0,0}</string>\n"
              << "<key>rotated</key><false/>\n"
              << "<key>sourceColorRect</key><string>{{0,0},{" << w << "," << h << "}}</string>\n"
              << "<key>sourceSize</key><string>{" << w << "," << h << "}</string>\n"
              << "</dict>\n";
        x += w + padding;
        rowHeight = h > rowHeight ? h : rowHeight;
    }
    plist << "</dict>\n<key>metadata</key>\n<dict>\n"
          << "<key>format</key><integer>2</integer>\n"
          << "<key>size</key><string>{" << sheetWidth << "," << sheetHeight << "}</string>\n"
          << "<key>textureFileName</key><string>" << imageName << "</string>\n"
          << "</dict>\n</dict>\n</plist>\n";
    if (!savePng(sheet, imagePath)) {
        return false;
    }
    std::ofstream out(plistPath, std::ios::binary | std::ios::trunc);
    out << plist.str();
    if (!out) {
        std::fprintf(stderr, "media: cannot write %s\n", plistPath.c_str());
        return false;
    }
    return true;
}

bool writeBitmapFont(const std::string& fntPath, const std::string& pageName, int scale) {
    constexpr int kColumns = 16;
    constexpr int kFirst = 33; // '!'; the space has no image
    constexpr int kLast = 126;
    const int cellWidth = 6 * scale;
    const int cellHeight = 8 * scale;
    const int rows = (kLast - kFirst + kColumns) / kColumns;
    SDL_Surface* page = newSurface(kColumns * cellWidth, rows * cellHeight);
    if (page == nullptr) {
        return savePng(page, pageName);
    }

    std::ostringstream fnt;
    fnt << "info face=\"KX Sample\" size=" << cellHeight
        << " bold=0 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=0 aa=1 padding=0,0,0,0 spacing=1,1\n"
        << "common lineHeight=" << cellHeight << " base=" << 7 * scale << " scaleW=" << page->w
        << " scaleH=" << page->h << " pages=1 packed=0\n"
        << "page id=0 file=\"" << pageName << "\"\n"
        << "chars count=" << (kLast - kFirst + 2) << "\n"
        << "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=" << cellWidth
        << " page=0 chnl=15\n";
    for (int code = kFirst; code <= kLast; ++code) {
        const int x = ((code - kFirst) % kColumns) * cellWidth;
        const int y = ((code - kFirst) / kColumns) * cellHeight;
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 5; ++column) {
                if (dotAt(static_cast<char>(code), column, row)) {
                    fill(page, x + column * scale, y + row * scale, scale, scale, {255, 255, 255, 255});
                }
            }
        }
        fnt << "char id=" << code << " x=" << x << " y=" << y << " width=" << 5 * scale
            << " height=" << 7 * scale << " xoffset=0 yoffset=0 xadvance=" << cellWidth
            << " page=0 chnl=15\n";
    }

    const std::string folder = fntPath.substr(0, fntPath.find_last_of('/') + 1);
    if (!savePng(page, folder + pageName)) {
        return false;
    }
    std::ofstream out(fntPath, std::ios::binary | std::ios::trunc);
    out << fnt.str();
    if (!out) {
        std::fprintf(stderr, "media: cannot write %s\n", fntPath.c_str());
        return false;
    }
    return true;
}

bool writeToneMp3(const std::string& path, int frequency, double seconds) {
    const std::string wave = path + ".wav";
    std::ostringstream length;
    length << seconds;
    const int made = runTool({"sox", "-q", "-n", "-r", "22050", "-c", "1", wave, "synth", length.str(),
                              "sine", std::to_string(frequency), "fade", "0", length.str(), "0.05"});
    const int encoded = made == 0 ? runTool({"lame", "--quiet", "-b", "64", wave, path}) : -1;
    std::remove(wave.c_str());
    if (made != 0 || encoded != 0) {
        std::fprintf(stderr, "media: cannot make %s (%s failed; are sox and lame installed?)\n", path.c_str(),
                     made != 0 ? "sox" : "lame");
        return false;
    }
    return true;
}

} // namespace kxdata
