#pragma once

// The game field: the screen that owns the Box2D world, the camera node that holds every game
// object, the background layers, the flash and shake effects, pause and game-over state and the
// overlay UI layer of the running game.
//
// Each drawn frame the world steps exactly once by 1/60 s times the live time scale, whatever the
// frame took, and the fixed step runs right after it: objects update, the game speed changes, the
// distance is credited, the backgrounds scroll, the magnet pulls and objects marked for removal go.
// Work raised inside physics callbacks is parked (pending request, requested pause, pending object
// states) and done by the next update.

#include "player/base/KXPGameField.h"
#include "player/base/KXPLevelField.h"
#include "player/base/KXPLightBudget.h"
#include "player/base/KXPMirrorBudget.h"
#include "player/base/KXPParticleBudget.h"
#include "player/field/KXPCreationQueueEntry.h"
#include "player/field/KXPDeletionArea.h"
#include "player/field/KXPSectionsInPlace.h"
#include "player/field/KXPTeleportCopies.h"
#include "player/field/KXPTeleportIndex.h"
#include "player/field/KXPTeleportRecord.h"
#include "player/screens/KXPScreen.h"

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

class GLESDebugDraw;
class KXPStepBudget;
class KXPContactListener;
class KXPCaptureTarget;
class KXBaseModelLinker;
class KXBaseModelObject;
class KXModelComponentHealth;
class KXModelObjectLabel;
class KXPObjectText;
class KXModelAssetPowerup;
class KXModelGeneralSettings;
class KXModelLevelSection;
class KXModelObjectButton;
class KXModelScreen;
class KXModelScreenScene;
class KXPGameFieldCamera;
class KXPGameplaySettings;
class KXPInputController;
class KXPObject;
class KXPObjectAsset;
class KXPScreenUi;

class KXPScreenScene : public KXPScreen, public KXPGameField, public KXPLevelField {
public:
    // Z-order of the overlay UI layer.
    static constexpr int kUiLayerZOrder = 10000;
    // The child whose touch switch follows the scene's.
    static constexpr int kTouchChildTag = 77;
    // The fixed step of the game field.
    static constexpr float kFixedStep = 1.0f / 60.0f;
    // Iterations of the world step.
    static constexpr int kVelocityIterations = 6;
    static constexpr int kPositionIterations = 6;
    // Slow-down per fixed step once no character lives.
    static constexpr float kDeathSlowDown = 0.1f;
    // Reach of the magnet powerup, in points.
    static constexpr float kMagnetRadius = 400.0f;
    // Models made per instantiation call.
    static constexpr int kModelsPerCall = 20;
    // Teleported objects brought out of their destinations in one frame at most.
    static constexpr size_t kTeleportsPerFrame = 32;
    // The request bits (kRequestFullRestart, kRequestResumeFromUi) come with KXPLevelField.

    // An engine scene holding a new game field (tag 0); null when the field cannot be made.
    static cocos2d::CCScene* createScene();
    // A set-up, autoreleased game field; null when init fails.
    static KXPScreenScene* create();
    // The rows of the field's own makers by name, as their made objects are traced: the objects
    // of a laid section that are not asset objects, and the background layers.
    static KXPKindTable levelKindTable();
    static KXPKindTable sceneKindTable();
    // The rows of the section-object maker (KXPScreenSceneInstantiation.cpp).
    friend struct KXPLevelKinds;

    KXPScreenScene();
    ~KXPScreenScene() override;

    bool init() override;
    // Lays out the level (from the checkpoint) and fills the first character's lives.
    void onEnter() override;
    // The frame update: requests, pause sync, camera, one world step, fixed step, flash, shake,
    // teleports, object creation, game-over countdown.
    void update(float dt) override;
    // Draws the field, then once more into the capture of each mirror that captures in the
    // frame (mirrorCaptures) with the UI layer hidden.
    void visit() override;
    // The scene's own switch, and the same on the tag-77 child when it is a layer.
    void setTouchEnabled(bool enabled) override;

    // The gameplay step; the frame update calls it with 1/60 right after the world step.
    virtual void fixedUpdate(float dt);
    // An overlay UI screen over this field closed: resume, controls and music back.
    void resumeAfterOverlay() override;

    // --- the screen family ---
    // The scene model of that key, made when the game has none.
    std::shared_ptr<KXModelScreen> modelForKey(const std::string& key) override;
    // Asked of the UI layer's model when there is one.
    bool shouldShowBanner() override;
    void pressHilightButton() override;
    void hilightButton(int direction) override;
    // Follows the button's link to another game scene.
    void performButtonAction(const std::shared_ptr<KXModelObjectButton>& model) override;
    // Creates a powerup of the asset at the characters and applies it at once.
    void usePowerup(const std::shared_ptr<KXModelAssetPowerup>& asset, bool aboveCharacter) override;

