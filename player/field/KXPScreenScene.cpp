#include "player/field/KXPScreenScene.h"
#include "player/field/KXPSpawnPlacement.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectBackground.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPCaptureTarget.h"
#include "player/base/KXPColorSprite.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPKinds.h"
#include "player/base/KXPNoise.h"
#include "player/base/KXPTrace.h"
#include "player/field/GLESDebugDraw.h"
#include "player/field/KXPContactListener.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPPhysicsSettings.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/KXPBodyRank.h"
#include "player/objects/KXPObject.h"
#include "player/objects/KXPObjectBackgroundLayer.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/controls/KXPObjectAccelerometer.h"
#include "player/physics/KXPBodyData.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/physics/KXPPhysicsLimits.h"
#include "player/physics/KXPStepBudget.h"
#include "player/physics/KXPStepMeter.h"
#include "player/screens/KXPScreenUi.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPScoreRecord.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

using namespace cocos2d;

namespace {

// Objects left behind in one step past which they leave the layer the newest first.
constexpr size_t kManyRemoved = 1024;

constexpr float kMetresPerPoint = 0.05f;
// The flash sprite reaches this far beyond the window, so a shaking field shows no edge.
constexpr float kFlashOversize = 1.2f;
// Shake amplitude in points and its noise frequency.
constexpr double kShakeAmplitude = 70.0;
constexpr double kShakeFrequency = 16.0;
// A time scale beyond this would step the world into non-finite positions.
constexpr float kMaxTimeScale = 100.0f;

// Keeps a field's world (with its listener and debug draw) until the autoreleased objects of the
// field's last frame have gone: they destroy their bodies as they go.
class WorldKeeper : public CCObject {
public:
    WorldKeeper(b2World* world, b2ContactListener* listener, b2Draw* debugDraw, KXPStepBudget* budget)
        : m_world(world), m_listener(listener), m_debugDraw(debugDraw), m_budget(budget) {}
    ~WorldKeeper() override {
        delete m_world;
        delete m_listener;
        delete m_debugDraw;
        delete m_budget;
    }

private:
    b2World* m_world;
    b2ContactListener* m_listener;
    b2Draw* m_debugDraw;
    KXPStepBudget* m_budget;
};

// The field's own maker of background layers; sections' objects are made in
// KXPScreenSceneInstantiation.cpp.
constexpr const char* kSceneFactory = "scene";
constexpr const char* kBackgroundKind = "background";

} // namespace

CCScene* KXPScreenScene::createScene() {
    KXPScreenScene* layer = create();
    if (layer == nullptr) {
        return nullptr;
    }
    CCScene* scene = CCScene::create();
    layer->setTag(0);
    scene->addChild(layer);
    return scene;
}

KXPScreenScene* KXPScreenScene::create() {
    KXPScreenScene* scene = new KXPScreenScene();
    if (!scene->init()) {
        delete scene;
        return nullptr;
    }
    scene->autorelease();
    return scene;
}

KXPScreenScene::KXPScreenScene() : m_lastCharacterDistance(-FLT_MAX) {}

KXPScreenScene::~KXPScreenScene() {
    debugLog("KXPScreenScene - deallocated");
    // Bodies this field's objects still hold go later (the pool, the world keeper): their joints'
    // goodbyes must not reach this field.
    if (m_stepBudget != nullptr) {
        m_stepBudget->onJointGone(nullptr);
    }
    CC_SAFE_RELEASE(m_backgroundLayers);
    if (m_inputController != nullptr) {
        // Characters, motors and units point into the world: let go of them before it goes.
        m_inputController->reset();
        m_inputController->clearMotors();
        m_inputController->clearUnits();
        m_inputController->retire();
        m_inputController->release();
        m_inputController = nullptr;
    }
    m_hudKeys.clear();
    for (KXPObject* mirror : m_mirrors) {
        mirror->release();
    }
    m_mirrors.clear();
    m_captureTargets.clear();
    for (KXPCreationQueueEntry& entry : m_creationQueue) {
        CC_SAFE_RELEASE(entry.objects);
    }
    m_creationQueue.clear();
    // Queued sends and the exits still waiting for their copies to leave hold both ends.
    clearTeleports();
    m_levelSections.clear();
    m_generalSettings.reset();
    // Objects destroy their bodies when they go, so they leave before the world does; those made
    // in this frame wait in the autorelease pool, and the world waits behind them.
    if (m_objectLayer != nullptr) {
        m_objectLayer->removeAllChildrenWithCleanup(true);
    }
    if (m_world != nullptr) {
        m_world->SetContactListener(nullptr);
        (new WorldKeeper(m_world, m_contactListener, m_debugDraw, m_stepBudget))->autorelease();
    } else {
        delete m_contactListener;
        delete m_debugDraw;
        delete m_stepBudget;
    }
    m_world = nullptr;
    m_contactListener = nullptr;
    m_debugDraw = nullptr;
    m_stepBudget = nullptr;
}

