// The game field's endless level: sections are chosen and laid end to end ahead of the camera,
// their objects made on the object layer (KXPScreenSceneInstantiation.cpp builds them a few per
// frame), and objects that fell behind or beside the view are marked for removal.

#include "player/field/KXPScreenScene.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPTrace.h"
#include "player/base/KXPTransformParts.h"
#include "player/field/KXPDeletionArea.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPSpawnPlacement.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/physics/KXPStepBudget.h"
#include "player/store/KXPCheckpointTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace cocos2d;

namespace {

// Passes of the cooldown count-down before the chooser gives up for this distance.
constexpr int kCooldownPasses = 21;
constexpr const char* kCheckpointType = "kPowerupCheckpoint";
// Points within which a placed checkpoint powerup is the one the checkpoint record holds.
constexpr float kSameCheckpointPlace = 0.5f;

bool isPowerupOfType(const KXPObject& object, const char* type) {
    const auto powerup = modelCast<KXModelObjectAssetPowerup>(object.getModel());
    return powerup && powerup->powerupType() == type;
}

bool hasActivePowerupChild(CCNode* node) {
    CCObject* item = nullptr;
    CCARRAY_FOREACH(node->getChildren(), item) {
        KXPObject* child = ccNodeAs<KXPObject>(item);
        if (child != nullptr && (child->getType() & KXPObject::kTypePowerup) != 0 && child->getState() == 1) {
            return true;
        }
    }
    return false;
}

} // namespace

// --- sections ---

float KXPScreenScene::addLevelSection(const std::shared_ptr<KXModelLevelSection>& section, float distance) {
    if (!section) {
        return 0.0f;
    }
    debugLog("add level section: %u", section->id());
    section->setPlacedDistance(distance);
    KXPCreationQueueEntry entry;
    entry.origin = m_gameplay->getGameplayDirection() * distance;
    entry.nextObjectIndex = 0;
    entry.section = section;
    entry.objects = new CCArray();
    entry.objects->init();
    m_creationQueue.push_back(entry);
    ++m_sectionsLaid;
    kxTrace("sections", "sections lay id=%u name=%s at=%.0f width=%.0f camera=%.0f", section->id(),
            section->name().c_str(), distance, section->width(), m_cameraDistance);
    const float length = section->laidLength(distance);
    if (!(length > 0.0f)) {
        m_sectionsInPlace.laid(section.get(), distance);
    }
    return length;
}

std::vector<size_t> KXPScreenScene::eligibleLevelSections(float distance, bool useCooldown) const {
    std::vector<size_t> eligible;
    for (size_t index = 0; index < m_levelSections.size(); ++index) {
        const KXModelLevelSection& section = *m_levelSections[index];
        if (section.isInitSection() || section.isMuted()) {
            continue;
        }
        const float start = section.startDistance();
        const bool inRange =
            start <= distance && (distance < section.endDistance() || section.endDistance() < 0.0f);
        if (!inRange && !section.isSolo()) {
            continue;
        }
        if (useCooldown && section.cooldownCounter() >= 1) {
            continue;
        }
        if (m_sectionsInPlace.isLaid(&section, distance)) {
            continue;
        }
        eligible.push_back(index);
    }
    return eligible;
}

void KXPScreenScene::decrementSectionCooldowns() {
    for (const auto& section : m_levelSections) {
        if (section->cooldownCounter() > 0) {
            section->setCooldownCounter(section->cooldownCounter() - 1);
        }
    }
}

std::shared_ptr<KXModelLevelSection> KXPScreenScene::chooseNextLevelSection(float distance) {
    if (m_levelSections.empty()) {
        return nullptr;
    }
    std::vector<size_t> candidates = eligibleLevelSections(distance, true);
    for (int pass = 0; candidates.empty() && pass < kCooldownPasses; ++pass) {
        decrementSectionCooldowns();
        candidates = eligibleLevelSections(distance, true);
    }
    if (candidates.empty()) {
        return nullptr;
    }
    const std::shared_ptr<KXModelLevelSection>& chosen =
        m_levelSections[candidates[static_cast<size_t>(std::rand()) % candidates.size()]];
    chosen->setCooldownCounter(chosen->playCooldown());
    return chosen;
}