    b2World* getWorld() const override { return m_world; }
    KXPGameFieldCamera* getObjectLayer() const { return m_objectLayer; }
    cocos2d::CCNode* objectLayerNode() const override;
    KXPScreenUi* getUiLayer() const override { return m_uiLayer; }
    KXPInputController* getInputController() const { return m_inputController; }
    cocos2d::CCArray* getBackgroundLayers() const { return m_backgroundLayers; }
    const std::shared_ptr<KXModelScreenScene>& getSceneModel() const override { return m_sceneModel; }
    KXPScreen* fieldScreen() override { return this; }
    bool isPaused() const override { return m_paused; }
    bool isGameOver() const override { return m_gameOver; }
    // The pause state wanted by code that may not pause at once; the next update applies it.
    void setRequestedPause(bool paused) override { m_requestedPause = paused; }
    bool getRequestedPause() const { return m_requestedPause; }

    // --- pause, game over, requests, UI layer (KXPScreenScenePause.cpp, KXPScreenSceneCheckpoints.cpp) ---
    // Pauses or resumes the field: its objects' animations and the game's sounds with it.
    void setPaused(bool paused);
    // Pauses (true) or resumes the image actions of every animation object in the subtree.
    static void setObjectsPaused(cocos2d::CCNode* node, bool paused);
    // Game over: lives first (one life less rebuilds the level from the checkpoint), then the
    // flag, paused animations, dead powerups and controls off. false rebuilds the level. While the
    // rebuild for a life spent has not run yet, true does nothing: one death, one life.
    void setGameOver(bool gameOver) override;
    // The request runs at the start of the next update, or after the UI layer's closing
    // animation; never inside the world step. Bits kRequestFullRestart and kRequestResumeFromUi.
    void setPendingRequest(int request) override;
    int getPendingRequest() const { return m_pendingRequest; }
    void handleRequest(int request) override;
    // Rebuilds the running level from the stored checkpoint.
    virtual void restoreFromCheckpoint();
    // Handler of the "kPauseButton" buttons: opens the pause screen over the field.
    void pause(cocos2d::CCObject* sender) override;
    // Handler of the "kRestartButton" buttons: the level from its start, session scores cleared.
    void restartLevel(cocos2d::CCObject* sender);
    // The UI layer rebuilt for the screens controller's current UI key; coming back to a HUD
    // shown over the running game resumes it.
    void refreshUiLayer() override;
    // Back to the scene's own UI screen, resumed.
    void resumeFromUi();
    const std::unordered_set<std::string>& getHudKeys() const { return m_hudKeys; }
    // Keypad: back pauses, goes back a screen or (after game over) restarts; the arrows, the
    // centre and the face buttons act on the characters while the game runs. A code delivered
    // twice for one press (by the dispatcher and through the input controller) acts once.
    void keyBackClicked() override;
    void onKeyDown(int key) override;
    void onKeyUp(int key) override;

    // --- effects ---
    // A white flash fading out over `duration` seconds; 0 ends a flash at once.
    void flash(float duration) override;
    // A shake of the whole field for `time` seconds; 0 ends one and puts the field back.
    void shake(float time) override;
    float getFlashTimer() const { return m_flashTimer; }
    float getShakeTimer() const { return m_shakeTimer; }
    cocos2d::CCSprite* getFlashSprite() const { return m_flashSprite; }

    // --- game values ---
    float getSlowDown() const { return m_slowDown; }
    float getGameOverCountdown() const { return m_gameOverCountdown; }
    float getLaidDistance() const { return m_laidDistance; }
    float getCameraDistance() const { return m_cameraDistance; }
    // The longest camera step along the gameplay direction that streaming takes as sound: a longer
    // one (a damaged game speed) lays on from where the camera is.
    float streamingCatchUpLimit() const;
    // Sections queued for making at most; more wait for the next step.
    static constexpr size_t kMaxQueuedSections = 8;
    // Sections a rebuild of the level lays in its frame whatever they hold (a level of
    // screen-wide sections needs a handful). Past them it lays on only while the field is not
    // crowded (kCrowdedObjects objects on the layer); the streaming lays the rest, one a step. What
    // the pile costs is the step budget's to say: each section steps the world once more in the
    // frame, and the rebuild stops once those steps are foreseen to fill the frame's budget.
    static constexpr unsigned long kRestoreSections = 32;
    static constexpr unsigned int kCrowdedObjects = 1000;
    // Objects on the field and waiting to be made from which the streaming waits as well: only
    // sections far narrower than what they hold, laid again and again, come near it. Dense levels
    // hold some thousands (sections of 1,500 coins a view wide, three on the field); each frame's
    // work and memory stay within bounds at this many.
    static constexpr size_t kCrowdedFieldObjects = 10000;
    float getLastCharacterDistance() const { return m_lastCharacterDistance; }
    void setMagnetActive(bool active) override { m_magnetActive = active; }
    bool isMagnetActive() const { return m_magnetActive; }
    // Number of world steps since the field was made.
    unsigned int getStepCount() const { return m_stepCount; }