CCNode* KXPScreenScene::objectLayerNode() const {
    return m_objectLayer;
}

std::shared_ptr<KXModelScreen> KXPScreenScene::modelForKey(const std::string& key) {
    return KXBaseModelScreenScene::findOrCreateByKey(key);
}

bool KXPScreenScene::init() {
    // 1. The screen and its objects.
    if (!buildFromModel(KXPScreensController::shared()->currentSceneKey(), true) || !KXPScreen::init()) {
        return false;
    }
    m_sceneModel = std::static_pointer_cast<KXModelScreenScene>(m_model);
    // 2.
    m_backgroundLayers = CCArray::create();
    m_backgroundLayers->retain();
    // 3.
    m_generalSettings = KXModelGeneralSettings::shared();
    m_gameplay = KXPGameplaySettings::shared();
    // A powerup that ran when the last scene closed must not leave its values in force here.
    m_gameplay->restoreAllValues();
    m_gameplay->loadSceneSettings(m_sceneModel.get());
    // 4. Gravity from the data: a non-finite or huge component would poison every body.
    const CCPoint gravity = m_gameplay->getGravity();
    m_world = new b2World(KXPPhysicsLimits::gravity(gravity.x, gravity.y));
    KXPContactListener* contacts = new KXPContactListener();
    m_contactListener = contacts;
    m_world->SetContactListener(m_contactListener);
    m_stepBudget = new KXPStepBudget(KXPBodyRank::of);
    m_stepBudget->watch(*m_world);
    // A joint goes with either of its bodies, whoever frees the body's owner: no motor may keep it.
    m_stepBudget->onJointGone([this](b2Joint* joint) {
        if (m_inputController != nullptr) {
            m_inputController->forgetJoint(joint);
        }
    });
    GLESDebugDraw* debugDraw = new GLESDebugDraw();
    debugDraw->SetFlags(KXPPhysicsSettings().debugDrawFlags());
    m_debugDraw = debugDraw;
    m_world->SetDebugDraw(m_debugDraw);
    // 5.
    m_objectLayer = KXPGameFieldCamera::create();
    m_objectLayer->setModel(m_sceneModel);
    addChild(m_objectLayer);
    KXPGameFieldCamera* camera = m_objectLayer;
    contacts->setViewBoxSource([camera] { return camera->worldViewBox(); });
    // 6.
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    m_flashSprite = createColorSprite(CCSize(window.width * kFlashOversize, window.height * kFlashOversize),
                                      ccc4(255, 255, 255, 255));
    m_flashSprite->setPosition(CCPoint(window.width * 0.5f, window.height * 0.5f));
    m_flashSprite->setOpacity(0);
    addChild(m_flashSprite);
    // 7.
    setKeypadEnabled(true);
    // 8. The scene's own controller, now the shared one.
    m_inputController = new KXPInputController();
    // 9.
    m_gameOverCountdown = selectedCharacterGameOverDelay();
    // 10.
    scheduleUpdate();
    setTouchEnabled(true);
    setTouchMode(kCCTouchesAllAtOnce);
    // 11.
    bindButtonAction("kPauseButton", this, menu_selector(KXPScreenScene::pause));
    bindButtonAction("kRestartButton", this, menu_selector(KXPScreenScene::restartLevel));
    // 12.
    m_levelSections = m_sceneModel->levelSections();
    // 13.
    createBackgroundLayers();
    // 14. The HUD over the field; without one the field's controls are simply on.
    const std::string uiKey = KXPScreensController::shared()->currentUiKey();
    if (!uiKey.empty()) {
        m_uiLayer = KXPScreenUi::create();
        if (m_uiLayer != nullptr) {
            addChild(m_uiLayer, kUiLayerZOrder);
            m_hudKeys.insert(uiKey);
        }
    } else {
        KXPObjectAccelerometer::shared()->setModel(nullptr);
        m_inputController->setEnabled(true);
    }
    return true;
}

