#include "player/KXPGameplaySettings.h"

#include "model/classes/KXBaseModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXBaseModelScreenScene.h"
#include "model/classes/KXModelGeneralSettings.h"

#include <cmath>
#include <string>

using namespace cocos2d;

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// Text forms of the saved values; the engine's formatting and parsing use the C locale, so a
// locale set by the input library cannot turn "0.500" into "0,500".
void storeText(CCDictionary& dictionary, const char* key, const std::string& text) {
    CCString* value = new CCString(text);
    dictionary.setObject(value, key);
    value->release();
}
void storePoint(CCDictionary& dictionary, const char* key, const CCPoint& point) {
    storeText(dictionary, key, stringWithFormatC("{%.3f,%.3f}", point.x, point.y));
}
void storeFloat(CCDictionary& dictionary, const char* key, float value) {
    storeText(dictionary, key, stringWithFormatC("%f", value));
}
void storeBool(CCDictionary& dictionary, const char* key, bool value) {
    storeText(dictionary, key, stringWithFormatC("%d", value ? 1 : 0));
}

// A missing key reads as the parsing of nothing: the zero point, 0 or false.
CCPoint readPoint(const CCDictionary& dictionary, const char* key) {
    return dictionary.valueForKey(key)->pointValue();
}
float readFloat(const CCDictionary& dictionary, const char* key) {
    return dictionary.valueForKey(key)->floatValue();
}
bool readBool(const CCDictionary& dictionary, const char* key) {
    return dictionary.valueForKey(key)->boolValue();
}

} // namespace

KXPGameplaySettings* KXPGameplaySettings::shared() {
    static KXPGameplaySettings* instance = nullptr;
    if (instance == nullptr) {
        instance = new KXPGameplaySettings(KXModelGeneralSettings::shared());
        KXGameplayValuesTarget::setShared(instance);
    }
    return instance;
}

KXPGameplaySettings::KXPGameplaySettings(const std::shared_ptr<KXModelGeneralSettings>& settings)
    : m_savedValues(new CCDictionary()), m_generalSettings(settings) {
    if (!settings) {
        return;
    }
    const KXBaseModelGeneralSettings::GameplayDefaults& start = settings->gameplayDefaults();
    m_gravity = start.gravity;
    m_moveSpeed = start.moveSpeed;
    m_bounceForce = start.bounceForce;
    m_upForce = start.jump;
    m_upForceDuration = start.jumpTimeout;
    m_upForceCounter = start.jumpCounter;
    m_groundThreshold = start.jumpGroundThreshold;
    m_leftLeanForce = start.leftLeanForce;
    m_rightLeanForce = start.rightLeanForce;
    m_simulationTimeScale = start.simulationTimeScale;
    m_friction = start.friction;
    m_characterFriction = start.characterFriction;
    // Stored as a drag; the record keeps what remains of the velocity.
    m_velocityScale = 1.0f - start.velocityScale;
    m_rotationScale = start.rotationScale;
    m_restitution = start.restitution;
    m_platformFriction = start.platformFriction;
    m_scoreMultiplier = start.scoreMultiplier;
    m_upForceFromGround = start.jumpFromGround;
    m_directMovement = start.fixedPosition;
    m_forcedMovement = start.forcedMovement;
    m_fixedRotation = start.fixedRotation;
    m_imageDirection = start.autoImageDirection;
    m_gameSpeedMin = start.gameSpeedMin;
    m_gameSpeedMax = start.gameSpeedMax;
    m_gameSpeed = start.gameSpeedCurrent;
    m_gameSpeedIncrease = start.gameSpeedIncrease;
    m_gameplayAngleDirection = settings->gameAngleDirection();
    m_sidesDeletionThreshold = start.sidesDeletionThreshold;
    m_backDeletionThreshold = start.backDeletionThreshold;
}

KXPGameplaySettings::~KXPGameplaySettings() {
    if (m_savedValues != nullptr) {
        m_savedValues->release();
    }
}

void KXPGameplaySettings::loadSceneSettings(const KXBaseModelScreenScene* scene) {
    if (scene == nullptr) {
        return;
    }
    m_gravity = scene->gravity();
    m_simulationTimeScale = scene->timeWarp();
    m_gameSpeedMin = scene->gameSpeedMin();
    m_gameSpeedMax = scene->gameSpeedMax();
    m_gameSpeedIncrease = scene->speedIncrease();
    m_friction = scene->friction();
    m_velocityScale = scene->velocityDrag();
    m_restitution = scene->bounce();
    m_scoreMultiplier = scene->scoreMultiplier();
    m_gameplayAngleDirection = scene->gameDirection();
    m_sidesDeletionThreshold = scene->sidesDeletionThreshold();
    m_backDeletionThreshold = scene->backDeletionThreshold();
}

