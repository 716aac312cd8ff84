#include "player/KXPScreensController.h"

#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"

KXPScreensController* KXPScreensController::shared() {
    static KXPScreensController* instance = new KXPScreensController();
    return instance;
}

int KXPScreensController::nextLevelSectionId(int id) const {
    if (id == 0) {
        return 0;
    }
    const std::vector<std::shared_ptr<KXModelLevelSection>> sections = getModels<KXModelLevelSection>();
    bool found = false;
    std::shared_ptr<KXModelScreenScene> scene;
    for (const std::shared_ptr<KXModelLevelSection>& section : sections) {
        if (!found) {
            if (static_cast<int>(section->id()) == id) {
                found = true;
                scene = getFirstParent<KXModelScreenScene>(*section);
            }
            continue;
        }
        if (getFirstParent<KXModelScreenScene>(*section) == scene) {
            return static_cast<int>(section->id());
        }
    }
    return 0;
}
