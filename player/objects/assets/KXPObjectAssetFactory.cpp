// Asset objects: the factory that turns a placed object model into the runtime object of its
// kind. The kind is found by the model's exact class (a subclass model is not taken for its
// base) in one table below; each row may first decide on the model (refuse it, or swap it for
// another) and say what to do once the object is built.
//
// Adding a kind: include its header and put its maker in its row, for example
//     {KXModelObjectAssetUnit::staticType(), "unit", &keepUnitWithObstacle,
//      &makeKind<KXPObjectAssetUnit, KXModelObjectAssetUnit>, nullptr},
// A row whose maker is null is a kind this build cannot make yet: the model is logged and skipped.
// Each object made is traced under its row's name (player/KXPKinds.h).

#include "player/objects/assets/KXPObjectAsset.h"

#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectGatekeeper.h"
#include "model/classes/KXModelObjectInstance.h"
#include "model/classes/KXModelObjectLight.h"
#include "model/classes/KXModelObjectLogic.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelObjectScreenJump.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPKinds.h"
#include "player/input/KXPControlledCharacter.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAssetGatekeeper.h"
#include "player/objects/assets/KXPObjectAssetLogic.h"
#include "player/objects/assets/KXPObjectAssetPath.h"
#include "player/objects/assets/KXPObjectAssetPowerup.h"
#include "player/objects/assets/KXPObjectAssetScreenJump.h"
#include "player/objects/assets/KXPObjectAssetTeleport.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/objects/effects/KXPObjectAssetFlag.h"
#include "player/objects/effects/KXPObjectAssetLight.h"
#include "player/objects/effects/KXPObjectAssetMirror.h"
#include "player/objects/effects/KXPObjectAssetParticles.h"
#include "player/objects/effects/KXPObjectAssetTrail.h"
#include "player/store/KXPSettingsController.h"

#include <cstdlib>

using namespace cocos2d;

namespace {
using ModelPointer = std::shared_ptr<KXModel>;

constexpr const char* kFactory = "asset";

struct AssetKind {
    uint32_t modelType;
    const char* name;
    // Decides on the model before anything is built: the model to build on, or empty to build
    // nothing. Null: the model as it is.
    ModelPointer (*prepare)(const ModelPointer& model);
    // Builds the object, autoreleased. Null: not built in this player yet.
    KXPObjectAsset* (*make)(const ModelPointer& model);
    // Runs on the built object. Null: nothing.
    void (*finish)(KXPObjectAsset* object);
};

// The kind's object on a model already known to be of class Model.
template <class Object, class Model> KXPObjectAsset* makeKind(const ModelPointer& model) {
    Object* object = new Object(std::static_pointer_cast<Model>(model));
    object->autorelease();
    return object;
}

// An instance repeats another placed object at its own transform.
KXPObjectAsset* makeFromInstance(const ModelPointer& model) {
    const std::shared_ptr<KXModelObjectInstance> instance =
        std::static_pointer_cast<KXModelObjectInstance>(model);
    KXPObjectAsset* object = KXPObjectAsset::create(instance->reference());
    if (object != nullptr) {
        object->setPosition(instance->animatedPosition(0.0f, 0));
        object->setRotation(instance->animatedRotation(0.0f, 0));
        const CCPoint scale = instance->animatedScale(0.0f, 0);
        object->setScaleX(scale.x);
        object->setScaleY(scale.y);
        object->transformChanged();
    }
    return object;
}

// A unit shows an obstacle asset or nothing.
ModelPointer keepUnitWithObstacle(const ModelPointer& model) {
    return std::static_pointer_cast<KXModelObjectAssetUnit>(model)->assetObstacle() ? model : nullptr;
}

ModelPointer rollPowerupAppearance(const ModelPointer& model) {
    return KXPObjectAsset::powerupAppears(*std::static_pointer_cast<KXModelObjectAssetPowerup>(model))
               ? model
               : nullptr;
}

ModelPointer choosePlayableCharacter(const ModelPointer& model) {
    return KXPObjectAsset::playableCharacterModel(
        std::static_pointer_cast<KXModelObjectAssetCharacter>(model));
}

void registerCharacter(KXPObjectAsset* object) {
    if (KXPControlledCharacter* character = dynamic_cast<KXPControlledCharacter*>(object)) {
        KXPInputController::shared()->addCharacter(character);
    }
    debugLog("character created");
}

// One row per kind; the first row whose class is the model's exact class decides.
const AssetKind kAssetKinds[] = {
    {KXModelObjectInstance::staticType(), "instance", nullptr, &makeFromInstance, nullptr},
    {KXModelObjectAssetUnit::staticType(), "unit", &keepUnitWithObstacle,
     &makeKind<KXPObjectAssetUnit, KXModelObjectAssetUnit>, nullptr},
    {KXModelObjectAssetCharacter::staticType(), "character", &choosePlayableCharacter,
     &makeKind<KXPObjectAssetCharacter, KXModelObjectAssetCharacter>, &registerCharacter},
    {KXModelObjectAssetPowerup::staticType(), "powerup", &rollPowerupAppearance,
     &makeKind<KXPObjectAssetPowerup, KXModelObjectAssetPowerup>, nullptr},
    {KXModelObjectLight::staticType(), "light", nullptr, &makeKind<KXPObjectAssetLight, KXModelObjectLight>,
     nullptr},
    {KXModelObjectLogic::staticType(), "logic", nullptr, &makeKind<KXPObjectAssetLogic, KXModelObjectLogic>,
     nullptr},
    {KXModelObjectTrail::staticType(), "trail", nullptr, &makeKind<KXPObjectAssetTrail, KXModelObjectTrail>,
     nullptr},
    {KXModelObjectFlag::staticType(), "flag", nullptr, &makeKind<KXPObjectAssetFlag, KXModelObjectFlag>,
     nullptr},
    {KXModelObjectPath::staticType(), "path", nullptr, &makeKind<KXPObjectAssetPath, KXModelObjectPath>,
     nullptr},
    {KXModelObjectTeleport::staticType(), "teleport", nullptr,
     &makeKind<KXPObjectAssetTeleport, KXModelObjectTeleport>, nullptr},
    {KXModelObjectGatekeeper::staticType(), "gatekeeper", nullptr,
     &makeKind<KXPObjectAssetGatekeeper, KXModelObjectGatekeeper>, nullptr},
    {KXModelObjectMirror::staticType(), "mirror", nullptr,
     &makeKind<KXPObjectAssetMirror, KXModelObjectMirror>, nullptr},
    {KXModelObjectParticles::staticType(), "particles", nullptr,
     &makeKind<KXPObjectAssetParticles, KXModelObjectParticles>, nullptr},
    {KXModelObjectScreenJump::staticType(), "screen-jump", nullptr,
     &makeKind<KXPObjectAssetScreenJump, KXModelObjectScreenJump>, nullptr},
};

// Builds the model with the kind's maker and finish; null when it could not be made.
KXPObjectAsset* makeWith(const AssetKind& kind, const ModelPointer& model) {
    if (kind.make == nullptr) {
        debugLog("[KXPObjectAsset] create: cannot make a %s object yet (model %u \"%s\")", kind.name,
                 model->id(), model->name().c_str());
        return nullptr;
    }
    KXPObjectAsset* object = kind.make(model);
    if (object == nullptr) {
        return nullptr;
    }
    kxKindMade(kFactory, kind.name);
    if (kind.finish != nullptr) {
        kind.finish(object);
    }
    return object;
}

const AssetKind* kindOf(const KXModel& model) {
    for (const AssetKind& kind : kAssetKinds) {
        if (kind.modelType == model.typeId()) {
            return &kind;
        }
    }
    return nullptr;
}
} // namespace

