#pragma once

// A collectable powerup: a character touching it collects it once. Collection plays the start
// look and sound, floats the coin and point rewards up, flashes or shakes the field, credits the
// rewards and runs the powerup's effect (magnet, strike, invincibility, kill all enemies,
// checkpoints, gameplay values, end of game); a timed effect is undone when its duration runs
// out or a newer pickup of the same type replaces it.
//
// States: 0 waiting, 1 collected and running, 4 effect over (reward labels still rising),
// 5 finished. The contact only asks for state 1; the change comes with the next update, outside
// the world step. Split by concern: this file's .cpp (set-up, contact, states, body),
// KXPObjectAssetPowerupEffects.cpp (apply, endEffect), KXPObjectAssetPowerupUpdate.cpp (frame).

#include "player/objects/assets/KXPObjectAsset.h"

#include <memory>
#include <string>

class KXModelObjectAssetPowerup;
class KXPLevelField;

class KXPObjectAssetPowerup : public KXPObjectAsset {
public:
    // The texts of the asset's "Animation Placement", "Animation Behaviour" and "Powerup Type".
    static constexpr const char* kCharacterConstraint = "kPowerupCharacterConstraint";
    static constexpr const char* kScreenConstraint = "kPowerupScreenConstraint";
    static constexpr const char* kReplaceBehaviour = "kReplaceBehaviour";
    static constexpr const char* kOverlayBehaviour = "kOverlayBehaviour";
    static constexpr const char* kTypeCoin = "kPowerupCoin";
    static constexpr const char* kTypeNone = "kPowerupNone";
    static constexpr const char* kTypeMagnet = "kPowerupMagnet";
    static constexpr const char* kTypeStrike = "kPowerupStrike";
    static constexpr const char* kTypeInvincibility = "kPowerupInvincibility";
    static constexpr const char* kTypeKillAllEnemies = "kPowerupKillAllEnemies";
    static constexpr const char* kTypeCheckpoint = "kPowerupCheckpoint";
    static constexpr const char* kTypeRestartCheckpoint = "kPowerupRestartCheckpoint";
    static constexpr const char* kTypeNextCheckpoint = "kPowerupNextCheckpoint";
    static constexpr const char* kTypeGameplay = "kPowerupGameplay";
    static constexpr const char* kTypeEndGame = "kPowerupEndGame";
    static constexpr int32_t kStateCollected = 1;
    // The strike's push, in metres per second, along the screen's long side.
    static constexpr float kStrikeSpeed = 30.0f;
    // The reward labels drift this far (points per second) and rise in an arc of this height.
    static constexpr float kLabelDrift = 60.0f;
    static constexpr float kLabelArc = 60.0f;
    static constexpr float kLabelSink = 20.0f;

    explicit KXPObjectAssetPowerup(const std::shared_ptr<KXModelObjectAssetPowerup>& model);
    ~KXPObjectAssetPowerup() override;

    void update(float dt) override;
    void setVisible(bool visible) override;
    void setState(int32_t state) override;
    // This powerup's own box (sized from its idle look) at its place on the object layer.
    cocos2d::CCRect boundingRect() override;
    void wakeUp() override;
    bool blocksLight() override;
    // A running powerup keeps moving with its character.
    void setMovementEnabled(bool enabled) override;
    // A sensor body, and only when there is an idle look to touch.
    void addToWorld(b2World* world, bool skipStill) override;
    // A live character (not a spawned copy) binds itself and asks for collection.
    void beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) override;

    bool isCollected() const { return m_collected; }
    std::string powerupType() const;
    std::shared_ptr<KXModelObjectAssetPowerup> powerupModel() const;
    KXPObjectAsset* boundCharacter() const { return m_boundCharacter; }
    float timeLeft() const { return m_timeLeft; }
    bool hasTimedEffect() const { return m_hasTimedEffect; }
    cocos2d::CCLabelBMFont* coinLabel() const { return m_coinLabel; }
    cocos2d::CCLabelBMFont* pointsLabel() const { return m_pointsLabel; }
    KXPAnimationObject* idleAnimationNode() const { return m_idleAnimationNode; }
    KXPAnimationObject* startAnimationNode() const { return m_startAnimationNode; }

protected:
    // Collection: look, sound, labels, camera, rewards and the effect; runs once per collection.
    void apply();
    // The effect undone, the looks taken away; state 5 unless a reward label still rises.
    void endEffect();
    // The effect of the powerup type on collection / at its end (the effect table).
    void applyTypeEffect(KXPLevelField* field);
    void endTypeEffect(KXPLevelField* field);
    // Rewards into the global record and, in a game, into the current world's.
    void creditRewards(bool inGame);
    // The start look put on the character / taken off it (replace or overlay behaviour).
    void placeStartLookOnCharacter();
    void takeStartLookOffCharacter();

    void onStartAnimationEnded();
    void onCharacterRemoved(KXPObjectAsset* self, KXPObjectAsset* other);
    void bindCharacter(KXPObjectAsset* character);
    void unbindCharacter();

    // Frame parts.
    void fadeStartSound(float dt);
    void animateLabel(cocos2d::CCLabelBMFont* label, bool& shown, float& time, float dt);
    void followCharacter();
    void stayAtScreenCentre();

    static KXPLevelField* runningLevel();
    cocos2d::CCLabelBMFont* makeRewardLabel(int amount, bool show);
    bool isReplace() const { return m_behaviour == kReplaceBehaviour; }
    bool isOverlay() const { return m_behaviour == kOverlayBehaviour; }

    KXPAnimationObject* m_idleAnimationNode = nullptr;
    KXPAnimationObject* m_startAnimationNode = nullptr;
    bool m_coinLabelShown = false;
    float m_coinLabelTime = 0.0f;
    cocos2d::CCLabelBMFont* m_coinLabel = nullptr;
    bool m_pointsLabelShown = false;
    float m_pointsLabelTime = 0.0f;
    cocos2d::CCLabelBMFont* m_pointsLabel = nullptr;
    bool m_characterConstraint = false;
    bool m_screenConstraint = false;
    bool m_nextCheckpointRequested = false;
    bool m_endGameRequested = false;
    float m_timeLeft = 0.0f;
    bool m_hasTimedEffect = false;
    bool m_collected = false;
    KXPObjectAsset* m_boundCharacter = nullptr;
    KXSound* m_startSound = nullptr;
    std::string m_behaviour;
    // Sized once from this powerup's own idle look (a powerup of another size keeps its own).
    cocos2d::CCRect m_boundingBox;
};
