#pragma once

// The object the player steers: a dynamic body showing the character asset's animations, moved
// by velocities (physics movement) or pulled by a mouse joint towards a control point (direct
// movement). Every tuning value is read afresh each frame from the shared gameplay values, which
// the constructor fills from the character's gameplay component and powerups may change.
//
// The work is split by concern:
//   KXPObjectAssetCharacter.cpp           construction, body, controls, contacts' friction, flip
//   KXPObjectAssetCharacterUpdate.cpp     the per-frame update and the choice of the animation shown
//   KXPObjectAssetCharacterJump.cpp       jumps, the ground rays, landing and bouncing
//   KXPObjectAssetCharacterLife.cpp       shooting, running powerups, states and death
//
// Exported games are tuned to a few habits of the movement that look odd but stay: the up force
// counts twice in physics movement, the lean bounds are one-sided, and air drag scales the whole
// velocity, fall speed included.

#include "player/input/KXPControlledCharacter.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include "cocos2d.h"

#include <box2d/box2d.h>

#include <memory>
#include <unordered_set>

class KXModelAnimation;
class KXModelAssetCharacter;
class KXModelObjectAssetCharacter;
class KXModelSound;
class KXPAnimationObject;
class KXPObjectAssetPowerup;
class KXSound;

class KXPObjectAssetCharacter : public KXPObjectAsset, public KXPControlledCharacter {
public:
    // Character states beside the shared ones (0 idle, 4 defeated, 5 finished).
    static constexpr int32_t kStateMoving = 1;
    static constexpr int32_t kStateShooting = 2;
    static constexpr int32_t kStateJumping = 3;

    // Bits of flags().
    enum Flag : int {
        kFlagUpForce = 1,
        kFlagMoving = 2,
        kFlagLeftLean = 4,
        kFlagRightLean = 8,
        kFlagOnGround = 16,
        kFlagShooting = 32,
        kFlagBouncePending = 64,
    };

    // The mouse joint of direct movement: the pull of a 10 Hz spring, critically damped.
    static constexpr float kJointFrequency = 10.0f;
    static constexpr float kJointDampingRatio = 1.0f;
    static constexpr float kJointMaxForce = 10000.0f;
    // Lean stops adding once the spin in its own direction reaches this (radians per second).
    static constexpr float kLeanSpinLimit = 5.0f;
    // Steering counts a quarter more than the move speed.
    static constexpr float kSteeringFactor = 1.25f;
    // The shooter's bullets: their model velocity and the time between two shots.
    static constexpr float kBulletSpeed = 60.0f;
    static constexpr float kShotInterval = 0.25f;

    // Fills the shared gameplay values from the character's gameplay component and builds the
    // animations the asset names. Callers autorelease.
    explicit KXPObjectAssetCharacter(const std::shared_ptr<KXModelObjectAssetCharacter>& model);
    // The objects a character makes itself (its gun), by name, as they are traced.
    static KXPKindTable kindTable();
    // Lets go of the animations and the shot sound; the anchor body of direct movement leaves the
    // world with the character.
    ~KXPObjectAssetCharacter() override;

    // --- per frame (KXPObjectAssetCharacterUpdate.cpp) ---

    // Body to node, the object base, then the movement steps in their fixed order.
    void update(float dt) override;
    // Also chooses the one animation shown for the state.
    void setVisible(bool visible) override;
    // The character node draws nothing itself.
    void draw() override {}

    // --- states (KXPObjectAssetCharacterLife.cpp) ---

    // Refused: 4 while a powerup protects, anything but 5 after 4, anything after 5.
    void setState(int32_t state) override;
    // The end of the defeated look: the character is finished (state 5).
    void deathAnimationDidEnd();

    // --- overrides of the object and asset slots (KXPObjectAssetCharacter.cpp) ---

    // The first fixture's box; with a mouse joint, moved to where the joint pulls.
    b2AABB getAABB() override;
    // Not once defeated; otherwise the asset's "Cast Shadow".
    bool blocksLight() override;
    // With direct movement the joint pulls with full force only while movement is enabled.
    void setMovementEnabled(bool enabled) override;
    // Dynamic body in the character category, fixed rotation, the direct-movement joint and the
    // shooter.
    void addToWorld(b2World* world, bool skipStill) override;
    // Contact listeners, then the damage rule with the character as attacker (not once
    // defeated).
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override;
    // Characters pass through units that are characters too and through spawners; friction is
    // full on a floor and none on a wall.
    void preSolve(KXPObjectAsset* other, b2Contact* contact, const b2Manifold* oldManifold) override;
    // The steering vector; turns the image (and mirrors the fixture) when the game wants it.
    void setDirection(const cocos2d::CCPoint& direction) override;
    // True while a timed powerup runs on the character.
    bool hasActivePowerups() override { return !m_activePowerups.empty(); }
    // 100 while a powerup runs, else 0.
    virtual float activePowerupLevel();

    // --- controls (KXPControlledCharacter) ---