void KXPScreenScene::startFirstLevelSection() {
    if (m_levelSections.empty()) {
        return;
    }
    const std::shared_ptr<KXModelLevelSection>& first = m_levelSections.front();
    KXPScreensController::shared()->setCurrentLevelSectionId(first->id());
    m_laidDistance += addLevelSection(first, m_laidDistance);
    instantiateAll("[start] updaing object creation queue");
}

void KXPScreenScene::instantiateAll(const char* logLine) {
    // Each call finishes a section or moves on by its share of models: the queue empties, with
    // nothing between the calls that steers a character.
    KXPInputController::AdditionBatch characters(m_inputController);
    do {
        debugLog("%s", logLine);
    } while (!instantiateQueuedObjects());
}

float KXPScreenScene::streamingCatchUpLimit() const {
    const CCSize view = CCDirector::sharedDirector()->getWinSize();
    float widest = 0.0f;
    for (const std::shared_ptr<KXModelLevelSection>& section : m_levelSections) {
        widest = std::max(widest, section->width());
    }
    return std::hypot(view.width, view.height) + widest;
}

void KXPScreenScene::streamLevel() {
    const float step = ccpDot(m_gameplay->getGameplayDirection(), m_objectLayer->getStep());
    m_cameraDistance += step;
    // At most one section per step; none qualifying lays nothing and the next step asks again
    // (sections whose distances leave a gap end the level there).
    if (!(m_cameraDistance > m_laidDistance) || !std::isfinite(m_cameraDistance)) {
        return;
    }
    // A camera that moved further in one step than a view and a section (a damaged game speed)
    // lays from where it is: catching up a section a step would only make objects to be removed
    // behind it, faster than they are made.
    if (std::fabs(step) > streamingCatchUpLimit()) {
        debugLog("[KXPScreenScene] the camera ran %.0f ahead of the level: laying from it",
                 m_cameraDistance - m_laidDistance);
        m_laidDistance = m_cameraDistance;
    }
    // Sections wait while earlier ones are still being made, so the queue stays bounded (the
    // restore catches up under a bound of its own).
    if (m_creationQueue.size() >= kMaxQueuedSections && !m_catchingUp) {
        return;
    }
    // A pile of objects (each frame's work grows with them, and some with their square) waits
    // until the camera leaves some of it behind.
    if (objectsMadeAndQueued() >= kCrowdedFieldObjects) {
        return;
    }
    // Likewise while the steps pass their budget: what a section brings would only add to it. Bodies
    // that wait outside the physics do not stop it: what a section brings is counted before its
    // first step and waits too where there is no room, and a crowd that never fits again (thousands
    // of coins at one point) would end the level where the characters run off its end.
    if (m_stepBudget->passesBudget()) {
        return;
    }
    const std::shared_ptr<KXModelLevelSection> section = chooseNextLevelSection(m_laidDistance);
    m_laidDistance += addLevelSection(section, m_laidDistance);
}

// --- objects ---

KXPObjectAsset* KXPScreenScene::createObject(const std::shared_ptr<KXBaseModelObject>& model,
                                             uint32_t sectionId, float dx, float dy,
                                             bool startSectionCharactersOnly) {
    KXPObjectAsset* object = KXPObjectAsset::create(model);
    if (object == nullptr) {
        return nullptr;
    }
    if (startSectionCharactersOnly && (object->getType() & KXPObject::kTypeCharacter) != 0 &&
        sectionId != KXPScreensController::shared()->currentLevelSectionId()) {
        // Never on the layer: the autorelease pool takes it.
        object->setState(KXPObject::kStateRemoved);
        return nullptr;
    }
    object->setSpawner(model->isSpawner());
    object->setLevelSectionId(sectionId);
    object->setPosition(object->getPosition() + CCPoint(dx, dy));
    object->setTag(static_cast<int>(model->id()));
    if ((object->getType() & KXPObject::kTypePowerup) != 0 && isPowerupOfType(*object, kCheckpointType)) {
        // The checkpoint already reached is not placed again. The record holds the place the
        // powerup reported through its transforms, which may differ from the laid place in the
        // last bits; an exact comparison would place it again and collect it once more.
        const KXPCheckpointRecord* record = currentCheckpoint();
        if (record != nullptr && object->getPosition().fuzzyEquals(record->position, kSameCheckpointPlace)) {
            return nullptr;
        }
    }
    m_objectLayer->addChild(object, model->zDepth());
    object->setObjectLayer(m_objectLayer);
    object->addToWorld(m_world, true);
    object->update(0.0f);
    if (object->getType() == KXPObject::kTypeMirror) {
        addMirror(object);
    }
    return object;
}

