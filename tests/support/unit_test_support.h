// Unit models for the unit suites: an obstacle asset with a box collision shape and an idle
// animation of one picture of the same size (a picture without an image is 100 x 100, scaled
// here), optional defeated animation, wake-up and spawner components.
#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelComponentSpawner.h"
#include "model/classes/KXModelComponentWakeup.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelQueries.h"
#include "model/references/KXAttributeAnimation.h"
#include "support/model_class_helpers.h"

#include "cocos2d.h"

#include <memory>
#include <string>

namespace kxtest {

// A looping animation of `duration` seconds at speed 1 showing one picture of that size.
inline std::shared_ptr<KXModelAnimation>
pictureAnimation(const std::string& name, const cocos2d::CCSize& size, float duration = 1.0f) {
    std::shared_ptr<KXModelAnimation> animation = createModel<KXModelAnimation>();
    animation->setName(name);
    animation->speedAttribute()->setValue(1.0f, true);
    animation->durationAttribute()->setValue(duration, true);
    animation->loopAttribute()->setValue(true, true);
    std::shared_ptr<KXModelObjectImage> picture = createModel<KXModelObjectImage>();
    picture->setName(name + " Picture");
    picture->scaleAttribute()->setValue(cocos2d::CCPoint(size.width / 100.0f, size.height / 100.0f), true);
    animation->addChild(picture, true);
    return animation;
}

// A placed unit of that kind ("Object Type" first: it sets the other choices) whose obstacle
// collides as a box of `size` and shows it, unless `withIdle` is false.
inline std::shared_ptr<KXModelObjectAssetUnit>
unitModel(const std::string& name, const std::string& kind,
          const cocos2d::CCSize& size = cocos2d::CCSize(40, 40), bool withIdle = true) {
    std::shared_ptr<KXModelAssetObstacle> obstacle = createModel<KXModelAssetObstacle>();
    obstacle->setName(name + " Asset");
    obstacle->setCollisionBox(size, cocos2d::CCPointZero);
    if (withIdle) {
        obstacle->setIdleAnimation(pictureAnimation(name + " Idle", size));
    }
    std::shared_ptr<KXModelObjectAssetUnit> unit = createModel<KXModelObjectAssetUnit>();
    unit->setName(name);
    unit->setAsset(obstacle);
    unit->setObjectType(kind);
    return unit;
}

inline void setDefeatedAnimation(const KXModelObjectAssetUnit& unit,
                                 const std::shared_ptr<KXModelAnimation>& animation) {
    unit.assetObstacle()->defeatedAnimationAttribute()->setValue(animation, true);
}

inline void setLinearVelocity(KXModelObjectAssetUnit& unit, const cocos2d::CCPoint& value,
                              const cocos2d::CCPoint& spread = cocos2d::CCPointZero) {
    KXAttributePoint* velocity = attributeOf<KXAttributePoint>(unit, "Linear Velocity");
    velocity->setValue(value, true);
    velocity->setVariableValue(spread);
}

inline void setAngularVelocity(KXModelObjectAssetUnit& unit, float value, float spread = 0.0f) {
    KXAttributeFloat* velocity = attributeOf<KXAttributeFloat>(unit, "Angular Velocity");
    velocity->setValue(value, true);
    velocity->setVariableValue(spread);
}

// The one-way vector of the unit's collision shape.
inline void setOneWay(const KXModelObjectAssetUnit& unit, const cocos2d::CCPoint& vector) {
    unit.assetObstacle()->collisionShape()->setOneWayCollisionVector(vector, true);
}

inline std::shared_ptr<KXModelComponentWakeup> addWakeup(KXModelObjectAssetUnit& unit,
                                                         const std::string& wakeUp, float wakeupDistance,
                                                         const std::string& sleep = "kNoSleep",
                                                         float sleepDistance = 0.0f) {
    std::shared_ptr<KXModelComponentWakeup> wakeup = createModel<KXModelComponentWakeup>();
    attributeOf<KXAttributeStringList>(*wakeup, "Wake Up")->setValue(wakeUp, true);
    attributeOf<KXAttributeFloat>(*wakeup, "Wakeup Distance")->setValue(wakeupDistance, true);
    attributeOf<KXAttributeStringList>(*wakeup, "Sleep")->setValue(sleep, true);
    attributeOf<KXAttributeFloat>(*wakeup, "Sleep Distance")->setValue(sleepDistance, true);
    unit.addChild(wakeup);
    return wakeup;
}

// The unit model gets a spawner component with that action and rate (and rate spread).
inline void addSpawner(KXModelObjectAssetUnit& unit, const std::string& action, float rate,
                       float spread = 0.0f) {
    unit.setSpawnerEnabled(true);
    unit.setSpawnAction(action);
    KXAttributeFloat* rateAttribute = attributeOf<KXAttributeFloat>(*unit.spawnerComponent(), "Spawn Rate");
    rateAttribute->setValue(rate, true);
    rateAttribute->setVariableValue(spread);
}

} // namespace kxtest
