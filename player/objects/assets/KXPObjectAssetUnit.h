#pragma once

// The generic placed game object of a level: a platform, an enemy or a decoration built from an
// obstacle asset. It shows the asset's idle animation while alive and its defeated animation
// after death, starts moving when it wakes up (under Box2D physics or along a fixed vector), can
// be a one-way platform, takes part in the contact damage rule, applies one-shot position and
// rotation changes from logic objects, and can be a spawner: an invisible emitter that places
// copies of itself into the level (KXPObjectAssetUnitSpawner.cpp).
//
// Physics callbacks only touch flags, the list of passing objects and the contact; the work
// they cause (start of motion, death, changes) happens in the next update.

#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/assets/KXPUnitChange.h"

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <memory>
#include <string>
#include <vector>

class KXModelAnimation;
class KXModelObjectAssetUnit;
class KXPAnimationObject;
class KXSound;

class KXPObjectAssetUnit : public KXPObjectAsset {
public:
    // How far a unit wakes: a unit without a rule wakes once it is this close ahead of the
    // characters; a collision-woken one only once it is this far behind them.
    static constexpr float kDefaultWakeUpDistance = 3000.0f;

    explicit KXPObjectAssetUnit(const std::shared_ptr<KXModelObjectAssetUnit>& model);
    // Leaves the input controller, lets go of both animations and the wake-up sound.
    ~KXPObjectAssetUnit() override;

    // Base update; the shown animation once more (so it runs at twice its speed, as exported
    // games were tuned); start of motion; a dead unit's fixture becomes a sensor; spawning and
    // its countdown; the logic object's changes; components reset.
    void update(float dt) override;
    // Hides the animations when hidden or when a display state shows; a spawned copy that is
    // hidden (off screen) is removed.
    void setVisible(bool visible) override;
    // 4: defeated animation and death sound (removed at once without a defeated animation);
    // 5: leaves the input controller, stops the wake-up sound.
    void setState(int32_t state) override;
    // Its local bounds around its position in the object layer.
    cocos2d::CCRect boundingRect() override;
    // Needs a body; plays the wake-up sound and, for a moving unit that is not a spawner, starts
    // its motion in the next update.
    void wakeUp() override;
    // What startMotion makes of a still body once the unit is woken.
    b2BodyType bodyTypeInMotion() const override;
    // Off: back to a plain unit. On: hidden, then wired to its "Spawn Action".
    void setSpawner(bool spawner) override;
    // A spawned copy (bit 16) silences the spawners shown in its idle animation.
    void setType(uint32_t flags) override;
    // Each animation shows at "Opacity" times the factor.
    void setOpacityFactor(float factor) override;
    bool blocksLight() override;
    // Without an idle animation no body; a spawner's fixture is a sensor.
    void addToWorld(b2World* world, bool skipStill) override;
    // Contact listeners, damage both ways, collision wake-up, one-way side test.
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override;
    // Solid again; the contact is enabled again; the object no longer passes.
    void endContact(KXPObjectAsset* other, b2Contact* contact) override;
    // Disables the contacts of passing objects, and of the parent an attached or linear unit
    // hangs under.
    void preSolve(KXPObjectAsset* other, b2Contact* contact, const b2Manifold* oldManifold) override;
    // Places one copy when the countdown allows it.
    void spawn() override;
    float wakeUpDistance() override;
    float sleepDistance() override;
    // Local bounds from the idle animation's content and the node's scale.
    void transformChanged() override;
    // False while an object passes through this one-way platform.
    bool isGround() override;

    // One-shot changes from a logic object ("kAdd", "kMultiply", "kReplace"; called inside the
    // step, applied by the next update).
    void setPositionXChange(float value, const std::string& operation);
    void setPositionYChange(float value, const std::string& operation);
    void setRotationChange(float value, const std::string& operation);

    // Whether a contact with `other` meets the solid side; `normal` in this body's frame.
    bool isFromSolidSide(KXPObjectAsset* other, b2Vec2 normal);
    // The end of the defeated animation: a dead unit is removed.
    void onDefeatedAnimationEnd();

    std::shared_ptr<KXModelObjectAssetUnit> unitModel() const;
    KXPAnimationObject* idleAnimation() const { return m_idleAnimation; }
    KXPAnimationObject* defeatedAnimation() const { return m_defeatedAnimation; }
    cocos2d::CCRect localBounds() const { return m_localBounds; }
    bool isStartMotionPending() const { return m_startMotionPending; }
    const std::vector<unsigned int>& passingObjects() const { return m_passingObjects; }
    float spawnCountdown() const { return m_spawnCountdown; }
    bool isResettingSpawner() const { return m_resettingSpawner; }
    int wakeUpType() const { return m_wakeUpType; }
    int sleepType() const { return m_sleepType; }
    KXSound* wakeUpSound() const { return m_wakeUpSound; }

private:
    // The animation node of `model` for this unit (autoreleased and retained here); null
    // without a model.
    KXPAnimationObject* makeAnimation(const std::shared_ptr<KXModelAnimation>& model);
    // The kinds and modes from the model's texts.
    void readSettings();
    // Physics: dynamic with a spread velocity turned by the body's angle. Linear: kinematic (a
    // bullet that destroys other units: dynamic bullet), fixed rotation, no gravity.
    void startMotion();
    // A unit whose collisions destroy others: a bullet in Box2D's sense once set moving.
    bool destroysUnits() const;
    void applyChanges();
    void showAnimation(KXPAnimationObject* animation, bool visible);
    void traceFrame();

    KXPAnimationObject* m_idleAnimation = nullptr;
    KXPAnimationObject* m_defeatedAnimation = nullptr;
    cocos2d::CCRect m_localBounds;
    bool m_startMotionPending = false;
    bool m_solidContact = true;
    // A copy a spawner made: counted against the spawn budget while it exists.
    bool m_budgetedCopy = false;
    std::vector<unsigned int> m_passingObjects;
    KXPUnitChange m_positionXChange;
    KXPUnitChange m_positionYChange;
    KXPUnitChange m_rotationChange;
    KXSound* m_wakeUpSound = nullptr;
};
