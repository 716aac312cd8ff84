// The demo game: a small, good-looking game written through the model's own pack direction, with
// generated media. One file per screen or concern adds its part; this header holds what they
// share: the game being built, its media, and helpers that place screens, nodes and objects.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "tools/kxdata/KXGameWriter.h"
#include "tools/kxdata/demo/demo_canvas.h"

class KXModel;
class KXModelAtlas;
class KXModelFont;
class KXModelGeneralSettings;
class KXModelObject;
class KXModelObjectButton;
class KXModelObjectImage;
class KXModelObjectLabel;
class KXModelScreen;
class KXModelSound;
class KXModelSpriteContainer;
class KXNode;

namespace kxdata {
namespace demo {

// The User ID that scrambles the demo's key file.
constexpr const char* kDemoUserId = "demo-user-5c21";
// Game-key codes of the keys the demo binds to in-game buttons.
constexpr int kDemoSpaceKey = 0x20;
constexpr int kDemoEscapeKey = 0x01000000;
// The design area of the (landscape) demo.
constexpr float kWidth = 1136.0f;
constexpr float kHeight = 640.0f;

// A picture of the game: one sprite in a container of its own, packed into the game's atlas.
struct Picture {
    std::string name;
    Canvas canvas;
    std::shared_ptr<KXModelSpriteContainer> container;
    // Its place on the atlas sheet, set once every picture exists.
    int x = 0;
    int y = 0;
};

// A sound of the game and how to make its file.
struct SoundFile {
    std::shared_ptr<KXModelSound> model;
    // sox synth arguments of each note chain, one chain per entry.
    std::vector<std::string> notes;
};

// A node of the screen graph with its screen.
struct ScreenNode {
    std::shared_ptr<KXNode> node;
    std::shared_ptr<KXModelScreen> screen;
};

struct DemoGame {
    std::shared_ptr<KXModelGeneralSettings> settings;
    ModelList models;
    std::vector<Picture> pictures;
    // Pictures kept off the atlas, each written as its sprite's own file (particle textures).
    std::vector<Picture> effects;
    std::vector<SoundFile> sounds;
    std::shared_ptr<KXModelAtlas> atlas;
    std::shared_ptr<KXModelFont> font;
    std::shared_ptr<KXModelSound> click;
    std::map<std::string, ScreenNode> screens; // by screen key

    // A new model of a registered class, named and kept in `models`.
    std::shared_ptr<KXModel> make(const std::string& className, const std::string& name);
    template <class T> std::shared_ptr<T> make(const std::string& className, const std::string& name) {
        return std::static_pointer_cast<T>(make(className, name));
    }

    // A sprite container showing the canvas.
    std::shared_ptr<KXModelSpriteContainer> picture(const std::string& name, Canvas canvas);
    // A picture written as a file of its own, which particle emitters draw with.
    std::shared_ptr<KXModelSpriteContainer> effect(const std::string& name, Canvas canvas);
    // A sound made from sox note chains ("pluck C5", or "0.2 pluck C5" for a length).
    std::shared_ptr<KXModelSound> sound(const std::string& name, std::vector<std::string> notes);

    // A node of `nodeClass` with a screen of `screenClass` under `key`; remembered by key.
    ScreenNode& addScreen(const std::string& nodeClass, const std::string& screenClass,
                          const std::string& key, const std::string& name);
    ScreenNode& screen(const std::string& key);
};

// Positions are in design units, y up, of the object's centre.
std::shared_ptr<KXModelObjectImage> addImage(DemoGame& game, KXModelScreen& screen, const std::string& name,
                                             const std::shared_ptr<KXModelSpriteContainer>& picture,
                                             cocos2d::CCPoint position, cocos2d::CCPoint scale, int depth);
// A fixed text in the game's font.
std::shared_ptr<KXModelObjectLabel> addText(DemoGame& game, KXModelScreen& screen, const std::string& name,
                                            const std::string& text, cocos2d::CCPoint position, float scale,
                                            int depth);
// A button of `className` whose images carry the caption (normal, and lit when pressed; a lit
// caption of its own when given, as sound buttons show their muted state lit).
std::shared_ptr<KXModelObjectButton> addButton(DemoGame& game, KXModelScreen& screen,
                                               const std::string& className, const std::string& name,
                                               const std::string& caption, const std::string& action,
                                               Colour colour, cocos2d::CCPoint position, int depth,
                                               const std::string& litCaption = std::string());
// The pictures of a button: a rounded panel with its caption, lit when pressed.
Canvas buttonCanvas(const std::string& caption, Colour colour, bool pressed, int width = 280,
                    int height = 68);
// The picture the player shows under the loading screen ("Default.png").
Canvas splashCanvas();
// A soft full-screen backdrop: a gradient with large faint discs.
Canvas backdropCanvas(Colour top, Colour bottom, Colour accent, unsigned seed);

// An output port of the node named `port`, linked to the "Load" input of `to`.
void linkPort(const ScreenNode& from, const std::string& port, const ScreenNode& to);

// Parts of the demo, in the order the game is built.
void addDemoSettings(DemoGame& game);
void addDemoMedia(DemoGame& game);
void addDemoLoading(DemoGame& game);
void addDemoMenu(DemoGame& game);
void addDemoShop(DemoGame& game);
void addDemoLevels(DemoGame& game);
void addDemoScene(DemoGame& game);
void addDemoEnd(DemoGame& game);
// The pause screen over the game, and the heads-up button that opens it.
void addDemoPause(DemoGame& game);
// The links between the screens, once every screen exists.
void addDemoGraph(DemoGame& game);
// Every picture onto one atlas sheet; last, once every picture exists.
void addDemoAtlas(DemoGame& game);
// The media files under dir/data; returns how many could not be made (sounds aside: without sox
// and lame the demo is written silent).
size_t writeDemoMedia(const std::string& dir, const DemoGame& game);

// The highest model id into the general settings, as exported games record it; last, once every
// model exists.
void recordLastId(DemoGame& game);
// The game's models packed into DIR/data (each class in one file), its media folders, pictures and
// sounds, and "Default.png"; prints how many models, files, pictures and sounds. Returns the number
// of files that could not be made.
size_t writeGameFiles(const std::string& dir, const DemoGame& game);

// Empties the model store and builds the whole demo.
DemoGame buildDemoGame();
// Writes the demo into DIR: data/ (pack files and media) and Default.png. Returns the number of
// files that could not be made.
size_t writeDemo(const std::string& dir);

} // namespace demo
} // namespace kxdata
