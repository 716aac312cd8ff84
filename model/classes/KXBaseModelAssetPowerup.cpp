#include "model/classes/KXBaseModelAssetPowerup.h"

#include "base/CCGeometry.h"
#include "model/KXNumeric.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXGameplayValuesTarget.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kIdleAnimation = "Idle Animation";
constexpr const char* kPowerupType = "Powerup Type";
constexpr const char* kStartAnimation = "Start Animation";
constexpr const char* kAnimationPlacement = "Animation Placement";
constexpr const char* kAnimationBehaviour = "Animation Behaviour";
constexpr const char* kIdleSound = "Idle Sound";
constexpr const char* kStartSound = "Start Sound";
constexpr const char* kEndSound = "End Sound";
constexpr const char* kRewardCoins = "Reward Coins";
constexpr const char* kShowCoinReward = "Show coin reward";
constexpr const char* kRewardPoints = "Reward Points";
constexpr const char* kShowPointsReward = "Show points reward";
constexpr const char* kDuration = "Duration";
constexpr const char* kAppearanceChance = "Appearance Chance";
constexpr const char* kCameraShake = "Camera Shake";
constexpr const char* kCameraFlash = "Camera Flash";
constexpr const char* kMaxSpeed = "Max Speed";
constexpr const char* kGravity = "Gravity";
constexpr const char* kJumpForce = "Jump Force";
constexpr const char* kJumpCounter = "Jump Counter";
constexpr const char* kJumpTimeout = "Jump Timeout";
constexpr const char* kGroundThreshold = "Ground Threshold";
constexpr const char* kJumpFromGround = "Jump From Ground";
constexpr const char* kRightLeanForce = "Right Lean Force";
constexpr const char* kLeftLeanForce = "Left Lean Force";
constexpr const char* kGameSpeedMin = "Game Speed Min";
constexpr const char* kGameSpeedMax = "Game Speed Max";
constexpr const char* kSpeedIncrease = "Speed Increase";
constexpr const char* kFriction = "Friction";
constexpr const char* kTimeWarp = "Time Warp";
constexpr const char* kVelocityDrag = "Velocity Drag";
constexpr const char* kRotationDrag = "Rotation Drag";
constexpr const char* kBounceForce = "Bounce Force";
constexpr const char* kBounce = "Bounce";
constexpr const char* kScoreMultiplier = "Score Multiplier";
constexpr const char* kAirDrag = "Air Drag";
constexpr const char* kPlatformFriction = "Platform Friction";
constexpr const char* kGameDirection = "Game Direction";
constexpr const char* kFixedRotation = "Fixed Rotation";
} // namespace

KXBaseModelAssetPowerup::KXBaseModelAssetPowerup(const std::string& name)
    : KXModelAsset(name), m_idleAnimation(new KXAttributeAnimation(kIdleAnimation, this)),
      m_powerupType(new KXAttributeStringList(kPowerupType, this)),
      m_startAnimation(new KXAttributeAnimation(kStartAnimation, this)),
      m_animationPlacement(new KXAttributeStringList(kAnimationPlacement, this)),
      m_animationBehaviour(new KXAttributeStringList(kAnimationBehaviour, this)),
      m_idleSound(new KXAttributeSound(kIdleSound, this)),
      m_startSound(new KXAttributeSound(kStartSound, this)),
      m_endSound(new KXAttributeSound(kEndSound, this)),
      m_rewardCoins(new KXAttributeFloat(kRewardCoins, this)),
      m_showCoinReward(new KXAttributeBool(kShowCoinReward, this)),
      m_rewardPoints(new KXAttributeFloat(kRewardPoints, this)),
      m_showPointsReward(new KXAttributeBool(kShowPointsReward, this)),
      m_duration(new KXAttributeFloat(kDuration, this)),
      m_appearanceChance(new KXAttributeFloat(kAppearanceChance, this)),
      m_cameraShake(new KXAttributeFloat(kCameraShake, this)),
      m_cameraFlash(new KXAttributeFloat(kCameraFlash, this)),
      m_maxSpeed(new KXAttributePoint(kMaxSpeed, this)), m_gravity(new KXAttributePoint(kGravity, this)),
      m_jumpForce(new KXAttributePoint(kJumpForce, this)),
      m_jumpCounter(new KXAttributeFloat(kJumpCounter, this)),
      m_jumpTimeout(new KXAttributeFloat(kJumpTimeout, this)),
      m_groundThreshold(new KXAttributeFloat(kGroundThreshold, this)),
      m_jumpFromGround(new KXAttributeBool(kJumpFromGround, this)),
      m_rightLeanForce(new KXAttributeFloat(kRightLeanForce, this)),
      m_leftLeanForce(new KXAttributeFloat(kLeftLeanForce, this)),
      m_gameSpeedMin(new KXAttributeFloat(kGameSpeedMin, this)),
      m_gameSpeedMax(new KXAttributeFloat(kGameSpeedMax, this)),
      m_speedIncrease(new KXAttributeFloat(kSpeedIncrease, this)),
      m_friction(new KXAttributeFloat(kFriction, this)), m_timeWarp(new KXAttributeFloat(kTimeWarp, this)),
      m_velocityDrag(new KXAttributeFloat(kVelocityDrag, this)),
      m_rotationDrag(new KXAttributeFloat(kRotationDrag, this)),
      m_bounceForce(new KXAttributePoint(kBounceForce, this)), m_bounce(new KXAttributeFloat(kBounce, this)),
      m_scoreMultiplier(new KXAttributeFloat(kScoreMultiplier, this)),
      m_airDrag(new KXAttributePoint(kAirDrag, this)),
      m_platformFriction(new KXAttributeFloat(kPlatformFriction, this)),
      m_gameDirection(new KXAttributeFloat(kGameDirection, this)),
      m_fixedRotation(new KXAttributeBool(kFixedRotation, this)) {}

