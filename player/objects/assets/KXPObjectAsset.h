#pragma once

// The runtime form of every object placed in a level from an asset; the character, units,
// powerups and the logic and effect kinds derive from it. It takes its start transform, its own
// sound and its behaviour components from its model, gets a Box2D body when the scene adds it to
// the world, and every frame wakes up or falls asleep by distance, moves along a fixed vector,
// follows its body (or, attached to another object, makes the body follow its node), fades its
// sound with the distance from the screen centre and dies when the contact rules asked for it.
//
// Contacts arrive from inside the world step, where Box2D may not be changed: everything they
// cause is recorded and carried out by the next update (the die-next-update flag, the pending
// state, and the parked body and fixture work of this class).

#include "player/base/KXPKinds.h"
#include "player/base/KXPNodeKinds.h"
#include "player/objects/KXPObject.h"

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

class KXModel;
class KXModelObjectAsset;
class KXModelObjectAssetCharacter;
class KXModelObjectAssetPowerup;
class KXModelPolygon;
class KXPAnimationObject;
class KXPGameplaySettings;
class KXSound;

class KXPObjectAsset;
// The one signature of removal and contact listeners: (this asset, the other asset of the
// contact; null for a removal).
typedef void (cocos2d::CCObject::*SEL_AssetListener)(KXPObjectAsset*, KXPObjectAsset*);
#define asset_listener_selector(_SELECTOR) (SEL_AssetListener)(&_SELECTOR)

class KXPObjectAsset : public KXPObject {
public:
    CC_NODE_KIND(KXPObjectAsset, kKXPNodeObjectAsset);

    // Collision types: without collision the fixtures are sensors.
    static constexpr int kCollisionNone = 0;
    static constexpr int kCollisionCharacter = 1;
    // Destroy modes of the contact damage rule.
    static constexpr int kDestroyNo = 0;
    static constexpr int kDestroyCollision = 1;
    static constexpr int kDestroyEnemyCollision = 2;
    static constexpr int kDestroyAllCollision = 3;
    static constexpr int kWakeUpNone = 0;
    static constexpr int kWakeUpTimeBased = 1;
    static constexpr int kWakeUpCollisionBased = 2;
    static constexpr int kSleepNone = 0;
    static constexpr int kSleepDistanceBased = 1;
    // Object kinds (0: none of these).
    static constexpr int kKindPlatform = 1;
    static constexpr int kKindEnemy = 2;
    static constexpr int kKindDecoration = 3;
    // Listener events.
    static constexpr int kListenerRemoved = 0;
    static constexpr int kListenerContact = 1;
    // Display-state priorities; a lower number wins.
    static constexpr int kDisplayDamage = 0;
    static constexpr int kDisplayPowerup = 1;
    static constexpr int kDisplayJump = 2;
    static constexpr int kDisplayRotationMapped = 3;
    static constexpr int kDisplayMove = 4;

    // Physics units: 20 points per metre, no sign change for positions; node rotation is
    // clockwise degrees, body angles counter-clockwise radians.
    static constexpr float kMetresPerPoint = 0.05f;
    static constexpr float kRadiansPerDegree = 0.017453292f;
    static constexpr float kDegreesPerRadian = 57.29578f;
    // Model velocities are in points per 1/32 s; angular speeds in 1/32 radian per second.
    static constexpr float kVelocityTimeScale = 32.0f;
    static constexpr float kAngularVelocityScale = 0.03125f;
    // Every fixture an asset makes from its own shape.
    static constexpr float kFixtureDensity = 0.1f;
    // The character's fixtures: solid, meeting only category 1, never each other.
    static constexpr uint16_t kCharacterCategoryBits = 0x0002;
    static constexpr uint16_t kCharacterMaskBits = 0x0001;
    static constexpr int16_t kCharacterGroupIndex = -1;

