#include "tools/kxdata/sample_large.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/KXBaseAttribute.h"
#include "model/KXModel.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "tools/kxdata/KXSampleGame.h"
#include "tools/kxdata/sample_controls.h"

namespace kxdata {

namespace {

// Media models are shared by every copy that shows them: a game holds each image once.
bool isMedia(const KXModel& model) {
    static const std::set<std::string> media = {"KXModelSprite",    "KXModelSpriteContainer", "KXModelAtlas",
                                                "KXModelAnimation", "KXModelSound",           "KXModelFont"};
    return media.count(model.className()) != 0;
}

bool isTemplate(const KXModel& model) {
    static const std::set<std::string> kinds = {"KXModelLevelSection", "KXModelScreen",
                                                "KXModelAssetCharacter", "KXModelAssetPowerup",
                                                "KXModelAssetObstacle"};
    return kinds.count(model.className()) != 0;
}

// A copy of the model and of every child that is not media, kept in the game.
std::shared_ptr<KXModel> copyTree(const std::shared_ptr<KXModel>& source, SampleGame& game, size_t depth) {
    std::shared_ptr<KXModel> copy = source->clone(false, false);
    copy->removeAllChildren(true);
    game.models.push_back(copy);
    // Copied shape and animation attributes hold copies of their models, which the game stores too.
    const std::vector<KXBaseAttribute*>& from = source->attributes();
    const std::vector<KXBaseAttribute*>& to = copy->attributes();
    for (size_t i = 0; i < to.size() && i < from.size(); ++i) {
        std::shared_ptr<KXModel> referenced = to[i]->referencedModel();
        if (referenced && referenced != from[i]->referencedModel()) {
            game.models.push_back(referenced);
        }
    }
    for (const std::shared_ptr<KXModel>& child : source->children()) {
        const bool share = isMedia(*child) || depth > 16;
        copy->addChild(share ? child : copyTree(child, game, depth + 1), true);
    }
    return copy;
}

} // namespace

size_t growSampleGame(SampleGame& game, size_t models) {
    std::vector<std::shared_ptr<KXModel>> templates;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (isTemplate(*model)) {
            templates.push_back(model);
        }
    }
    const size_t before = game.models.size();
    for (size_t round = 1; game.models.size() < models && !templates.empty(); ++round) {
        for (const std::shared_ptr<KXModel>& source : templates) {
            if (game.models.size() >= models) {
                break;
            }
            copyTree(source, game, 0)->setName(source->name() + " " + std::to_string(round));
        }
    }
    storeReferencedModels(game);
    uint32_t lastId = game.settings->lastIdAttribute()->value();
    for (const std::shared_ptr<KXModel>& model : game.models) {
        lastId = std::max(lastId, model->id());
    }
    game.settings->lastIdAttribute()->setValue(lastId, true);
    return game.models.size() - before;
}

} // namespace kxdata