KXBaseModelAssetPowerup::KXBaseModelAssetPowerup(const KXBaseModelAssetPowerup& source)
    : KXModelAsset(source), m_idleAnimation(boundAttribute<KXAttributeAnimation>(*this, kIdleAnimation)),
      m_powerupType(boundAttribute<KXAttributeStringList>(*this, kPowerupType)),
      m_startAnimation(boundAttribute<KXAttributeAnimation>(*this, kStartAnimation)),
      m_animationPlacement(boundAttribute<KXAttributeStringList>(*this, kAnimationPlacement)),
      m_animationBehaviour(boundAttribute<KXAttributeStringList>(*this, kAnimationBehaviour)),
      m_idleSound(boundAttribute<KXAttributeSound>(*this, kIdleSound)),
      m_startSound(boundAttribute<KXAttributeSound>(*this, kStartSound)),
      m_endSound(boundAttribute<KXAttributeSound>(*this, kEndSound)),
      m_rewardCoins(boundAttribute<KXAttributeFloat>(*this, kRewardCoins)),
      m_showCoinReward(boundAttribute<KXAttributeBool>(*this, kShowCoinReward)),
      m_rewardPoints(boundAttribute<KXAttributeFloat>(*this, kRewardPoints)),
      m_showPointsReward(boundAttribute<KXAttributeBool>(*this, kShowPointsReward)),
      m_duration(boundAttribute<KXAttributeFloat>(*this, kDuration)),
      m_appearanceChance(boundAttribute<KXAttributeFloat>(*this, kAppearanceChance)),
      m_cameraShake(boundAttribute<KXAttributeFloat>(*this, kCameraShake)),
      m_cameraFlash(boundAttribute<KXAttributeFloat>(*this, kCameraFlash)),
      m_maxSpeed(boundAttribute<KXAttributePoint>(*this, kMaxSpeed)),
      m_gravity(boundAttribute<KXAttributePoint>(*this, kGravity)),
      m_jumpForce(boundAttribute<KXAttributePoint>(*this, kJumpForce)),
      m_jumpCounter(boundAttribute<KXAttributeFloat>(*this, kJumpCounter)),
      m_jumpTimeout(boundAttribute<KXAttributeFloat>(*this, kJumpTimeout)),
      m_groundThreshold(boundAttribute<KXAttributeFloat>(*this, kGroundThreshold)),
      m_jumpFromGround(boundAttribute<KXAttributeBool>(*this, kJumpFromGround)),
      m_rightLeanForce(boundAttribute<KXAttributeFloat>(*this, kRightLeanForce)),
      m_leftLeanForce(boundAttribute<KXAttributeFloat>(*this, kLeftLeanForce)),
      m_gameSpeedMin(boundAttribute<KXAttributeFloat>(*this, kGameSpeedMin)),
      m_gameSpeedMax(boundAttribute<KXAttributeFloat>(*this, kGameSpeedMax)),
      m_speedIncrease(boundAttribute<KXAttributeFloat>(*this, kSpeedIncrease)),
      m_friction(boundAttribute<KXAttributeFloat>(*this, kFriction)),
      m_timeWarp(boundAttribute<KXAttributeFloat>(*this, kTimeWarp)),
      m_velocityDrag(boundAttribute<KXAttributeFloat>(*this, kVelocityDrag)),
      m_rotationDrag(boundAttribute<KXAttributeFloat>(*this, kRotationDrag)),
      m_bounceForce(boundAttribute<KXAttributePoint>(*this, kBounceForce)),
      m_bounce(boundAttribute<KXAttributeFloat>(*this, kBounce)),
      m_scoreMultiplier(boundAttribute<KXAttributeFloat>(*this, kScoreMultiplier)),
      m_airDrag(boundAttribute<KXAttributePoint>(*this, kAirDrag)),
      m_platformFriction(boundAttribute<KXAttributeFloat>(*this, kPlatformFriction)),
      m_gameDirection(boundAttribute<KXAttributeFloat>(*this, kGameDirection)),
      m_fixedRotation(boundAttribute<KXAttributeBool>(*this, kFixedRotation)) {}