    // The runtime object of the model's kind, autoreleased; null when there is none to make
    // (no model, a class without a kind, a failed appearance roll, a kind not built yet, or a
    // character without a usable shape). The caller adds it to its layer.
    static KXPObjectAsset* create(const std::shared_ptr<KXModel>& model);
    // The powerup object of a placed powerup model without the appearance roll (a powerup the
    // player uses always appears); null while this build makes no powerup objects.
    static KXPObjectAsset* createUsedPowerup(const std::shared_ptr<KXModelObjectAssetPowerup>& model);
    // The factory's rows by name, as its made objects are traced.
    static KXPKindTable kindTable();
    // The factory's decisions on two kinds. A powerup appears with its asset's chance in percent
    // (100 and above: always), rolled with rand(). A placed character is built on the player's
    // selected character: the placed model when its asset is that one, else a deep clone showing
    // it, either way copied by makeCharacterModel; empty when that character has no usable shape.
    // A stored index outside the list (negative ones included) keeps the placed model itself, if
    // its own shape is usable.
    static bool powerupAppears(const KXModelObjectAssetPowerup& powerup);
    static std::shared_ptr<KXModel>
    playableCharacterModel(const std::shared_ptr<KXModelObjectAssetCharacter>& placed);
    // A copy of the placed character (new id, self pointer set) for the character object.
    static std::shared_ptr<KXModelObjectAssetCharacter>
    makeCharacterModel(const std::shared_ptr<KXModelObjectAssetCharacter>& model);

    // The contact damage rule of `attacker` touching `victim` (called from inside the step by
    // the character and the unit, each as attacker); the death it causes is deferred.
    static void applyContactDamage(KXPObjectAsset* attacker, KXPObjectAsset* victim);

    explicit KXPObjectAsset(const std::shared_ptr<KXModelObjectAsset>& model);
    // Removes (state 5, removal listeners), destroys the body and the own sound.
    ~KXPObjectAsset() override;

    // --- virtual slots added by asset objects, in this order ---

    // Gives the object a static body with one fixture from the model's shape, unless its scale is
    // 0, it has no usable shape, or (with skipStill) it is a still decoration. Asked while the
    // world is locked, it is done by the next update.
    virtual void addToWorld(b2World* world, bool skipStill);
    // Calls the contact listeners (event 1) with (this, other).
    virtual void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began);
    virtual void endContact(KXPObjectAsset* other, b2Contact* contact);
    virtual void preSolve(KXPObjectAsset* other, b2Contact* contact, const b2Manifold* oldManifold);
    // Points the movement vector along `direction`, keeping its length.
    virtual void setDirection(const cocos2d::CCPoint& direction);
    virtual void spawn();
    virtual float wakeUpDistance();
    virtual float sleepDistance();
    // Called by the factory after an instance gave the object its transform.
    virtual void transformChanged();
    // Whether a character standing on this object stands on ground.
    virtual bool isGround();
    // Display states (a lower priority wins); see KXPObjectAssetDisplayStates.cpp.
    virtual void pushAnimation(int priority, cocos2d::CCNode* node,
                               const std::shared_ptr<KXModelPolygon>& shape);
    virtual void popAnimation(int priority, cocos2d::CCNode* node,
                              const std::shared_ptr<KXModelPolygon>& shape);
    // Hangs an animation under this object (powerup looks); ignored when null or already here.
    virtual void attachObject(KXPAnimationObject* node);
    virtual void detachObject(KXPAnimationObject* node);
    // Whether timed powerups act on this object now; only a character has any. The contact
    // damage rule asks it of both sides.
    virtual bool hasActivePowerups();

    // --- overrides ---

    // Base update, sound volume, then (with a body) wake, sleep, movement, the body-node link,
    // velocity scale and a requested death.
    void update(float dt) override;
    // State 4 kills child objects, state 5 runs the removal listeners once; any state but 0
    // stops the own sound.
    void setState(int32_t state) override;
    // Also shows or hides the current display state's node.
    void setVisible(bool visible) override;

    // --- listeners ---

    // Appends (event, target, callback); target and callback may not be null to be called.
    void addListener(int event, cocos2d::CCObject* target, SEL_AssetListener callback);
    // Removes the first entry of `target`, whatever its event.
    void removeListener(cocos2d::CCObject* target);

    // --- accessors ---

    std::shared_ptr<KXModelObjectAsset> assetModel() const;
    int getObjectKind() const { return m_objectKind; }
    int getDestroyType() const { return m_destroyMode; }
    int getCollisionType() const { return m_collisionType; }
    bool isLinearMovement() const { return m_linearMovement; }
    bool isAsleep() const { return m_asleep; }
    bool isAttached() const { return m_attached; }
    void setAttached(bool attached) { m_attached = attached; }
    unsigned int levelSectionId() const { return m_levelSectionId; }
    void setLevelSectionId(unsigned int id) { m_levelSectionId = id; }
    cocos2d::CCPoint getMovementVector() const { return m_movementVector; }
    void setMovementVector(const cocos2d::CCPoint& vector) { m_movementVector = vector; }
    float getAngularSpeed() const { return m_angularSpeed; }
    void setAngularSpeed(float speed) { m_angularSpeed = speed; }
    float travelledDistance() const { return m_travelledDistance; }
    bool isSpawning() const { return m_spawning; }
    // Stores the flag; a resetting spawner also clears its countdown.
    void setSpawning(bool spawning);
    // The next update calls setState(4) (outside the physics step).
    void dieNextUpdate() { m_dieNextUpdate = true; }
    bool willDieNextUpdate() const { return m_dieNextUpdate; }
    KXSound* ownSound() const { return m_ownSound; }

    // The node position in the object layer's space.
    cocos2d::CCPoint positionInObjectLayer();
    // Along the gameplay direction from the live characters: positive ahead, negative behind.
    float distanceFromCharacters();
    // The same measure from the window centre; 0 without a layer.
    float distanceFromScreenCentre();
    // Fades the own sound with the distance from the screen centre (out at 1 per second once no
    // character lives); starts and stops it.
    void updateSoundVolume(float dt);
    // Moves the body (and the bodies jointed to it, by the same offset) to the point, keeping
    // the angles. Nothing while the world is locked.
    void setBodyPosition(float x, float y);

    // The display state shown now, if any (for the kinds and tests).
    cocos2d::CCNode* currentDisplayNode() const;
    std::shared_ptr<KXModelPolygon> currentDisplayShape() const;
    bool hasCurrentDisplayState() const { return m_hasCurrentDisplayState; }
    // The animations hung under this object (a drawn jump lifts them with the display state).
    const std::unordered_set<KXPAnimationObject*>& attachedObjects() const { return m_attachedObjects; }
    size_t displayStateCount() const { return m_displayStates.size(); }

