// kxdata write-demo DIR: the demo as loose files in DIR/data, and "Default.png" in DIR.
#include <algorithm>
#include <cstdio>

#include "model/classes/KXModelGeneralSettings.h"
#include "tools/kxdata/demo/demo_game.h"
#include "tools/kxdata/effects/effects_media.h"

namespace kxdata {
namespace demo {

namespace {
// Each class in one file: the loading screen steps once per class and pass.
constexpr size_t kModelsPerFile = 1000;
} // namespace

void recordLastId(DemoGame& game) {
    uint32_t lastId = 0;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        lastId = std::max(lastId, model->id());
    }
    game.settings->lastIdAttribute()->setValue(lastId, true);
}

size_t writeGameFiles(const std::string& dir, const DemoGame& game) {
    const std::vector<PackFile> files = packGame(game.models, kDemoUserId, kModelsPerFile);
    writeFolder(dir, files);
    for (const char* folder : {"/data/atlases", "/data/effects", "/data/fonts", "/data/sounds"}) {
        makeFolder(dir + folder);
    }
    size_t failed = writeDemoMedia(dir, game);
    failed += splashCanvas().savePng(dir + "/Default.png") ? 0 : 1;
    std::printf("models %zu\nfiles %zu\npictures %zu\nsounds %zu\n", game.models.size(), files.size(),
                game.pictures.size(), game.sounds.size());
    return failed;
}

size_t writeDemo(const std::string& dir) {
    const DemoGame game = buildDemoGame();
    return writeGameFiles(dir, game) + effects::writeEffectMedia(dir);
}

} // namespace demo
} // namespace kxdata
