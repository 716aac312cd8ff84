#include "tools/kxdata/sample_controls.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "cocos2d.h"
#include "model/KXBaseAttribute.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectAccelerometer.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectManipulator.h"
#include "model/classes/KXModelObjectUnlocker.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "tools/kxdata/KXSampleGame.h"

using cocos2d::CCPoint;
using cocos2d::CCSize;

namespace kxdata {

namespace {

constexpr float kPlaceholderExtent = 40.0f;

template <class T> std::shared_ptr<T> firstOf(const SampleGame& game) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (std::shared_ptr<T> typed = modelCast<T>(model)) {
            return typed;
        }
    }
    return nullptr;
}

template <class T> std::shared_ptr<T> make(SampleGame& game, const std::string& name) {
    return std::static_pointer_cast<T>(game.make(T::staticClassName(), name));
}

void describeLabel(KXModelObjectLabel& label, const std::string& text, const std::string& scoreType,
                   float y) {
    label.positionAttribute()->setValue(CCPoint(568.0f, y), true);
    label.textAttribute()->setValue(text, true);
    label.scoreTypeAttribute()->setValue(scoreType, true);
    label.alignmentAttribute()->setValue("kCCTextAlignmentCenter", true);
    label.fontAttribute()->setValue("Title Font", true);
    label.trackingAttribute()->setValue(1.5f, true);
    label.autohideAttribute()->setValue(2.0f, true);
    label.stickToEdgeAttribute()->setValue(true, true);
    label.calculatedSizeAttribute()->setValue(CCSize(320.0f, 48.0f), true);
}

void describePurchase(KXModelObjectButtonPurchase& button, const std::string& type, const std::string& method,
                      float price, const std::shared_ptr<KXModelSound>& sound) {
    button.typeAttribute()->setValue(type, true);
    button.visibilityThresholdAttribute()->setValue(0.25f, true);
    button.buyAndUseAttribute()->setValue(type == "kPurchasePowerup", true);
    button.quantityAttribute()->setValue(3.0f, true);
    button.purchaseCompleteAttribute()->setValue(sound, true);
    button.purchaseMethodAttribute()->setValue(method, true);
    button.priceAttribute()->setValue(price, true);
    button.oneTimePurchaseAttribute()->setValue(type == "kPurchaseRemoveAds" ? "kYes" : "kNo", true);
    button.storeIdentifierAttribute()->setValue("com.example.runner." + type, true);
    button.adNetworkAttribute()->setValue("kNoAds", true);
}

void describeObstacle(KXModelAssetObstacle& obstacle, const SampleGame& game) {
    std::shared_ptr<KXModelAnimation> animation = firstOf<KXModelAnimation>(game);
    std::shared_ptr<KXModelSound> sound = firstOf<KXModelSound>(game);
    obstacle.idleAnimationAttribute()->setValue(animation, true);
    obstacle.defeatedAnimationAttribute()->setValue(animation, true);
    obstacle.idleSoundAttribute()->setValue(sound, true);
    obstacle.deathSoundAttribute()->setValue(sound, true);
    obstacle.wakeUpSoundAttribute()->setValue(sound, true);
}

} // namespace

void addSampleControls(SampleGame& game) {
    std::shared_ptr<KXModelSound> sound = firstOf<KXModelSound>(game);
    float y = 600.0f;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (auto label = modelCast<KXModelObjectLabel>(model)) {
            describeLabel(*label, label->name(), label->name() == "Coins" ? "Coins Collected" : "", y);
            y -= 60.0f;
        } else if (auto button = modelCast<KXModelObjectButtonPurchase>(model)) {
            describePurchase(*button, "kPurchasePowerup", "kInGameCurrency", 250.0f, sound);
        }
    }
    if (auto obstacle = firstOf<KXModelAssetObstacle>(game)) {
        describeObstacle(*obstacle, game);
    }

    std::shared_ptr<KXModel> node = game.make("KXNodeUI", "Controls");
    std::shared_ptr<KXModel> screen = game.make("KXModelScreen", "Controls Screen");
    node->addChild(screen, true);

    auto unlockNext = make<KXModelObjectUnlocker>(game, "Unlock Next");
    unlockNext->unlockTypeAttribute()->setValue("kButtonUnlock", true);
    unlockNext->objectAttribute()->setValue("kUnlockNext", true);
    auto unlockCharacter = make<KXModelObjectUnlocker>(game, "Unlock Character");
    unlockCharacter->unlockTypeAttribute()->setValue("kCharacterUnlock", true);

    auto removeAds = make<KXModelObjectButtonPurchase>(game, "Remove Ads");
    describePurchase(*removeAds, "kPurchaseRemoveAds", "kInAppPurchase", 1.99f, sound);

    auto joystick = make<KXModelObjectManipulator>(game, "Joystick");
    joystick->sensitivityAttribute()->setValue(0.75f, true);
    joystick->controlStyleAttribute()->setValue("kControlStyleAbsolute", true);
    joystick->positionAttribute()->setValue(CCPoint(120.0f, 120.0f), true);

    auto tilt = make<KXModelObjectAccelerometer>(game, "Tilt");
    tilt->sensitivityAttribute()->setValue(2.5f, true);
    tilt->controlTypeAttribute()->setValue("kControlTypeMove", true);
    tilt->activeAxesAttribute()->setValue("kActiveAxeX", true);

    for (const std::shared_ptr<KXModel>& child :
         {std::static_pointer_cast<KXModel>(unlockNext), std::static_pointer_cast<KXModel>(unlockCharacter),
          std::static_pointer_cast<KXModel>(removeAds), std::static_pointer_cast<KXModel>(joystick),
          std::static_pointer_cast<KXModel>(tilt)}) {
        screen->addChild(child, true);
    }
}

void storeReferencedModels(SampleGame& game) {
    std::set<const KXModel*> held;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        held.insert(model.get());
    }
    for (size_t index = 0; index < game.models.size(); ++index) {
        const std::shared_ptr<KXModel> model = game.models[index];
        for (const KXBaseAttribute* attribute : model->attributes()) {
            std::shared_ptr<KXModel> referenced = attribute->referencedModel();
            if (!referenced || !held.insert(referenced.get()).second) {
                continue;
            }
            // An empty placeholder gives no physics shape; a stored game's shapes have corners.
            if (auto polygon = modelCast<KXModelPolygon>(referenced)) {
                if (polygon->points().empty()) {
                    polygon->replaceWithBox(CCSize(kPlaceholderExtent, kPlaceholderExtent),
                                            CCPoint(0.0f, 0.0f), true);
                }
            }
            game.models.push_back(referenced);
        }
    }
}

size_t addEveryRegisteredClass(SampleGame& game) {
    std::set<std::string> used;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        used.insert(model->className());
    }
    size_t added = 0;
    for (const std::string& className : KXModelController::shared()->classNames()) {
        if (used.count(className) != 0) {
            continue;
        }
        game.make(className, "Every " + className);
        used.insert(className);
        ++added;
    }
    storeReferencedModels(game);
    uint32_t lastId = game.settings->lastIdAttribute()->value();
    for (const std::shared_ptr<KXModel>& model : game.models) {
        lastId = std::max(lastId, model->id());
    }
    game.settings->lastIdAttribute()->setValue(lastId, true);
    return added;
}

} // namespace kxdata