protected:
    struct Listener {
        int event;
        cocos2d::CCObject* target;
        SEL_AssetListener callback;
    };
    struct DisplayState {
        cocos2d::CCNode* node;
        std::shared_ptr<KXModelPolygon> shape;
    };
    using DisplayStates = std::multimap<int, DisplayState>;

    // The asset base's own setState, which the destructor calls whatever a kind overrides.
    void setAssetState(int32_t state);
    // The body's first fixture replaced by one made from `shape` (kept when the shape gives none).
    void replaceFixture(const std::shared_ptr<KXModelPolygon>& shape);
    // The body's first fixture rebuilt from the model's own shape, as addToWorld makes it.
    void restoreModelFixture();
    // Body and fixture work that a locked world refused, done now.
    void runParkedWorldWork();
    // Makes `state` current: restarts its node (not for priority 3) and applies its shape.
    void showDisplayState(DisplayStates::iterator state);
    // Restarts a display node when it is an animation object.
    static void restartDisplayNode(cocos2d::CCNode* node);

    KXPGameplaySettings* m_gameplay;
    int m_collisionType = kCollisionNone;
    int m_destroyMode = kDestroyNo;
    int m_wakeUpType = kWakeUpNone;
    int m_sleepType = kSleepNone;
    float m_angularSpeed = 0.0f;
    cocos2d::CCPoint m_movementVector;
    bool m_linearMovement = false;
    bool m_asleep = false;
    float m_travelledDistance = 0.0f;
    bool m_attached = false;
    bool m_spawning = false;
    float m_spawnCountdown = 0.0f;
    bool m_resettingSpawner = true;
    unsigned int m_levelSectionId = 0;
    int m_objectKind = 0;
    bool m_dieNextUpdate = false;
    DisplayStates m_displayStates;
    DisplayStates::iterator m_currentDisplayState;
    bool m_hasCurrentDisplayState = false;
    std::unordered_set<KXPAnimationObject*> m_attachedObjects;
    KXSound* m_ownSound = nullptr;
    std::vector<Listener> m_listeners;

    // Work a locked world refused: the world addToWorld was asked for (with its flag), and the
    // last fixture change of the display states (a shape, or the model's own) still to apply.
    b2World* m_parkedWorld = nullptr;
    bool m_parkedSkipStill = false;
    bool m_parkedFixtureChange = false;
    bool m_parkedFixtureRestore = false;
    std::shared_ptr<KXModelPolygon> m_parkedFixtureShape;
};