KXPObjectAsset* KXPScreenScene::createObjectAtNode(const std::shared_ptr<KXBaseModelObject>& model,
                                                   CCNode* parent) {
    KXPObjectAsset* object = KXPObjectAsset::create(model);
    if (object == nullptr) {
        return nullptr;
    }
    object->setPosition(CCPointZero);
    m_objectLayer->addChild(object, model->zDepth());
    if (parent != nullptr) {
        const CCAffineTransform transform =
            CCAffineTransformConcat(object->nodeToParentTransform(), parent->nodeToParentTransform());
        KXPTransformParts::ofDestination(transform).applyTo(object);
    }
    object->setSpawner(model->isSpawner());
    object->setObjectLayer(m_objectLayer);
    object->addToWorld(m_world, true);
    if ((object->getType() & KXPObject::kTypeCharacter) != 0 && object->getBody() == nullptr) {
        object->setState(KXPObject::kStateRemoved);
        object->removeFromParent();
        return nullptr;
    }
    object->update(0.0f);
    return object;
}

void KXPScreenScene::addSpawnedObject(KXPObjectAsset* object, KXPObjectAsset* spawner) {
    KXPSpawnPlacement::place(m_objectLayer, m_world, object, spawner);
}

void KXPScreenScene::createCharacters() {
    if (!m_inputController->characters().empty()) {
        return;
    }
    const uint32_t sectionId = KXPScreensController::shared()->currentLevelSectionId();
    const auto section = getModel<KXModelLevelSection>(sectionId);
    if (!section) {
        return;
    }
    const auto scene = getFirstParent<KXModelScreenScene>(*section);
    if (!scene) {
        return;
    }
    KXPInputController::AdditionBatch characters(m_inputController);
    for (const auto& start : getModels<KXModelLevelSection>()) {
        if (!start->isInitSection() || !start->hasParent(scene)) {
            continue;
        }
        for (const auto& child : start->children()) {
            const auto character = modelCast<KXModelObjectAssetCharacter>(child);
            if (character && !character->isHidden()) {
                createObject(character, start->id(), 0.0f, 0.0f, false);
            }
        }
    }
}

void KXPScreenScene::checkObjectDeletion(KXPObject* object) {
    // Kinds are bits: a character riding a path or a unit's copy carries one more.
    const uint32_t type = object->getType();
    const int32_t state = object->getState();
    const auto is = [type](uint32_t kind) { return (type & kind) != 0; };
    if (is(KXPObject::kTypeBackgroundLayer) ||
        (is(KXPObject::kTypeCharacter) && state != KXPObject::kStateDead) ||
        state == KXPObject::kStateRemoved || is(KXPObject::kTypeText) ||
        (is(KXPObject::kTypePowerup) && state == 1) || is(KXPObject::kTypeGroup) ||
        hasActivePowerupChild(object)) {
        return;
    }
    if (!m_deletionArea) {
        m_deletionArea.emplace(
            m_gameplay->getGameplayAngleDirection(), CCDirector::sharedDirector()->getWinSize(),
            m_gameplay->getSidesDeletionThreshold(), m_gameplay->getBackDeletionThreshold(),
            m_objectLayer->getPosition() + visibleAreaOffset());
    }
    if (m_deletionArea->isLeftBehind(object->boundingRect())) {
        object->setState(KXPObject::kStateRemoved);
        if (kxTraceEnabled("objects")) {
            const CCPoint position = object->getPosition();
            // The tag is the object's model id, or -1 for an object made without one.
            const int tag = object->getTag();
            kxTrace("objects", "objects remove tag=%lld at=%.0f,%.0f",
                    tag == kCCNodeTagInvalid ? -1LL : static_cast<long long>(static_cast<uint32_t>(tag)),
                    position.x, position.y);
        }
    }
}