KXPKindTable KXPScreenScene::sceneKindTable() {
    return KXPKindTable{kSceneFactory, {kBackgroundKind}};
}

void KXPScreenScene::createBackgroundLayers() {
    for (const auto& object : m_sceneModel->getObjects()) {
        const auto background = modelCast<KXModelObjectBackground>(object);
        if (!background || background->isHidden()) {
            continue;
        }
        CCPoint scale = background->animatedScale(0.0f, 0);
        bool adjusted = false;
        if (!(scale.x > 0.0f)) {
            scale.x = 0.1f;
            adjusted = true;
        }
        if (!(scale.y > 0.0f)) {
            scale.y = 0.1f;
            adjusted = true;
        }
        if (adjusted) {
            background->setScale(scale);
        }
        KXPObjectBackgroundLayer* layer = KXPObjectBackgroundLayer::create(background);
        m_objectLayer->addChild(layer, background->zDepth());
        m_backgroundLayers->addObject(layer);
        kxKindMade(kSceneFactory, kBackgroundKind);
    }
}

void KXPScreenScene::onEnter() {
    // The layer's own entry: the field shows no ads of its own here (its HUD shows its ones).
    CCLayer::onEnter();
    restoreFromCheckpoint();
    if (const auto health = m_inputController->firstCharacterHealth()) {
        health->remainingLives = health->lives();
    }
}

void KXPScreenScene::setTouchEnabled(bool enabled) {
    CCLayer::setTouchEnabled(enabled);
    if (CCLayer* child = dynamic_cast<CCLayer*>(getChildByTag(kTouchChildTag))) {
        child->setTouchEnabled(enabled);
    }
}

// --- frame update ---

void KXPScreenScene::update(float dt) {
    // A change of scene the objects asked for last frame: once the director has the next scene,
    // this field's frames are over. A rebuild's catch-up frames leave it to the rebuild's end.
    if (m_parkedSceneChange && !m_catchingUp) {
        const std::function<bool()> change = std::move(m_parkedSceneChange);
        m_parkedSceneChange = nullptr;
        if (change()) {
            return;
        }
    }
    if (m_uiLayerUpdateParked && !m_catchingUp) {
        m_uiLayerUpdateParked = false;
        if (m_uiLayer != nullptr) {
            m_uiLayer->update(0.0f);
            // It led to another scene: the same as a change the objects asked for.
            if (CCDirector::sharedDirector()->getNextScene() != nullptr) {
                return;
            }
        }
    }
    KXPScreen::update(dt);
    // A rebuild's catch-up runs frames within this one.
    if (!m_catchingUp) {
        m_stepBudget->beginFrame();
    }

    // Requests parked by physics callbacks and the objects' work, before the pause they may have
    // asked for; one parked in a rebuild's catch-up waits for the rebuild to end.
    if (m_pendingRequest != 0 && !m_catchingUp) {
        runPendingRequest();
    }
    if (m_requestedPause != m_paused) {
        setPaused(m_requestedPause);
    }
    // After game over the sounds of units and powerups still fade with their distance.
    if (m_gameOver) {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(m_objectLayer->getChildren(), item) {
            KXPObjectAsset* asset = ccNodeAs<KXPObjectAsset>(item);
            if (asset != nullptr &&
                (asset->getType() & (KXPObject::kTypeUnit | KXPObject::kTypePowerup)) != 0) {
                asset->updateSoundVolume(dt);
            }
        }
    }
    if (m_paused || m_gameOver) {
        return;
    }

    updateCamera();
    stepWorld();
    updateFlash(dt);
    updateShake(dt);
    processTeleportQueue();
    instantiateQueuedObjects();

    if (m_paused || m_inputController->hasLiveCharacters()) {
        return;
    }
    countDownToGameOver(dt);
}

void KXPScreenScene::updateCamera() {
    m_objectLayer->setTarget(m_inputController->charactersPosition());
    m_objectLayer->setViewRect(m_inputController->charactersBoundingRect());
    m_objectLayer->update(kFixedStep);
}

