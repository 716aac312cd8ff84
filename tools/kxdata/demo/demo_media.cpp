// The demo's media: its font, sounds and pictures, the atlas they are packed into, and the files.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <sstream>
#include <stdexcept>

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "tools/kxdata/demo/demo_font.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/sample_media_writers.h"

extern char** environ;

namespace kxdata {
namespace demo {

namespace {

constexpr int kFontDot = 4;
constexpr int kSheetWidth = 2048;
constexpr int kPadding = 2;
// The corner of a backdrop without decoration, in backdrop pixels.
constexpr float kPlainCornerWidth = 30.0f;
constexpr float kPlainCornerHeight = 24.0f;

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;) {
        result.push_back(word);
    }
    return result;
}

// sox chains one note chain after another into a wave file, lame encodes it.
bool writeSoundFile(const std::string& path, const std::vector<std::string>& notes) {
    const std::string wave = path + ".wav";
    std::vector<std::string> arguments = {"sox", "-q", "-n", "-r", "22050", "-c", "1", wave};
    for (size_t index = 0; index < notes.size(); ++index) {
        if (index > 0) {
            arguments.push_back(":");
        }
        for (const std::string& word : words(notes[index])) {
            arguments.push_back(word);
        }
    }
    const int made = runTool(arguments);
    const int encoded = made == 0 ? runTool({"lame", "--quiet", "-b", "96", wave, path}) : -1;
    std::remove(wave.c_str());
    if (made != 0 || encoded != 0) {
        std::fprintf(stderr, "demo: cannot make %s (%s failed; are sox and lame installed?)\n", path.c_str(),
                     made != 0 ? "sox" : "lame");
        return false;
    }
    return true;
}

// One plucked note per entry, each `seconds` long.
std::vector<std::string> melody(const std::vector<std::string>& pitches, double seconds, double volume) {
    std::vector<std::string> notes;
    std::ostringstream length;
    length << seconds;
    std::ostringstream gain;
    gain << volume;
    for (const std::string& pitch : pitches) {
        notes.push_back("synth " + length.str() + " pluck " + pitch + " vol " + gain.str());
    }
    return notes;
}

} // namespace

Canvas buttonCanvas(const std::string& caption, Colour colour, bool pressed, int width, int height) {
    Canvas canvas(width, height);
    const Colour rim = mix(colour, Colour{255, 255, 255, 255}, pressed ? 0.75f : 0.45f);
    const Colour top = mix(colour, Colour{255, 255, 255, 255}, pressed ? 0.45f : 0.2f);
    const Colour bottom = mix(colour, Colour{0, 0, 0, 255}, pressed ? 0.05f : 0.3f);
    canvas.roundedRect(0, 4, width, height - 4, 18.0f, Colour{0, 0, 0, 90});
    canvas.roundedRect(0, 0, width, height - 4, 18.0f, rim);
    // The face: a gradient clipped to the rounded panel, row by row.
    Canvas face(width - 8, height - 12);
    face.verticalGradient(top, bottom);
    Canvas mask(width - 8, height - 12);
    mask.roundedRect(0, 0, width - 8, height - 12, 14.0f, Colour{255, 255, 255, 255});
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            canvas.blend(x + 4, y + 4, face.at(x, y), static_cast<float>(mask.at(x, y).a) / 255.0f);
        }
    }
    canvas.fillRect(16, 8, width - 32, 3, Colour{255, 255, 255, 60});
    // Long captions take smaller dots so that they stay inside the rim.
    const int dot = Canvas::textWidth(caption, 4) <= width - 40 ? 4 : 3;
    canvas.textCentred(caption, width / 2, (height - 4) / 2 + 2, dot, Colour{255, 255, 255, 255}, true);
    return canvas;
}

Canvas backdropCanvas(Colour top, Colour bottom, Colour accent, unsigned seed) {
    // Small, and scaled up by the image object: the gradient stays smooth.
    Canvas canvas(160, 90);
    canvas.verticalGradient(top, bottom);
    unsigned state = seed * 2654435761u + 1u;
    const auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<unsigned>(range));
    };
    for (int index = 0; index < 9; ++index) {
        const float radius = 6.0f + static_cast<float>(next(22));
        const float x = static_cast<float>(next(160));
        const float y = static_cast<float>(next(90));
        const uint8_t alpha = static_cast<uint8_t>(24 + next(30));
        // The bottom-left corner keeps the plain gradient: the screen's colour can be told there.
        if (x - radius < kPlainCornerWidth && y + radius > 90.0f - kPlainCornerHeight) {
            continue;
        }
        canvas.disc(x, y, radius, withAlpha(accent, alpha));
    }
    return canvas;
}

void addDemoMedia(DemoGame& game) {
    game.font = game.make<KXModelFont>("KXModelFont", "Demo Dots");
    game.click = game.sound("Click", {"synth 0.07 sine 1320 fade 0 0.07 0.05 vol 0.5"});
    game.sound("Menu Music", melody({"C4", "E4", "G4", "C5", "G4", "E4", "A3", "C4", "E4", "A4", "E4", "C4",
                                     "F3", "A3", "C4", "F4", "C4", "A3", "G3", "B3", "D4", "G4", "D4", "B3"},
                                    1.0 / 6.0, 0.6));
    game.sound("Game Music",
               melody({"E4", "G4",  "B4", "E5", "D5", "B4", "C4", "E4", "G4",  "C5", "B4", "G4",
                       "D4", "F#4", "A4", "D5", "C5", "A4", "B3", "D4", "F#4", "B4", "A4", "F#4"},
                      1.0 / 8.0, 0.6));
}