void KXPGameplaySettings::loadCharacterSettings(
    const KXBaseModelComponentCharacterGameplaySettings* character) {
    if (character == nullptr) {
        return;
    }
    m_moveSpeed = character->maxSpeed();
    m_bounceForce = character->bounceForce();
    m_upForce = character->jumpForce();
    m_upForceDuration = character->jumpTimeout();
    m_upForceCounter = character->jumpCounter();
    m_groundThreshold = character->groundThreshold();
    m_leftLeanForce = character->leftLeanForce();
    m_rightLeanForce = character->rightLeanForce();
    m_characterFriction = character->airDrag();
    m_rotationScale = character->rotationDrag();
    m_platformFriction = character->platformFriction();
    m_upForceFromGround = character->jumpFromGround();
    m_directMovement = character->directMovement();
    m_forcedMovement = character->forcedMovement();
    m_fixedRotation = character->fixedRotation();
    m_imageDirection = character->imageDirection();
}

void KXPGameplaySettings::saveValues() {
    if (m_saveNesting < INT32_MAX) {
        ++m_saveNesting;
    }
    if (m_saveNesting != 1) {
        return;
    }
    CCDictionary& saved = *m_savedValues;
    storePoint(saved, "moveSpeed", m_moveSpeed);
    storePoint(saved, "gravity", m_gravity);
    storePoint(saved, "upForce", m_upForce);
    storeFloat(saved, "upForceCounter", m_upForceCounter);
    storeFloat(saved, "upForceDuration", m_upForceDuration);
    storeBool(saved, "upForceFromGround", m_upForceFromGround);
    storeFloat(saved, "rightLeanForce", m_rightLeanForce);
    storeFloat(saved, "leftLeanForce", m_leftLeanForce);
    storeFloat(saved, "gameSpeedMin", m_gameSpeedMin);
    storeFloat(saved, "gameSpeedMax", m_gameSpeedMax);
    storeFloat(saved, "gameSpeedIncrease", m_gameSpeedIncrease);
    storeFloat(saved, "friction", m_friction);
    storeFloat(saved, "simulationTimeScale", m_simulationTimeScale);
    storeFloat(saved, "velocityScale", m_velocityScale);
    storeFloat(saved, "rotationScale", m_rotationScale);
    storePoint(saved, "bounceForce", m_bounceForce);
    storeFloat(saved, "restitution", m_restitution);
    storeFloat(saved, "scoreMultiplier", m_scoreMultiplier);
    storePoint(saved, "characterFriction", m_characterFriction);
    storeFloat(saved, "platformFriction", m_platformFriction);
    storeFloat(saved, "gameplayAngleDirection", m_gameplayAngleDirection);
    storeBool(saved, "fixedRotation", m_fixedRotation);
}

void KXPGameplaySettings::restoreValues() {
    if (m_saveNesting <= 0) {
        return;
    }
    --m_saveNesting;
    if (m_saveNesting != 0) {
        return;
    }
    const CCDictionary& saved = *m_savedValues;
    m_moveSpeed = readPoint(saved, "moveSpeed");
    m_gravity = readPoint(saved, "gravity");
    m_upForce = readPoint(saved, "upForce");
    m_upForceCounter = readFloat(saved, "upForceCounter");
    m_upForceDuration = readFloat(saved, "upForceDuration");
    m_upForceFromGround = readBool(saved, "upForceFromGround");
    m_rightLeanForce = readFloat(saved, "rightLeanForce");
    m_leftLeanForce = readFloat(saved, "leftLeanForce");
    m_gameSpeedMin = readFloat(saved, "gameSpeedMin");
    m_gameSpeedMax = readFloat(saved, "gameSpeedMax");
    m_gameSpeedIncrease = readFloat(saved, "gameSpeedIncrease");
    m_friction = readFloat(saved, "friction");
    m_simulationTimeScale = readFloat(saved, "simulationTimeScale");
    m_velocityScale = readFloat(saved, "velocityScale");
    m_rotationScale = readFloat(saved, "rotationScale");
    m_bounceForce = readPoint(saved, "bounceForce");
    m_restitution = readFloat(saved, "restitution");
    m_scoreMultiplier = readFloat(saved, "scoreMultiplier");
    m_characterFriction = readPoint(saved, "characterFriction");
    m_platformFriction = readFloat(saved, "platformFriction");
    m_gameplayAngleDirection = readFloat(saved, "gameplayAngleDirection");
    m_fixedRotation = readBool(saved, "fixedRotation");
}

CCPoint KXPGameplaySettings::getGameplayDirection() const {
    const float angle = -(m_gameplayAngleDirection * kRadiansPerDegree);
    return CCPoint(std::cos(angle), std::sin(angle));
}

CCPoint visibleAreaOffset() {
    CCDirector* director = CCDirector::sharedDirector();
    CCEGLViewProtocol* view = director->getOpenGLView();
    if (view == nullptr || view->getResolutionPolicy() != kResolutionNoBorder) {
        return director->contentOffset();
    }
    const CCSize frame = view->getFrameSize();
    const CCSize design = view->getDesignResolutionSize();
    const float scaleX = view->getScaleX();
    const float scaleY = view->getScaleY();
    // A view not yet sized would divide by zero: nothing is cropped then.
    if (frame.height <= 0.0f || design.height <= 0.0f || scaleX <= 0.0f || scaleY <= 0.0f) {
        return director->contentOffset();
    }
    if (frame.width / frame.height <= design.width / design.height) {
        return CCPoint((frame.width / scaleY - design.width) * 0.5f, 0.0f);
    }
    return CCPoint(0.0f, (frame.height / scaleX - design.height) * 0.5f);
}