    KXPObject* characterObject() override { return this; }
    // Joystick axes: steering in physics movement, the control point in direct movement.
    void moveBy(float dx, float dy) override;
    // Gamepad axes; ignored while movement is disabled.
    void setAxisX(float value) override;
    void setAxisY(float value) override;
    void startLeftLean() override { m_flags |= kFlagLeftLean; }
    void stopLeftLean() override { m_flags &= ~kFlagLeftLean; }
    void startRightLean() override { m_flags |= kFlagRightLean; }
    void stopRightLean() override { m_flags &= ~kFlagRightLean; }
    bool isDirectMovement() override;
    cocos2d::CCPoint getControlPosition() override { return m_controlPosition; }
    void setControlPosition(const cocos2d::CCPoint& position) override { m_controlPosition = position; }
    void setBodyPosition(float x, float y) override { KXPObjectAsset::setBodyPosition(x, y); }
    // In metres per second; direct movement moves the control point instead.
    void setLinearVelocity(float x, float y);
    void setLeanStrength(float strength) { m_leanStrength = strength; }
    float leanStrength() const { return m_leanStrength; }

    // --- jumps and ground (KXPObjectAssetCharacterJump.cpp) ---

    // Starts the up force unless the ground, the jump counter or a zero force refuse it.
    void jump() override;
    // The jump button was released: the up force ends.
    void endJump() override { m_flags &= ~kFlagUpForce; }
    // Landing (jump count back to 0, landing sound, a bounce when the game has one) or leaving
    // the ground.
    void setOnGround(bool onGround);
    // The two crossing rays under the body; physics movement runs it every frame.
    void updateGroundContact();
    // In free-flying play the jump look plays once per jump.
    void onJumpAnimationEnd();

    // --- shooting and powerups (KXPObjectAssetCharacterLife.cpp) ---

    void setShooting(bool shooting) override;
    void addActivePowerup(KXPObjectAssetPowerup* powerup) { m_activePowerups.insert(powerup); }
    void removeActivePowerup(KXPObjectAssetPowerup* powerup) { m_activePowerups.erase(powerup); }
    void clearActivePowerups() override { m_activePowerups.clear(); }
    size_t activePowerupCount() const { return m_activePowerups.size(); }

    // --- state for callers and tests ---

    std::shared_ptr<KXModelAssetCharacter> characterAsset() const;
    int flags() const { return m_flags; }
    bool isOnGround() const { return (m_flags & kFlagOnGround) != 0; }
    int jumpCount() const { return m_jumpCount; }
    float upForceTimer() const { return m_upForceTimer; }
    cocos2d::CCPoint axes() const { return m_axes; }
    cocos2d::CCPoint frameVelocity() const { return m_frameVelocity; }
    float tiltAngle() const { return m_tiltAngle; }
    bool isFallPending() const { return m_fallPending; }
    b2MouseJoint* mouseJoint() const { return m_mouseJoint; }
    b2Body* anchorBody() const { return m_anchorBody; }
    KXPAnimationObject* defaultAnimationNode() const { return m_defaultAnimation; }
    KXPAnimationObject* shootingAnimationNode() const { return m_shootingAnimation; }
    KXPAnimationObject* jumpAnimationNode() const { return m_jumpAnimation; }
    KXPAnimationObject* moveAnimationNode() const { return m_moveAnimation; }
    KXPAnimationObject* defeatedAnimationNode() const { return m_defeatedAnimation; }
    KXSound* shootSound() const { return m_shootSound; }
    KXPObjectAsset* shooter() const { return m_shooter; }
    // The role of the animation shown now ("default", "move", "shooting", "jump", "defeated"),
    // or "none".
    const char* shownAnimationName() const;

private:
    // An animation node of the character: child, opacity and depth of the placed model,
    // retained here; null without a model.
    KXPAnimationObject* makeAnimation(const std::shared_ptr<KXModelAnimation>& animation);
    // The mirrored fixture after an image flip (the body keeps its fixture when no shape fits).
    void mirrorFixture();
    // Plays a one-shot sound that deletes itself; nothing without a sound.
    static void playOnce(const std::shared_ptr<KXModelSound>& sound);

    // The update steps that need a body, in their order.
    void applyUpForce(float dt);
    void applyBounce();
    void applyLean();
    void applyPhysicsMovement(const cocos2d::CCPoint& direction, float speed);
    void applyDirectMovement(const cocos2d::CCPoint& direction, float speed, float dt);
    void applyFall();
    void applyFixedRotation();
    // One line of the "character" trace kind (after each update and on reaching states 4 and 5).
    void traceFrame();

    // The death sequence of setState(4).
    void die();
    // The shooter: an invisible spawner unit riding on the character (retained here).
    void buildShooter(b2World* world);

    float m_leanStrength = 1.0f;
    KXPAnimationObject* m_defaultAnimation = nullptr;
    KXPAnimationObject* m_shootingAnimation = nullptr;
    KXPAnimationObject* m_jumpAnimation = nullptr;
    KXPAnimationObject* m_defeatedAnimation = nullptr;
    KXPAnimationObject* m_moveAnimation = nullptr;
    cocos2d::CCPoint m_controlPosition;
    b2MouseJoint* m_mouseJoint = nullptr;
    b2Body* m_anchorBody = nullptr;
    cocos2d::CCPoint m_axes;
    cocos2d::CCPoint m_frameVelocity;
    int m_flags = 0;
    float m_upForceTimer = 0.0f;
    int m_jumpCount = 0;
    cocos2d::CCPoint m_bounceForceSeen;
    float m_tiltAngle = 0.0f;
    bool m_fallPending = false;
    std::unordered_set<KXPObjectAssetPowerup*> m_activePowerups;
    b2WorldManifold m_worldManifold;
    KXSound* m_shootSound = nullptr;
    KXPObjectAsset* m_shooter = nullptr;
};