void addDemoAtlas(DemoGame& game) {
    std::vector<size_t> order(game.pictures.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&game](size_t a, size_t b) {
        return game.pictures[a].canvas.height() > game.pictures[b].canvas.height();
    });
    int x = kPadding;
    int y = kPadding;
    int rowHeight = 0;
    for (size_t index : order) {
        Picture& picture = game.pictures[index];
        if (x + picture.canvas.width() + kPadding > kSheetWidth) {
            x = kPadding;
            y += rowHeight + kPadding;
            rowHeight = 0;
        }
        picture.x = x;
        picture.y = y;
        x += picture.canvas.width() + kPadding;
        rowHeight = std::max(rowHeight, picture.canvas.height());
    }
    int sheetHeight = 256;
    while (sheetHeight < y + rowHeight + kPadding) {
        sheetHeight *= 2;
    }
    if (sheetHeight > static_cast<int>(KXBaseModelAtlas::kMaximumExtent)) {
        throw std::runtime_error("the demo's pictures do not fit on one atlas sheet");
    }
    game.atlas = game.make<KXModelAtlas>("KXModelAtlas", "Demo Atlas");
    game.atlas->widthAttribute()->setValue(static_cast<float>(kSheetWidth), true);
    game.atlas->heightAttribute()->setValue(static_cast<float>(sheetHeight), true);
    game.atlas->paddingAttribute()->setValue(static_cast<float>(kPadding), true);
    for (const Picture& picture : game.pictures) {
        for (const std::shared_ptr<KXModel>& sprite : picture.container->sprites()) {
            game.atlas->addChild(sprite, true);
        }
    }
}

namespace {

bool writeAtlasFiles(const std::string& root, const DemoGame& game) {
    const int width = static_cast<int>(game.atlas->widthAttribute()->value());
    const int height = static_cast<int>(game.atlas->heightAttribute()->value());
    Canvas sheet(width, height);
    std::ostringstream plist;
    const std::string imagePath = root + game.atlas->imagePath();
    plist << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<plist version=\"1.0\">\n<dict>\n<key>frames</key>\n<dict>\n";
    for (const Picture& picture : game.pictures) {
        const Canvas& canvas = picture.canvas;
        for (int row = 0; row < canvas.height(); ++row) {
            for (int column = 0; column < canvas.width(); ++column) {
                sheet.blend(picture.x + column, picture.y + row, canvas.at(column, row));
            }
        }
        const auto& sprite = static_cast<const KXModelSprite&>(*picture.container->sprites().front());
        const int w = canvas.width();
        const int h = canvas.height();
        plist << "<key>" << sprite.spriteFrameName() << "</key>\n<dict>\n"
              << "<key>frame</key><string>{{" << picture.x << "," << picture.y << "},{" << w << "," << h
              << "}}</string>\n"
              << "<key>offset</key><string>{0,0}</string>\n"
              << "<key>rotated</key><false/>\n"
              << "<key>sourceColorRect</key><string>{{0,0},{" << w << "," << h << "}}</string>\n"
              << "<key>sourceSize</key><string>{" << w << "," << h << "}</string>\n"
              << "</dict>\n";
    }
    plist << "</dict>\n<key>metadata</key>\n<dict>\n"
          << "<key>format</key><integer>2</integer>\n"
          << "<key>size</key><string>{" << width << "," << height << "}</string>\n"
          << "<key>textureFileName</key><string>" << imagePath.substr(imagePath.find_last_of('/') + 1)
          << "</string>\n</dict>\n</dict>\n</plist>\n";
    if (!sheet.savePng(imagePath)) {
        return false;
    }
    std::ofstream out(root + game.atlas->plistPath(), std::ios::binary | std::ios::trunc);
    out << plist.str();
    return static_cast<bool>(out);
}

} // namespace

size_t writeDemoMedia(const std::string& dir, const DemoGame& game) {
    const std::string root = dir + "/";
    size_t failed = 0;
    failed += writeAtlasFiles(root, game) ? 0 : 1;
    for (const Picture& effect : game.effects) {
        const auto& sprite = static_cast<const KXModelSprite&>(*effect.container->sprites().front());
        failed += effect.canvas.savePng(root + sprite.effectPath()) ? 0 : 1;
    }
    const std::string page = "KXModelFont_ID" + std::to_string(game.font->id()) + ".png";
    failed += writeDotFont(root + game.font->fontFile(), page, kFontDot) ? 0 : 1;
    // Without sox or lame the demo is silent, but it plays.
    size_t silent = 0;
    for (const SoundFile& sound : game.sounds) {
        silent += writeSoundFile(root + sound.model->soundPath(), sound.notes) ? 0 : 1;
    }
    if (silent > 0) {
        std::fprintf(stderr, "demo: %zu sounds could not be made; the demo plays without them\n", silent);
    }
    return failed;
}

} // namespace demo
} // namespace kxdata