std::shared_ptr<KXModelSpriteContainer> KXBaseModelAssetPowerup::spriteContainer() const {
    return m_idleAnimation != nullptr ? m_idleAnimation->animation() : nullptr;
}

const std::string& KXBaseModelAssetPowerup::powerupType() const {
    return attributeText(m_powerupType);
}
const std::string& KXBaseModelAssetPowerup::animationPlacement() const {
    return attributeText(m_animationPlacement);
}
const std::string& KXBaseModelAssetPowerup::animationBehaviour() const {
    return attributeText(m_animationBehaviour);
}
std::shared_ptr<KXModelAnimation> KXBaseModelAssetPowerup::idleAnimation() const {
    return attributeValue(m_idleAnimation);
}
std::shared_ptr<KXModelAnimation> KXBaseModelAssetPowerup::startAnimation() const {
    return attributeValue(m_startAnimation);
}
std::shared_ptr<KXModelSound> KXBaseModelAssetPowerup::idleSound() const {
    return attributeValue(m_idleSound);
}
std::shared_ptr<KXModelSound> KXBaseModelAssetPowerup::startSound() const {
    return attributeValue(m_startSound);
}
std::shared_ptr<KXModelSound> KXBaseModelAssetPowerup::endSound() const {
    return attributeValue(m_endSound);
}
int KXBaseModelAssetPowerup::rewardCoins() const {
    return kx::truncateToInt(attributeValue(m_rewardCoins));
}
int KXBaseModelAssetPowerup::rewardPoints() const {
    return kx::truncateToInt(attributeValue(m_rewardPoints));
}
int KXBaseModelAssetPowerup::appearanceChance() const {
    return kx::truncateToInt(attributeValue(m_appearanceChance));
}
bool KXBaseModelAssetPowerup::showCoinReward() const {
    return attributeValue(m_showCoinReward);
}
bool KXBaseModelAssetPowerup::showPointsReward() const {
    return attributeValue(m_showPointsReward);
}
float KXBaseModelAssetPowerup::duration() const {
    return attributeValue(m_duration);
}
float KXBaseModelAssetPowerup::cameraShake() const {
    return attributeValue(m_cameraShake);
}
float KXBaseModelAssetPowerup::cameraFlash() const {
    return attributeValue(m_cameraFlash);
}

void KXBaseModelAssetPowerup::applyGameplayValues(KXGameplayValuesTarget& target) const {
    // The editor shows friendlier numbers than the physics uses; each divisor maps one to the
    // other. Plain values only: spreads and curves do not apply here.
    const CCPoint maxSpeed = attributeValue(m_maxSpeed);
    const CCPoint jumpForce = attributeValue(m_jumpForce);
    const CCPoint bounceForce = attributeValue(m_bounceForce);
    const CCPoint airDrag = attributeValue(m_airDrag);

    target.saveValues();
    KXGameplayValues& values = target.gameplayValues();
    values.moveSpeed = CCPoint(maxSpeed.x / 3.0f, maxSpeed.y / 3.0f);
    values.gravity = attributeValue(m_gravity);
    values.upForce = CCPoint(jumpForce.x / 4.0f, jumpForce.y / 4.0f);
    values.upForceCounter = attributeValue(m_jumpCounter);
    values.upForceDuration = attributeValue(m_jumpTimeout);
    if (m_groundThreshold != nullptr && !m_groundThreshold->isEmpty()) {
        values.groundThreshold = m_groundThreshold->value();
    }
    values.upForceFromGround = attributeValue(m_jumpFromGround);
    values.rightLeanForce = attributeValue(m_rightLeanForce) / 100.0f;
    values.leftLeanForce = attributeValue(m_leftLeanForce) / 100.0f;
    values.gameSpeedMin = attributeValue(m_gameSpeedMin) / 25.0f;
    values.gameSpeedMax = attributeValue(m_gameSpeedMax) / 25.0f;
    values.gameSpeedIncrease = attributeValue(m_speedIncrease) / 25.0f;
    values.friction = attributeValue(m_friction) / 100.0f;
    values.simulationTimeScale = attributeValue(m_timeWarp) / 50.0f;
    values.velocityScale = attributeValue(m_velocityDrag);
    values.rotationScale = attributeValue(m_rotationDrag);
    values.bounceForce = CCPoint(bounceForce.x / 2.0f, bounceForce.y / 2.0f);
    values.restitution = attributeValue(m_bounce) / 100.0f;
    values.scoreMultiplier = attributeValue(m_scoreMultiplier);
    values.characterFriction = CCPoint(1.0f - airDrag.x / 100.0f, 1.0f - airDrag.y / 100.0f);
    values.platformFriction = attributeValue(m_platformFriction) / 40.0f;
    values.gameplayAngleDirection = attributeValue(m_gameDirection);
    values.fixedRotation = attributeValue(m_fixedRotation);
}

void KXBaseModelAssetPowerup::applyGameplayValues() const {
    if (KXGameplayValuesTarget* target = KXGameplayValuesTarget::shared()) {
        applyGameplayValues(*target);
    }
}