    // --- level sections (KXPScreenSceneStreaming.cpp) ---
    const std::vector<std::shared_ptr<KXModelLevelSection>>& getLevelSections() const {
        return m_levelSections;
    }
    const std::vector<KXPCreationQueueEntry>& getCreationQueue() const { return m_creationQueue; }
    // The section to lay at that distance (rand() among the eligible ones, cooldowns counted down
    // up to 21 times while none is); empty when none qualifies.
    virtual std::shared_ptr<KXModelLevelSection> chooseNextLevelSection(float distance);
    // Lays the section at the distance: its objects are queued for creation. Answers the distance
    // it adds (its laid length), 0 for no section.
    virtual float addLevelSection(const std::shared_ptr<KXModelLevelSection>& section, float distance);
    // Indices into the section list of the sections that may be laid at that distance (a section
    // that adds no distance, once laid at the laid distance, no longer may there).
    std::vector<size_t> eligibleLevelSections(float distance, bool useCooldown) const;
    void decrementSectionCooldowns();
    // Lays the first section of the list at the laid distance and builds all of it.
    void startFirstLevelSection();
    // Makes at most kModelsPerCall models of the first queued section; true when nothing was left
    // to do or that section has just been completed (its linkers applied).
    virtual bool instantiateQueuedObjects();

    // --- objects (KXPScreenSceneStreaming.cpp, KXPScreenSceneObjects.cpp) ---
    // The object of a placed model on the object layer, offset by (dx, dy), with its body; null
    // when none is made (no kind, a character of another section when `startSectionCharactersOnly`,
    // the checkpoint already reached).
    KXPObjectAsset* createObject(const std::shared_ptr<KXBaseModelObject>& model, uint32_t sectionId,
                                 float dx, float dy, bool startSectionCharactersOnly);
    // The object of a model at the place, turn and scale `parent` has on the object layer.
    KXPObjectAsset* createObjectAtNode(const std::shared_ptr<KXBaseModelObject>& model,
                                       cocos2d::CCNode* parent);
    // Puts an object a spawner emitted on the object layer at the spawner's transform.
    void addSpawnedObject(KXPObjectAsset* object, KXPObjectAsset* spawner) override;
    // The characters of the start sections of the running level, when none is registered.
    void createCharacters();
    // Marks (state 5) an object that lies wholly behind or beside the view by more than the
    // deletion thresholds.
    virtual void checkObjectDeletion(KXPObject* object);
    // Queues an object that entered a teleport; it comes out of `destination` next frame.
    void addTeleport(KXPObjectAsset* object, KXPObjectAsset* destination) override;
    const std::vector<KXPTeleportRecord>& getTeleportQueue() const { return m_teleportQueue; }
    size_t teleportCopies() const override { return m_teleportCopies.count() + m_teleportQueue.size(); }
    bool firstTeleportCopyRefused() override;
    // Re-creates the queued objects at their destinations (with their linked objects).
    virtual void processTeleportQueue();
    // The teleports of the object layer with that "Group ID", in child order.
    void collectTeleports(std::vector<KXPObjectAsset*>& teleports, float groupId) override;
    void collectTeleportsNear(std::vector<KXPObjectAsset*>& teleports, float groupId,
                              const cocos2d::CCPoint& center, float radius) override;
    // The first powerup of that type in state 1 other than `excluded`; null when none.
    KXPObjectAsset* findActivePowerup(const std::string& powerupType, KXPObject* excluded) override;
    // Places a powerup of the asset at the characters and applies it at once.
    void applyPowerup(const std::shared_ptr<KXModelAssetPowerup>& asset, bool aboveCharacter);
    // Kills every awake, visible enemy unit destroyed by collisions.
    void killAllEnemies() override;
    // Ends the game through the "End" link.
    void finishGame() override;
    // Opens the screen of that key from inside the game.
    void switchScreen(const std::string& key, bool pauseAfter, bool restart, int openMode) override;
    // Mirrors of the field, drawn in visit.
    void addMirror(KXPObject* mirror);
    void removeMirror(KXPObject* object) override;
    const std::vector<KXPObject*>& getMirrors() const { return m_mirrors; }
    const KXPMirrorBudget& mirrorBudget() const { return *m_mirrorBudget; }
    // Started again with each fixed step.
    KXPLightBudget* lightBudget() override { return &m_lightBudget; }
    // Shared with the emitters, which may outlive the field.
    std::shared_ptr<KXPParticleBudget> particleBudget() override { return m_particleBudget; }

