// Rebuilding the running level from its stored checkpoint, restarts, lives and game over, and
// the checkpoint powerups' storing and finding of checkpoints.

#include "player/field/KXPScreenScene.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/KXPhysicsBounds.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPGeometry.h"
#include "player/base/KXPTrace.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPObject.h"
#include "player/objects/KXPObjectBackgroundLayer.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/buttons/KXPObjectButtonPurchase.h"
#include "player/physics/KXPStepBudget.h"
#include "player/screens/KXPScreenUi.h"
#include "player/services/KXServices.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPScoreRecord.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "player/store/KXPSwitchStateTable.h"

#include <cfloat>
#include <memory>

using namespace cocos2d;

namespace {

// Where the camera starts counting, so the first sections are laid ahead of the window.
constexpr float kRestoredCameraDistance = 1400.0f;
// The restore's catch-up stops here whatever the sections say (a camera the stored checkpoint
// puts far ahead of the level, with sections that add little and hold nothing).
constexpr int kCatchUpPasses = 1000;
constexpr const char* kCheckpointType = "kPowerupCheckpoint";
// How far the search for a checkpoint powerup ahead goes, and how many passes beyond one per
// section change it makes (each retries a section whose checkpoint could not stand where it was).
constexpr float kSearchLimit = 1000000.0f;
constexpr size_t kSearchVisits = 10;
// A far point of the gameplay line through the origin.
constexpr float kLineLength = 100000000.0f;

bool isCheckpointPowerup(const KXPObject& object) {
    const auto powerup = modelCast<KXModelObjectAssetPowerup>(object.getModel());
    return powerup && powerup->powerupType() == kCheckpointType;
}

// The powerup button's asset: its "Powerup Selection" holds the asset's id.
std::shared_ptr<KXModelAssetPowerup> powerupOf(const KXModelObjectButtonPowerup& button) {
    return getModel<KXModelAssetPowerup>(leadingId(button.powerupSelection()));
}

bool belongsToAScreen(const KXModel& model) {
    for (const std::shared_ptr<KXModel>& parent : model.getParents()) {
        if (modelKindCast<KXBaseModelScreen>(parent)) {
            return true;
        }
    }
    return false;
}

template <class Value> void subtractSession(Value& from, const Value& amount) {
    from.session -= amount.session;
    if (from.session < 0) {
        from.session = 0;
    }
}

void zeroSessionAndCopies(KXPScoreRecord& record) {
    record.distance.session = 0.0f;
    record.points.session = 0;
    record.coins.session = 0;
    record.distance.ensureBackup().values[0] = 0.0f;
    record.points.ensureBackup().values[0] = 0;
    record.coins.ensureBackup().values[0] = 0;
}

void killPowerupsUnder(CCNode* node) {
    CCArray* children = node->getChildren();
    for (unsigned int index = 0; children != nullptr && index < children->count(); ++index) {
        CCNode* child = static_cast<CCNode*>(children->objectAtIndex(index));
        KXPObject* object = ccNodeAs<KXPObject>(child);
        if (object != nullptr && (object->getType() & KXPObject::kTypePowerup) != 0) {
            object->setState(KXPObject::kStateDead);
        }
        killPowerupsUnder(child);
    }
}

} // namespace

// --- the restore ---

