#include "player/store/KXPSceneKey.h"

namespace {

KXPSceneKeyReader sceneKeyReader = nullptr;

} // namespace

void setSceneKeyReader(KXPSceneKeyReader reader) {
    sceneKeyReader = reader;
}

const std::string& runningSceneKey() {
    static const std::string none;
    return sceneKeyReader != nullptr ? sceneKeyReader() : none;
}