    // --- checkpoints (KXPScreenSceneCheckpoints.cpp) ---
    // Stores a checkpoint at the position (object-layer coordinates) of that level section.
    void activateCheckpoint(const cocos2d::CCPoint& position, uint32_t levelSectionId) override;
    // Finds or creates the next checkpoint powerup ahead and activates it.
    void findCheckpointPowerup() override;
    // The uncollected checkpoint powerup nearest ahead of the characters under `node` (null: the
    // object layer), or null.
    KXPObjectAsset* findNearestCheckpointPowerup(cocos2d::CCNode* node);

protected:
    // The nearest distance past `distance` where a level section starts or stops being in range.
    float nextSectionChange(float distance) const;
    // Makes and activates the section's first checkpoint powerup that can stand at `distance`;
    // `refused` tells that the section has one that could not.
    bool placeCheckpointPowerup(const std::shared_ptr<KXModelLevelSection>& section, float distance,
                                bool& refused);
    // The parts of the frame update and the fixed step, in their order.
    void updateCamera();
    void stepWorld();
    void updateFlash(float dt);
    void updateShake(float dt);
    void countDownToGameOver(float dt);
    void updateObjects(float dt, std::vector<KXPObject*>& removed);
    void updateGameSpeed();
    void creditDistance();
    void streamLevel();
    void scrollBackgrounds(float dt);
    void pullPowerups();
    void removeObjects(const std::vector<KXPObject*>& removed);
    // The capture targets, in the list's order, that capture in the frame about to be drawn.
    std::vector<KXPCaptureTarget*> mirrorCaptures(const std::vector<KXPCaptureTarget*>& targets);

    // Links made by the linkers of a section or of a teleported object: A and B joined or B
    // attached to A (KXPScreenSceneLinks.cpp).
    void linkObjects(const std::shared_ptr<KXBaseModelLinker>& linker, KXPObject* objectA,
                     KXPObject* objectB);
    // The section's linkers once all its objects exist; `created` in creation order.
    void applySectionLinkers(const KXModelLevelSection& section, cocos2d::CCArray* created);
    // A label of a level as a text object on the object layer at `position`.
    KXPObjectText* createText(const std::shared_ptr<KXModelObjectLabel>& model,
                              const cocos2d::CCPoint& position);
    // A level's button in a menu of its own on the object layer.
    cocos2d::CCMenu* createButtonMenu(const std::shared_ptr<KXModelObjectButton>& model);
    // Lays sections until the instantiation is done (the restore builds whole sections at once).
    void instantiateAll(const char* logLine);
    // Teleports: a destination that let an object out opens again once the object has left it;
    // the objects linked to a teleported object are made again around its copy.
    void reopenTeleportExits();
    void clearTeleports();
    void recreateLinkedObjects(KXPObjectAsset* copy);
    // Score, lives and refill parts of restarts and the restore.
    void refillPowerupsAtStart();
    // The objects on the layer and those of the sections still waiting to be made.
    size_t objectsMadeAndQueued() const;
    // The object layer or the world holds more than a playable level does (kRestoreSections).
    bool isCrowded() const;
    std::shared_ptr<KXModelComponentHealth> firstCharacterHealth() const;
    // A request on its way to handleRequest: kept by the UI layer until its closing animation has
    // played, else parked for the next update. `spentLife` marks the rebuild for a life spent.
    class HeldRequest;
    void queueRequest(int request, bool spentLife);
    // The request parked for this update, on its way.
    void runPendingRequest();
    // While one lives (the objects' work of a frame, a powerup used from a button), requests and
    // changes of scene wait for the next update, as they do inside the world step: nothing may
    // rebuild the level or build the next scene under objects that are still running.
    class RequestHold {
    public:
        explicit RequestHold(KXPScreenScene& field) : m_field(field) { ++m_field.m_holdingRequests; }
        ~RequestHold() { --m_field.m_holdingRequests; }
        RequestHold(const RequestHold&) = delete;
        RequestHold& operator=(const RequestHold&) = delete;