void KXPScreenScene::restoreFromCheckpoint() {
    // Any rebuild, whoever asks for it, answers a death waiting for one.
    m_lifeRebuildWaiting = false;
    ++m_rebuilds;
    // 1. No characters; the camera follows at once while the level is rebuilt.
    m_inputController->reset();
    m_objectLayer->resetBounds();
    m_objectLayer->setPosition(CCPointZero);
    m_objectLayer->setFollowFactor(1.0f);
    // 2, 3.
    m_slowDown = 0.0f;
    m_lastCharacterDistance = -FLT_MAX;
    m_gameOverCountdown = selectedCharacterGameOverDelay();
    flash(0.0f);
    shake(0.0f);
    // 4. Everything but the background layers goes; sections still being built are dropped.
    std::vector<CCNode*> leaving;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_objectLayer->getChildren(), item) {
        KXPObject* object = dynamic_cast<KXPObject*>(item);
        if (object != nullptr && (object->getType() & KXPObject::kTypeBackgroundLayer) != 0) {
            continue;
        }
        // Held from the start: an object that leaves may take others with it.
        CCNode* node = static_cast<CCNode*>(item);
        node->retain();
        leaving.push_back(node);
    }
    for (CCNode* node : leaving) {
        node->removeFromParent();
        if (KXPObject* object = dynamic_cast<KXPObject*>(node)) {
            object->setState(KXPObject::kStateRemoved);
            removeMirror(object);
        }
    }
    for (CCNode* node : leaving) {
        node->release();
    }
    for (KXPCreationQueueEntry& entry : m_creationQueue) {
        CC_SAFE_RELEASE(entry.objects);
    }
    m_creationQueue.clear();
    clearTeleports();
    // 5.
    CCARRAY_FOREACH(m_backgroundLayers, item) {
        static_cast<KXPObjectBackgroundLayer*>(item)->restoreInitialState();
    }
    // 6.
    m_inputController->clearMotors();
    m_inputController->clearUnits();
    decrementSectionCooldowns();
    KXSound::stopGroup(KXSound::kGameObjectGroup, false);
    // 7.
    m_paused = false;
    m_requestedPause = false;
    m_gameOver = false;
    m_cameraDistance = kRestoredCameraDistance;
    m_laidDistance = 0.0f;
    m_sectionsInPlace.clear();
    const unsigned long sectionsBefore = m_sectionsLaid;
    // 8. The section the level was opened at, else the first one.
    const uint32_t startId = KXPScreensController::shared()->currentLevelSectionId();
    std::shared_ptr<KXModelLevelSection> start;
    for (const auto& section : m_levelSections) {
        if (startId != 0 && section->id() == startId) {
            start = section;
            break;
        }
    }
    if (start) {
        m_laidDistance += addLevelSection(start, m_laidDistance);
        instantiateAll("[destinetion] updaing object creation queue");
    } else {
        startFirstLevelSection();
    }
    // 9. The checkpoint: the section before it, its own section, characters and camera there.
    KXPCheckpointRecord* record = currentCheckpoint();
    const bool fromCheckpoint = record != nullptr && !record->position.equals(CCPointZero);
    if (fromCheckpoint) {
        const KXPCheckpointRecord checkpoint = *record;
        const float remembered = m_laidDistance;
        m_laidDistance = checkpoint.distance;
        const std::shared_ptr<KXModelLevelSection> before =
            chooseNextLevelSection(checkpoint.distance - 100.0f);
        if (before && !before->isInitSection()) {
            m_laidDistance -= before->laidLength(m_laidDistance);
            m_laidDistance += addLevelSection(before, m_laidDistance);
        }
        instantiateAll("updaing object creation queue");
        const auto own = getModel<KXModelLevelSection>(checkpoint.levelSectionId);
        if (own && !own->isInitSection()) {
            m_laidDistance += addLevelSection(own, m_laidDistance);
        } else {
            m_laidDistance = remembered;
        }
        instantiateAll("updaing object creation queue");

        m_inputController->placeCharacters(checkpoint.position);
        debugLog("Restore Camera Positon: %f %f", checkpoint.cameraOffset.x, checkpoint.cameraOffset.y);
        m_objectLayer->setPosition(checkpoint.cameraOffset);
        m_cameraDistance += ccpLength(checkpoint.cameraOffset);
        CCARRAY_FOREACH(m_backgroundLayers, item) {
            CCNode* layer = static_cast<CCNode*>(item);
            layer->setPosition(layer->getPosition() - checkpoint.cameraOffset);
        }
        m_objectLayer->setTarget(m_inputController->charactersPosition());
        m_objectLayer->setViewRect(m_inputController->charactersBoundingRect());
    }
    // 10, 11.
    currentWorldScores().revert();
    worldScores("").revert();
    m_gameplay->setGameSpeed(m_gameplay->getGameSpeedMin());
    m_magnetActive = false;
    // 12.
    refillPowerupsAtStart();
    // 13. Catch-up: frames of no time until the level reaches the camera, or stops growing (no
    // section laid: one that adds no distance is still growth, the next may add some). Sections
    // much narrower than what they hold would hold this frame for as many passes, each making and
    // stepping their piled bodies: once the field is crowded the level goes on with the
    // streaming, a section a step, in the frames that follow.
    bool grew = true;
    int passes = 0;
    m_stepBudget->beginFrame();
    const auto sayStepsFull = [&]() {
        debugLog("[KXPScreenScene] restore: its steps would take more than a frame; %lu sections laid, %.0f "
                 "short of the camera; the level goes on in the next frames",
                 m_sectionsLaid - sectionsBefore, m_cameraDistance - m_laidDistance);
    };
    while (m_cameraDistance > m_laidDistance && grew) {
        if (passes > 0 && kx::physicsBoundsOn() && m_stepBudget->frameWork() >= KXPStepBudget::kMaxWork) {
            sayStepsFull();
            break;
        }
        if (passes == kCatchUpPasses ||
            (m_sectionsLaid - sectionsBefore >= kRestoreSections && isCrowded())) {
            debugLog("[KXPScreenScene] restore: %lu sections laid, %.0f short of the camera; the "
                     "level goes on in the next frames",
                     m_sectionsLaid - sectionsBefore, m_cameraDistance - m_laidDistance);
            break;
        }
        ++passes;
        const float laid = m_laidDistance;
        const unsigned long sections = m_sectionsLaid;
        // The catch-up's own bound keeps the queue finite; it is made in one go below.
        m_catchingUp = true;
        update(0.0f);
        m_catchingUp = false;
        grew = m_laidDistance != laid || m_sectionsLaid != sections;
        // The streaming waits while the steps pass their budget: the steps' work stopped it.
        if (!grew && kx::physicsBoundsOn() && m_stepBudget->passesBudget()) {
            sayStepsFull();
        }
    }
    instantiateAll("updaing object creation queue");
    // The catch-up's frames had no characters to measure: the real ones give the starting point.
    m_lastCharacterDistance = -FLT_MAX;
    // 14.
    createCharacters();
    m_objectLayer->setFollowFactor(m_sceneModel->cameraSmooth());
    KXPSettingsController::shared()->save();
    const std::shared_ptr<KXModelComponentHealth> health = firstCharacterHealth();
    kxTrace("game", "game restore checkpoint=%s laid=%.0f camera=%.0f lives=%d",
            fromCheckpoint ? "yes" : "no", m_laidDistance, m_cameraDistance,
            health ? health->remainingLives : -1);
}