void KXPScreenScene::stepWorld() {
    // Exactly one step per drawn frame, whatever the frame took.
    float timeScale = m_gameplay->getSimulationTimeScale();
    if (!(timeScale >= 0.0f)) {
        timeScale = 0.0f; // negative or NaN: the world stands still
    }
    timeScale = std::min(timeScale, kMaxTimeScale);
    KXPStepMeter* meter = KXPStepMeter::active();
    const KXPStepMeter::Mark predicting =
        meter != nullptr ? KXPStepMeter::mark(*m_world) : KXPStepMeter::Mark();
    // Bodies held out or given back, and whether the step runs with continuous collision.
    const bool continuous =
        m_stepBudget->beforeStep(*m_world, KXPStepBudget::sayHeldOut, kFixedStep * timeScale);
    if (meter != nullptr) {
        meter->addBudget(meter->budgetSince(predicting));
        meter->beforeStep(*m_world);
    }
    if (!continuous && m_world->GetContinuousPhysics() && !m_stepBudget->continuous().resting()) {
        // The step's own work may pass what is left with continuous collision foreseen at nothing.
        const KXPStepWork& foreseen = m_stepBudget->predicted();
        const long long contacts = static_cast<long long>(kxcount::add(foreseen.contacts, foreseen.made));
        debugLog("[KXPScreenScene] continuous collision off: it may take %lld ns in this step, and the step "
                 "without it %lld ns, more together than the %lld ns left of the frame's budget, with %lld "
                 "contacts",
                 static_cast<long long>(m_stepBudget->continuousCost()),
                 static_cast<long long>(foreseen.cost()), static_cast<long long>(m_stepBudget->frameLeft()),
                 contacts);
        kxTrace("field", "field continuous-collision off work=%lld step=%lld left=%lld contacts=%lld",
                static_cast<long long>(m_stepBudget->continuousCost()),
                static_cast<long long>(foreseen.cost()), static_cast<long long>(m_stepBudget->frameLeft()),
                contacts);
    }
    m_world->SetContinuousPhysics(continuous);
    const int64_t stepping = meter != nullptr ? KXPStepMeter::threadNanos() : 0;
    m_world->Step(kFixedStep * timeScale, kVelocityIterations, kPositionIterations);
    if (meter != nullptr) {
        meter->stepped(meter->since(stepping));
    }
    // The budget's count after the step (the impacts solved, the pages the contacts lie in) is its
    // own work too.
    const KXPStepMeter::Mark counting =
        meter != nullptr ? KXPStepMeter::mark(*m_world) : KXPStepMeter::Mark();
    const bool rest = m_stepBudget->afterStep(*m_world);
    if (meter != nullptr) {
        meter->addBudget(meter->budgetSince(counting));
    }
    if (rest) {
        debugLog("[KXPScreenScene] continuous collision off for %u steps: the last step worked out %d times "
                 "of impact, more than %d",
                 KXPContinuousCollision::kRestSteps, m_stepBudget->continuous().lastImpacts(),
                 KXPContinuousCollision::kImpactsPerStep);
        kxTrace("field", "field continuous-collision off impacts=%d steps=%u",
                m_stepBudget->continuous().lastImpacts(), KXPContinuousCollision::kRestSteps);
    }
    ++m_stepCount;
    fixedUpdate(kFixedStep);
    if (meter != nullptr) {
        const int64_t predicted =
            kxcount::add(m_stepBudget->predicted().cost(), continuous ? m_stepBudget->continuousCost() : 0);
        meter->finishStep(*m_world, kxTraceFrame(), predicted, predicted > KXPStepBudget::kMaxWork,
                          m_stepBudget->parts());
    }
    if (kxTraceEnabled("field")) {
        const CCPoint camera = m_objectLayer->getPosition();
        kxTrace("field", "field step=%u camera=%.1f,%.1f", m_stepCount, camera.x, camera.y);
    }
}

void KXPScreenScene::updateFlash(float dt) {
    if (m_flashTimer > 0.0f && m_flashDuration > 0.0f) {
        const int opacity = kx::truncateToInt(m_flashTimer / m_flashDuration * 255.0f);
        m_flashSprite->setOpacity(static_cast<GLubyte>(opacity & 0xFF));
        m_flashTimer -= dt;
    } else {
        m_flashSprite->setOpacity(0);
    }
}