    private:
        KXPScreenScene& m_field;
    };
    bool requestsWait() const { return m_holdingRequests > 0 || (m_world != nullptr && m_world->IsLocked()); }
    // Runs the change of scene now, or parks it for the start of the next update while requests
    // wait; it answers whether it handed the director another scene.
    void changeScene(std::function<bool()> change);
    // The UI layer dropped the rebuild for a life spent before it ran; `rebuilds` is the count of
    // rebuilds when it was asked for.
    void lifeRebuildLost(unsigned long rebuilds);
    // A rebuild for a life spent runs after another rebuild has answered the death.
    void lifeRebuildAnswered(int request);

    void createBackgroundLayers();
    // Resumes a paused field: flags, ads, the game's sounds.
    void resume();

    KXPGameFieldCamera* m_objectLayer = nullptr;
    std::shared_ptr<KXModelGeneralSettings> m_generalSettings;
    KXPGameplaySettings* m_gameplay = nullptr;
    b2World* m_world = nullptr;
    cocos2d::CCArray* m_backgroundLayers = nullptr;
    KXPInputController* m_inputController = nullptr;
    std::vector<std::shared_ptr<KXModelLevelSection>> m_levelSections;
    float m_laidDistance = 0.0f;
    // The area objects must stay in, made once per object pass (the camera holds still in it).
    std::optional<KXPDeletionArea> m_deletionArea;
    float m_cameraDistance = 0.0f;
    // True inside the restore's catch-up, which lays past the queue's usual bound.
    bool m_catchingUp = false;
    // Sections laid so far, and those that added no distance at the laid distance.
    unsigned long m_sectionsLaid = 0;
    KXPSectionsInPlace m_sectionsInPlace;
    KXPScreenUi* m_uiLayer = nullptr;
    bool m_paused = false;
    bool m_gameOver = false;
    bool m_magnetActive = false;
    int32_t m_pendingRequest = 0;
    // The parked request is a rebuild for a life spent, asked after that many rebuilds.
    bool m_pendingSpentLife = false;
    unsigned long m_pendingRebuilds = 0;
    int m_holdingRequests = 0;
    // A change of scene asked for while requests waited; the next update runs it first and, once
    // it has handed the director the next scene, does nothing more.
    std::function<bool()> m_parkedSceneChange;
    // A UI layer made while requests waited has its first update at the start of the next one.
    bool m_uiLayerUpdateParked = false;
    // A life was spent and no rebuild has run since.
    bool m_lifeRebuildWaiting = false;
    // Rebuilds of the level so far.
    unsigned long m_rebuilds = 0;
    bool m_requestedPause = false;
    float m_slowDown = 0.0f;
    float m_gameOverCountdown = 0.0f;
    float m_shakeTimer = 0.0f;
    float m_flashTimer = 0.0f;
    float m_flashDuration = 0.0f;
    cocos2d::CCSprite* m_flashSprite = nullptr;
    std::vector<KXPTeleportRecord> m_teleportQueue;
    // A teleport that let `copy` out, and the copy (both retained).
    struct TeleportExit {
        KXPObjectAsset* destination;
        KXPObject* copy;
    };
    std::vector<TeleportExit> m_teleportExits;
    KXPTeleportCopies m_teleportCopies;
    KXPTeleportIndex m_teleportIndex;
    std::vector<KXPCreationQueueEntry> m_creationQueue;
    std::vector<KXPObject*> m_mirrors;
    // Each mirror as a capture target (null when it is none), at the mirror's index.
    std::vector<KXPCaptureTarget*> m_captureTargets;
    // Shared with the mirrors that took from it, which give back when they go.
    std::shared_ptr<KXPMirrorBudget> m_mirrorBudget = std::make_shared<KXPMirrorBudget>();
    KXPLightBudget m_lightBudget;
    std::shared_ptr<KXPParticleBudget> m_particleBudget = std::make_shared<KXPParticleBudget>();
    std::unordered_set<std::string> m_hudKeys;
    // Keypad codes down now, with the game action each pressed (0: none).
    std::map<int, int> m_keysDown;
    float m_lastCharacterDistance;

    std::shared_ptr<KXModelScreenScene> m_sceneModel;
    KXPContactListener* m_contactListener = nullptr;
    b2Draw* m_debugDraw = nullptr;
    unsigned int m_stepCount = 0;
    KXPStepBudget* m_stepBudget = nullptr;
};