size_t KXPScreenScene::objectsMadeAndQueued() const {
    size_t objects = m_objectLayer->getChildrenCount();
    for (const KXPCreationQueueEntry& entry : m_creationQueue) {
        const size_t made = static_cast<size_t>(std::max(entry.nextObjectIndex, 0));
        objects += entry.section->objects().size() - std::min(made, entry.section->objects().size());
    }
    return objects;
}

bool KXPScreenScene::isCrowded() const {
    // The objects of the sections still being made count as well: the catch-up outruns the making.
    return objectsMadeAndQueued() >= kCrowdedObjects;
}

void KXPScreenScene::refillPowerupsAtStart() {
    KXPSettingsController* settings = KXPSettingsController::shared();
    for (const std::shared_ptr<KXModelObjectButtonPowerup>& button :
         getModels<KXModelObjectButtonPowerup>()) {
        if (!button->refillAtStart() || !belongsToAScreen(*button)) {
            continue;
        }
        const std::shared_ptr<KXModelAssetPowerup> powerup = powerupOf(*button);
        if (powerup && static_cast<float>(settings->inventoryCount(powerup)) < button->maxRefill()) {
            settings->setInventoryCount(powerup, kx::truncateToInt(button->maxRefill()));
        }
    }
}

std::shared_ptr<KXModelComponentHealth> KXPScreenScene::firstCharacterHealth() const {
    return m_inputController->firstCharacterHealth();
}