void KXPScreenScene::updateShake(float dt) {
    if (m_shakeTimer <= 0.0f) {
        return;
    }
    const double amount = std::min(1.0, std::max(0.0, static_cast<double>(m_shakeTimer)));
    const double x = noise1((m_shakeTimer + 200.0) * kShakeFrequency) * kShakeAmplitude * amount;
    const double y = noise1((m_shakeTimer + 150.0) * kShakeFrequency) * kShakeAmplitude * amount;
    setPosition(CCPoint(static_cast<float>(x), static_cast<float>(y)));
    m_shakeTimer -= dt;
}

void KXPScreenScene::countDownToGameOver(float dt) {
    // The field coasts to a stop while the delay runs down.
    m_slowDown = kDeathSlowDown;
    if (m_uiLayer != nullptr) {
        m_uiLayer->setControlsEnabled(false);
        if (m_uiLayer->model() && m_uiLayer->model()->stopMusicOnDeath()) {
            m_uiLayer->stopBackgroundMusic();
        }
    }
    m_gameOverCountdown -= dt;
    if (m_gameOverCountdown < 0.0f) {
        setGameOver(true);
    }
}

// --- fixed step ---

void KXPScreenScene::fixedUpdate(float dt) {
    RequestHold hold(*this);
    m_lightBudget.beginStep();
    std::vector<KXPObject*> removed;
    updateObjects(dt, removed);
    updateGameSpeed();
    creditDistance();
    streamLevel();
    scrollBackgrounds(dt);
    if (m_magnetActive) {
        pullPowerups();
    }
    removeObjects(removed);
}

void KXPScreenScene::updateObjects(float dt, std::vector<KXPObject*>& removed) {
    m_deletionArea.reset();
    m_inputController->holdCentre(true);
    // Children added during the pass are updated in it too; every object noted for removal stays
    // retained until it is taken out, so a sibling removing it cannot leave a dangling pointer.
    for (unsigned int index = 0; index < m_objectLayer->getChildrenCount(); ++index) {
        CCNode* child = static_cast<CCNode*>(m_objectLayer->getChildren()->objectAtIndex(index));
        child->retain();
        child->update(dt);
        CCArray* children = m_objectLayer->getChildren();
        // Siblings before it may have left the layer meanwhile (an effect freed with its carrier
        // takes its emitters along): the pass goes on after the child where it stands now.
        if (index >= children->count() || children->objectAtIndex(index) != child) {
            const unsigned int place = children->indexOfObject(child);
            if (place != CC_INVALID_INDEX) {
                index = place;
            }
        }
        KXPObject* object = ccNodeAs<KXPObject>(child);
        if (object != nullptr) {
            checkObjectDeletion(object);
            if (object->getState() == KXPObject::kStateRemoved) {
                removed.push_back(object);
                continue;
            }
        }
        child->release();
    }
    m_inputController->holdCentre(false);
}

void KXPScreenScene::updateGameSpeed() {
    float speed = m_gameplay->getGameSpeed();
    if (m_slowDown > 0.0f) {
        speed -= m_slowDown;
        if (speed < 0.0f) {
            speed = 0.0f;
        }
    } else {
        speed += m_gameplay->getGameSpeedIncrease();
        if (m_gameplay->getGameSpeedMin() > speed) {
            speed = m_gameplay->getGameSpeedMin();
        }
        if (speed > m_gameplay->getGameSpeedMax()) {
            speed = m_gameplay->getGameSpeedMax();
        }
    }
    m_gameplay->setGameSpeed(speed);
}

void KXPScreenScene::creditDistance() {
    const float distance =
        ccpDot(m_gameplay->getGameplayDirection(), m_inputController->charactersPosition());
    if (!m_inputController->hasLiveCharacters()) {
        return;
    }
    if (m_lastCharacterDistance == -FLT_MAX) {
        m_lastCharacterDistance = distance;
        return;
    }
    const float delta = (distance - m_lastCharacterDistance) * m_gameplay->getScoreMultiplier();
    // Going back earns nothing; only progress beyond the furthest point reached counts again.
    if (!(delta >= 0.0f)) {
        return;
    }
    for (KXPScoreRecord* record : {&currentWorldScores(), &worldScores("")}) {
        KXPScoreDistance& value = record->distance;
        value.session += delta;
        value.total += delta;
        if (value.session > value.best) {
            value.best = value.session;
        }
    }
    m_lastCharacterDistance = distance;
}