KXPObjectAsset* KXPObjectAsset::create(const std::shared_ptr<KXModel>& model) {
    if (!model) {
        return nullptr;
    }
    const AssetKind* kind = kindOf(*model);
    if (kind == nullptr) {
        return nullptr;
    }
    const ModelPointer chosen = kind->prepare != nullptr ? kind->prepare(model) : model;
    if (!chosen) {
        return nullptr;
    }
    return makeWith(*kind, chosen);
}

KXPObjectAsset* KXPObjectAsset::createUsedPowerup(const std::shared_ptr<KXModelObjectAssetPowerup>& model) {
    const AssetKind* kind = model ? kindOf(*model) : nullptr;
    if (kind == nullptr) {
        return nullptr;
    }
    return makeWith(*kind, model);
}

KXPKindTable KXPObjectAsset::kindTable() {
    KXPKindTable table{kFactory, {}};
    for (const AssetKind& kind : kAssetKinds) {
        table.rows.push_back(kind.name);
    }
    return table;
}

bool KXPObjectAsset::powerupAppears(const KXModelObjectAssetPowerup& powerup) {
    const int chance = powerup.appearanceChance();
    return chance >= 100 || std::rand() % 100 <= chance;
}

std::shared_ptr<KXModel>
KXPObjectAsset::playableCharacterModel(const std::shared_ptr<KXModelObjectAssetCharacter>& placed) {
    if (!placed) {
        return nullptr;
    }
    const int selected = KXPSettingsController::shared()->selectedCharacter();
    const std::vector<std::shared_ptr<KXModelAssetCharacter>> characters = getModels<KXModelAssetCharacter>();
    if (selected < 0 || static_cast<size_t>(selected) >= characters.size()) {
        return placed->hasValidCollisionShape() ? placed : nullptr;
    }
    const std::shared_ptr<KXModelAssetCharacter> chosen = characters[static_cast<size_t>(selected)];
    const CCPoint scale = placed->animatedScale(0.0f, 0);
    if (!chosen || !chosen->isCollisionShapeUsable(scale.x, scale.y)) {
        return nullptr;
    }
    std::shared_ptr<KXModelObjectAssetCharacter> source = placed;
    if (placed->characterAsset() != chosen) {
        source = modelCast<KXModelObjectAssetCharacter>(placed->clone(true, false));
        if (!source) {
            return nullptr;
        }
        // A deep clone registers its copies of registered children, and the character's own copy
        // below takes no children: they would stay in the store alone, one set for every rebuild
        // of the level. Only the copies leave it, never a child the clone shares with the placed
        // model.
        KXModelController* store = KXModelController::shared();
        for (const std::shared_ptr<KXModel>& child : source->children()) {
            if (!placed->hasChild(child)) {
                store->removeModel(child);
            }
        }
        source->setAsset(chosen);
    }
    return makeCharacterModel(source);
}

std::shared_ptr<KXModelObjectAssetCharacter>
KXPObjectAsset::makeCharacterModel(const std::shared_ptr<KXModelObjectAssetCharacter>& model) {
    if (!model) {
        return nullptr;
    }
    return KXModel::makeShared<KXModelObjectAssetCharacter>(*model);
}