// --- requests, restarts, game over ---

// Holds the field while a UI layer keeps its request. The UI layer may drop the request unrun (it
// is made again, another action takes its place, it leaves the stage): the field is let go of
// either way, and a rebuild for a life spent is reported lost. Such a rebuild remembers how many
// rebuilds there had been, so that one made since (a restart) counts as its answer.
class KXPScreenScene::HeldRequest {
public:
    HeldRequest(KXPScreenScene* field, int request, bool spentLife)
        : m_field(field), m_request(request), m_spentLife(spentLife), m_rebuilds(field->m_rebuilds) {
        m_field->retain();
    }
    ~HeldRequest() {
        if (!m_ran && m_spentLife) {
            m_field->lifeRebuildLost(m_rebuilds);
        }
        m_field->release();
    }
    HeldRequest(const HeldRequest&) = delete;
    HeldRequest& operator=(const HeldRequest&) = delete;

    void run() {
        if (m_ran) {
            return;
        }
        m_ran = true;
        if (m_spentLife && m_field->m_rebuilds != m_rebuilds) {
            m_field->lifeRebuildAnswered(m_request);
            return;
        }
        m_field->handleRequest(m_request);
    }

private:
    KXPScreenScene* m_field;
    int m_request;
    bool m_spentLife;
    unsigned long m_rebuilds;
    bool m_ran = false;
};

void KXPScreenScene::setPendingRequest(int request) {
    queueRequest(request, false);
}

void KXPScreenScene::queueRequest(int request, bool spentLife) {
    // Inside the world step or the objects' work nothing may rebuild the level: the request waits
    // for the next update even when the UI layer would run it at once (a HUD without a closing
    // animation). Nor does it take the place of an action the UI layer keeps for the end of its
    // closing animation (a button pressed): that action goes first.
    if (m_uiLayer != nullptr && !requestsWait() && !m_uiLayer->hasDeferredAction()) {
        const auto held = std::make_shared<HeldRequest>(this, request, spentLife);
        m_uiLayer->runAfterCloseAnimation([held] { held->run(); });
        return;
    }
    m_pendingRequest = request;
    m_pendingSpentLife = spentLife;
    m_pendingRebuilds = m_rebuilds;
}

void KXPScreenScene::runPendingRequest() {
    const int request = m_pendingRequest;
    const bool spentLife = m_pendingSpentLife;
    m_pendingRequest = 0;
    m_pendingSpentLife = false;
    if (spentLife && m_rebuilds != m_pendingRebuilds) {
        lifeRebuildAnswered(request);
    } else if (m_uiLayer != nullptr) {
        // Through the UI layer now: its closing animation plays first, and an action it keeps
        // still goes before the request.
        queueRequest(request, spentLife);
    } else {
        handleRequest(request);
    }
}

void KXPScreenScene::lifeRebuildLost(unsigned long rebuilds) {
    if (!m_lifeRebuildWaiting || rebuilds != m_rebuilds) {
        return; // the level has been rebuilt since: the wait is another death's, or over
    }
    m_lifeRebuildWaiting = false;
    // The countdown, still run out, counts the death again and asks anew: the life goes back so
    // that the death costs one in all. A field off the stage takes nothing back.
    if (isRunning()) {
        if (const std::shared_ptr<KXModelComponentHealth> health = firstCharacterHealth()) {
            ++health->remainingLives;
        }
    }
}

void KXPScreenScene::lifeRebuildAnswered(int request) {
    // Rebuilding once more would throw away the play since, and refill the lives of a game that
    // has ended meanwhile. The HUD that closed for the death still comes back.
    if (KXPScreen::runningScreen() == this && (request & kRequestResumeFromUi) != 0) {
        resumeFromUi();
    }
    if (m_gameOver && m_uiLayer != nullptr) {
        m_uiLayer->setControlsEnabled(false);
    }
    setControlsVisible(true);
}