void KXPScreenScene::scrollBackgrounds(float dt) {
    // The layers ride along with the camera and scroll their tiles against its movement.
    const CCPoint movement = m_objectLayer->getStep();
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_backgroundLayers, item) {
        KXPObjectBackgroundLayer* layer = static_cast<KXPObjectBackgroundLayer*>(item);
        layer->scrollWithVelocity(movement.x + movement.y, dt);
        layer->setPosition(layer->getPosition() + movement);
    }
}

void KXPScreenScene::pullPowerups() {
    const CCPoint centre = m_inputController->charactersPosition();
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_objectLayer->getChildren(), item) {
        KXPObject* object = ccNodeAs<KXPObject>(item);
        // Exactly a powerup: one a path carries follows its path, not the magnet.
        if (object == nullptr || object->getType() != KXPObject::kTypePowerup) {
            continue;
        }
        const CCPoint position = object->getPosition();
        const float distance = ccpDistance(centre, position);
        if (!(distance < kMagnetRadius)) {
            continue;
        }
        // Strongest near the characters: at 0 the target is their centre, near the edge the
        // object's own position.
        const float t = distance / kMagnetRadius;
        const float alpha = 1.0f - (1.0f - t) * (1.0f - t) * (1.0f - t);
        const CCPoint target = ccpLerp(centre, position, alpha);
        if (b2Body* body = object->getBody()) {
            KXPBodyMotion::moveTo(body, b2Vec2(target.x * kMetresPerPoint, target.y * kMetresPerPoint),
                                  body->GetAngle());
        }
    }
}

void KXPScreenScene::removeObjects(const std::vector<KXPObject*>& removed) {
    if (removed.empty()) {
        return;
    }
    m_inputController->forgetMotorsOfObjects(removed);
    // Each leaves the layer's children from where it stands, moving all those after it: a section of
    // tens of thousands left behind at once goes the newest first, each moving only what was laid
    // after it (the objects of later sections), not the rest of its own section: the square of the
    // section was seconds. Fewer go in the layer's order, as they always did: the order
    // in which their bodies go decides the physics' next pairings, and so the play.
    const bool newestFirst = removed.size() >= kManyRemoved;
    for (size_t index = 0; index < removed.size(); ++index) {
        KXPObject* object = removed[newestFirst ? removed.size() - 1 - index : index];
        if (object->getType() == KXPObject::kTypeMirror) {
            removeMirror(object);
        }
        // Retained since the object pass.
        object->removeFromParent();
        object->release();
    }
}

// --- drawing ---

void KXPScreenScene::visit() {
    if (m_mirrors.empty()) {
        CCLayer::visit();
        return;
    }
    // Copies, each mirror held for the walk: a capture may draw objects that take a mirror away.
    const std::vector<KXPObject*> mirrors = m_mirrors;
    for (KXPObject* mirror : mirrors) {
        mirror->retain();
    }
    // Settled before the frame is drawn: a mirror that does not capture shows no reflection in it.
    const std::vector<KXPCaptureTarget*> captures = mirrorCaptures(m_captureTargets);
    CCLayer::visit();
    for (KXPCaptureTarget* capture : captures) {
        CCNode* ui = m_uiLayer;
        const bool uiVisible = ui != nullptr && ui->isVisible();
        if (ui != nullptr) {
            ui->setVisible(false);
        }
        capture->beginCapture();
        CCLayer::visit();
        capture->endCapture();
        if (ui != nullptr) {
            ui->setVisible(uiVisible);
        }
    }
    for (KXPObject* mirror : mirrors) {
        mirror->release();
    }
}

// --- effects ---

void KXPScreenScene::flash(float duration) {
    debugLog("[KXPScreenScene] - flash: %f", duration);
    m_flashTimer = duration;
    m_flashDuration = duration;
    if (duration == 0.0f && m_flashSprite != nullptr) {
        m_flashSprite->setOpacity(0);
    }
}

void KXPScreenScene::shake(float time) {
    debugLog("[KXPScreenScene] - shake: %f", time);
    m_shakeTimer = time;
    if (time == 0.0f) {
        setPosition(CCPointZero);
    }
}
