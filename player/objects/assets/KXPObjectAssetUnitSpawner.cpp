// The spawner side of a unit: an invisible emitter that, while spawning, places a fresh copy of
// itself into the level every "Spawn Rate" seconds. Copies fly off with the unit's own movement
// and go as soon as they leave the visible area. Spawning runs all the time or while the shoot
// or jump action is held.

#include "player/objects/assets/KXPObjectAssetUnit.h"

#include "model/classes/KXModelObjectAssetUnit.h"
#include "player/base/KXPLevelField.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPSpawnBudget.h"
#include "player/objects/assets/KXPUnitEnums.h"
#include "player/screens/KXPScreen.h"

using namespace cocos2d;

void KXPObjectAssetUnit::setSpawner(bool spawner) {
    KXPObjectAsset::setSpawner(spawner);
    if (!spawner) {
        if (KXPInputController* input = KXPInputController::existing()) {
            input->unsubscribeUnit(this);
        }
        showAnimation(m_idleAnimation, true);
        showAnimation(m_defeatedAnimation, false);
        return;
    }
    showAnimation(m_idleAnimation, false);
    showAnimation(m_defeatedAnimation, false);
    const std::shared_ptr<KXModelObjectAssetUnit> model = unitModel();
    switch (KXPUnitEnums::spawnAction(model ? model->spawnAction() : std::string())) {
    case KXPUnitEnums::kSpawnPermanent:
        setSpawning(true);
        break;
    case KXPUnitEnums::kSpawnOnShoot:
        m_resettingSpawner = true;
        KXPInputController::shared()->subscribeUnit(KXPInputController::kActionShoot, this);
        break;
    case KXPUnitEnums::kSpawnOnJump:
        KXPInputController::shared()->subscribeUnit(KXPInputController::kActionJump, this);
        break;
    case KXPUnitEnums::kSpawnOnShootKeepingTime:
        m_resettingSpawner = false;
        KXPInputController::shared()->subscribeUnit(KXPInputController::kActionShoot, this);
        break;
    case KXPUnitEnums::kSpawnNever:
        break;
    }
}

void KXPObjectAssetUnit::setType(uint32_t flags) {
    KXPObjectAsset::setType(flags);
    if ((flags & kTypeSpawnedCopy) == 0 || m_idleAnimation == nullptr) {
        return;
    }
    // Spawners shown inside a copy would multiply without end.
    for (int index = 0; index < m_idleAnimation->entryCount(); ++index) {
        if (KXPObjectAssetUnit* nested =
                dynamic_cast<KXPObjectAssetUnit*>(m_idleAnimation->childNodeAt(index))) {
            nested->setSpawner(false);
        }
    }
}

void KXPObjectAssetUnit::spawn() {
    if (m_spawnCountdown > 0.0f) {
        return;
    }
    // Bodies may only be made outside the world step, and copies only on the game field; the
    // next frame tries again.
    KXPLevelField* field = dynamic_cast<KXPLevelField*>(KXPScreen::runningScreen());
    if (field == nullptr || field->getWorld() == nullptr || field->getWorld()->IsLocked()) {
        return;
    }
    const std::shared_ptr<KXModelObjectAssetUnit> model = unitModel();
    m_spawnCountdown = model->spawnRate();
    // Past the budget the shot is skipped; the gun keeps its rhythm.
    if (!KXPSpawnBudget::allows()) {
        return;
    }
    KXPObjectAsset* copy = KXPObjectAsset::create(model);
    if (copy == nullptr) {
        return;
    }
    if (auto* unit = dynamic_cast<KXPObjectAssetUnit*>(copy)) {
        unit->m_budgetedCopy = true;
        KXPSpawnBudget::copyMade();
    }
    copy->setType(copy->getType() | kTypeSpawnedCopy);
    copy->setSpawner(false);
    copy->setZOrder(m_attached ? getZOrder() : model->zDepth());
    field->addSpawnedObject(copy, this);
    copy->wakeUp();
}