void KXPScreenScene::handleRequest(int request) {
    if (request == 0) {
        return;
    }
    // Every request rebuilds the level: a death waiting for its rebuild is over.
    m_lifeRebuildWaiting = false;
    const std::shared_ptr<KXModelComponentHealth> health = firstCharacterHealth();
    if ((request & kRequestFullRestart) != 0 && m_model) {
        // A new game: no checkpoint, this world's run taken back out of the global figures.
        KXPObjectButtonPurchase::resetPerGamePurchases();
        checkpointRecord(m_model->key()) = KXPCheckpointRecord();
        KXPScoreRecord& global = worldScores("");
        KXPScoreRecord& world = currentWorldScores();
        global.revert();
        world.revert();
        if (&world != &global) {
            subtractSession(global.distance, world.distance);
            subtractSession(global.points, world.points);
            subtractSession(global.coins, world.coins);
        }
        zeroSessionAndCopies(world);
        global.commit();
        if (health) {
            health->remainingLives = health->lives();
        }
    }
    if (health && health->remainingLives == 0) {
        health->remainingLives = health->lives();
    }
    if (KXPScreen::runningScreen() == this) {
        clearSwitchStates();
        m_gameOver = false;
        restoreFromCheckpoint();
        showAds();
        if ((request & kRequestResumeFromUi) != 0) {
            resumeFromUi();
        }
    }
    setControlsVisible(true);
    KXPSettingsController::shared()->save();
}

void KXPScreenScene::restartLevel(CCObject* sender) {
    (void)sender;
    KXPObjectButtonPurchase::resetPerGamePurchases();
    clearSwitchStates();
    if (KXPCheckpointRecord* record = currentCheckpoint()) {
        *record = KXPCheckpointRecord();
    }
    zeroSessionAndCopies(currentWorldScores());
    worldScores("").revert();
    restoreFromCheckpoint();
}

void KXPScreenScene::setGameOver(bool gameOver) {
    // The countdown calls every frame until the level is rebuilt, also while the rebuild for the
    // life just spent waits behind the HUD's closing animation.
    if (gameOver && (m_gameOver || m_lifeRebuildWaiting)) {
        return;
    }
    if (gameOver) {
        if (const std::shared_ptr<KXModelComponentHealth> health = firstCharacterHealth()) {
            if (health->remainingLives >= 1) {
                --health->remainingLives;
                if (health->remainingLives > 0) {
                    // One life less: the level comes back from the checkpoint.
                    m_lifeRebuildWaiting = true;
                    queueRequest(kRequestResumeFromUi, true);
                    return;
                }
            } else {
                health->remainingLives = 0;
            }
        }
    }
    m_gameOver = gameOver;
    kxTrace("game", "game over=%d", gameOver ? 1 : 0);
    if (!gameOver) {
        restoreFromCheckpoint();
        showAds();
        return;
    }
    setObjectsPaused(m_objectLayer, true);
    if (KXServices::shared()->isGameServicesAvailable()) {
        KXServices::shared()->submitScore();
    }
    killPowerupsUnder(m_objectLayer);
    KXPSettingsController::shared()->save();
    clearSwitchStates();
    if (m_uiLayer != nullptr) {
        m_uiLayer->setControlsEnabled(false);
    }
}

// --- checkpoints ---

void KXPScreenScene::activateCheckpoint(const CCPoint& position, uint32_t levelSectionId) {
    KXPCheckpointRecord* record = currentCheckpoint();
    if (record == nullptr) {
        return;
    }
    if (const auto section = getModel<KXModelLevelSection>(levelSectionId)) {
        record->distance = section->placedDistance();
    }
    record->position = position;
    record->levelSectionId = levelSectionId;
    // The camera goes back by the way the characters made along the gameplay line since the start.
    const CCPoint start = m_inputController->charactersStartPosition();
    const CCPoint along =
        projectPointOnLine(CCPointZero, m_gameplay->getGameplayDirection() * kLineLength, position - start);
    record->cameraOffset = CCPointZero - along;
    currentWorldScores().commit();
    worldScores("").commit();
    KXPSettingsController::shared()->save();
    kxTrace("game", "game checkpoint at=%.0f,%.0f section=%u distance=%.0f", position.x, position.y,
            levelSectionId, record->distance);
}

KXPObjectAsset* KXPScreenScene::findNearestCheckpointPowerup(CCNode* node) {
    CCNode* root = node != nullptr ? node : m_objectLayer;
    KXPObjectAsset* nearest = nullptr;
    float nearestDistance = FLT_MAX;
    CCArray* children = root->getChildren();
    for (unsigned int index = 0; children != nullptr && index < children->count(); ++index) {
        CCNode* child = static_cast<CCNode*>(children->objectAtIndex(index));
        KXPObjectAsset* found = nullptr;
        KXPObjectAsset* asset = ccNodeAs<KXPObjectAsset>(child);
        // A powerup waiting in state 0 has not been collected; one riding a path is one too.
        if (asset != nullptr && (asset->getType() & KXPObject::kTypePowerup) != 0 &&
            asset->getState() == KXPObject::kStateActive && isCheckpointPowerup(*asset) &&
            asset->distanceFromCharacters() >= 0.0f) {
            found = asset;
        }
        for (KXPObjectAsset* candidate : {found, findNearestCheckpointPowerup(child)}) {
            if (candidate != nullptr && candidate->distanceFromCharacters() < nearestDistance) {
                nearest = candidate;
                nearestDistance = candidate->distanceFromCharacters();
            }
        }
    }
    return nearest;
}

void KXPScreenScene::findCheckpointPowerup() {
    if (KXPObjectAsset* made = findNearestCheckpointPowerup(nullptr)) {
        made->setState(1);
        debugLog("Checkpoint powerup activated for object that already created with distance: %f",
                 made->distanceFromCharacters());
        return;
    }
    // Look ahead of the laid sections without laying any: at each distance try every section that
    // could be laid there, then jump to where that choice changes. Cooldowns and the section pick
    // belong to the streaming, so they stay as they were.
    float distance = m_laidDistance;
    bool sawObjects = false;
    const size_t passes = 2 * m_levelSections.size() + kSearchVisits;
    for (size_t pass = 0; pass < passes && distance <= kSearchLimit; ++pass) {
        float next = nextSectionChange(distance);
        for (const size_t index : eligibleLevelSections(distance, false)) {
            const std::shared_ptr<KXModelLevelSection>& section = m_levelSections[index];
            sawObjects = sawObjects || !section->children().empty();
            bool refused = false;
            if (placeCheckpointPowerup(section, distance, refused)) {
                return;
            }
            // Its checkpoint could not stand here (the one already reached): try its next lay.
            const float width = section->width();
            if (refused && width > 0.0f && distance + width < next) {
                next = distance + width;
            }
        }
        if (!(next > distance)) {
            break;
        }
        distance = next;
    }
    if (sawObjects) {
        debugLog("Warning: checkpoint powerup NOT found");
    }
}

float KXPScreenScene::nextSectionChange(float distance) const {
    float next = FLT_MAX;
    for (const auto& section : m_levelSections) {
        for (const float edge : {section->startDistance(), section->endDistance()}) {
            if (edge > distance && edge < next) {
                next = edge;
            }
        }
    }
    return next;
}

bool KXPScreenScene::placeCheckpointPowerup(const std::shared_ptr<KXModelLevelSection>& section,
                                            float distance, bool& refused) {
    const CCPoint offset = m_gameplay->getGameplayDirection() * distance;
    for (const std::shared_ptr<KXModel>& child : section->children()) {
        const auto powerup = modelCast<KXModelObjectAssetPowerup>(child);
        if (!powerup || powerup->powerupType() != kCheckpointType) {
            continue;
        }
        if (KXPObjectAsset* object = createObject(powerup, section->id(), offset.x, offset.y, true)) {
            section->setPlacedDistance(distance);
            object->setState(1);
            debugLog("Checkpoint powerup activated for object that was not creatied at distance %f",
                     distance);
            return true;
        }
        refused = true;
    }
    return false;
}
