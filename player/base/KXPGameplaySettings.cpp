#include "player/base/KXPGameplaySettings.h"

#include "model/classes/KXBaseModelComponentCharacterGameplaySettings.h"
#include "model/classes/KXBaseModelScreenScene.h"
#include "model/classes/KXModelGeneralSettings.h"

#include "cocos2d.h"

#include <cmath>
#include <string>

using namespace cocos2d;

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// What a powerup's save keeps, under the save's names.
const KXGameplayValueField kSavedValues[] = {
    {"moveSpeed", &KXGameplayValues::moveSpeed},
    {"gravity", &KXGameplayValues::gravity},
    {"upForce", &KXGameplayValues::upForce},
    {"upForceCounter", &KXGameplayValues::upForceCounter},
    {"upForceDuration", &KXGameplayValues::upForceDuration},
    {"upForceFromGround", &KXGameplayValues::upForceFromGround},
    {"rightLeanForce", &KXGameplayValues::rightLeanForce},
    {"leftLeanForce", &KXGameplayValues::leftLeanForce},
    {"gameSpeedMin", &KXGameplayValues::gameSpeedMin},
    {"gameSpeedMax", &KXGameplayValues::gameSpeedMax},
    {"gameSpeedIncrease", &KXGameplayValues::gameSpeedIncrease},
    {"friction", &KXGameplayValues::friction},
    {"simulationTimeScale", &KXGameplayValues::simulationTimeScale},
    {"velocityScale", &KXGameplayValues::velocityScale},
    {"rotationScale", &KXGameplayValues::rotationScale},
    {"bounceForce", &KXGameplayValues::bounceForce},
    {"restitution", &KXGameplayValues::restitution},
    {"scoreMultiplier", &KXGameplayValues::scoreMultiplier},
    {"characterFriction", &KXGameplayValues::characterFriction},
    {"platformFriction", &KXGameplayValues::platformFriction},
    {"gameplayAngleDirection", &KXGameplayValues::gameplayAngleDirection},
    {"fixedRotation", &KXGameplayValues::fixedRotation},
};

// Text forms of the saved values; the engine's formatting and parsing use the C locale, so a
// locale set by the input library cannot turn "0.500" into "0,500".
std::string savedText(const KXGameplayValues& values, const KXGameplayValueField& field) {
    if (field.point != nullptr) {
        const CCPoint& point = values.*field.point;
        return stringWithFormatC("{%.3f,%.3f}", point.x, point.y);
    }
    if (field.number != nullptr) {
        return stringWithFormatC("%f", values.*field.number);
    }
    return stringWithFormatC("%d", values.*field.flag ? 1 : 0);
}

// A missing key reads as the parsing of nothing: the zero point, 0 or false.
void readSavedText(const CCDictionary& dictionary, const KXGameplayValueField& field,
                   KXGameplayValues& values) {
    const CCString* text = dictionary.valueForKey(field.key);
    if (field.point != nullptr) {
        values.*field.point = text->pointValue();
    } else if (field.number != nullptr) {
        values.*field.number = text->floatValue();
    } else {
        values.*field.flag = text->boolValue();
    }
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
    m_values = settings->gameplayDefaults();
    // Stored as a drag; the record keeps what remains of the velocity.
    m_values.velocityScale = 1.0f - m_values.velocityScale;
    m_values.gameplayAngleDirection = settings->gameAngleDirection();
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
    m_values.gravity = scene->gravity();
    m_values.simulationTimeScale = scene->timeWarp();
    m_values.gameSpeedMin = scene->gameSpeedMin();
    m_values.gameSpeedMax = scene->gameSpeedMax();
    m_values.gameSpeedIncrease = scene->speedIncrease();
    m_values.friction = scene->friction();
    m_values.velocityScale = scene->velocityDrag();
    m_values.restitution = scene->bounce();
    m_values.scoreMultiplier = scene->scoreMultiplier();
    m_values.gameplayAngleDirection = scene->gameDirection();
    m_values.sidesDeletionThreshold = scene->sidesDeletionThreshold();
    m_values.backDeletionThreshold = scene->backDeletionThreshold();
}

void KXPGameplaySettings::loadCharacterSettings(
    const KXBaseModelComponentCharacterGameplaySettings* character) {
    if (character == nullptr) {
        return;
    }
    m_values.moveSpeed = character->maxSpeed();
    m_values.bounceForce = character->bounceForce();
    m_values.upForce = character->jumpForce();
    m_values.upForceDuration = character->jumpTimeout();
    m_values.upForceCounter = character->jumpCounter();
    m_values.groundThreshold = character->groundThreshold();
    m_values.leftLeanForce = character->leftLeanForce();
    m_values.rightLeanForce = character->rightLeanForce();
    m_values.characterFriction = character->airDrag();
    m_values.rotationScale = character->rotationDrag();
    m_values.platformFriction = character->platformFriction();
    m_values.upForceFromGround = character->jumpFromGround();
    m_values.directMovement = character->directMovement();
    m_values.forcedMovement = character->forcedMovement();
    m_values.fixedRotation = character->fixedRotation();
    m_values.imageDirection = character->imageDirection();
}

void KXPGameplaySettings::saveValues() {
    if (m_saveNesting < INT32_MAX) {
        ++m_saveNesting;
    }
    // Values still owed from before a new scene cut the nesting off are the ones to go back to:
    // writing the current (changed) ones over them would keep an old powerup's values for good.
    if (m_saveNesting != 1 || m_savedInForce) {
        return;
    }
    for (const KXGameplayValueField& field : kSavedValues) {
        CCString* text = new CCString(savedText(m_values, field));
        m_savedValues->setObject(text, field.key);
        text->release();
    }
    m_savedInForce = true;
}

void KXPGameplaySettings::restoreValues() {
    if (m_saveNesting <= 0) {
        return;
    }
    --m_saveNesting;
    if (m_saveNesting != 0) {
        return;
    }
    readBackSavedValues();
}

void KXPGameplaySettings::restoreAllValues() {
    m_saveNesting = 0;
    if (m_savedInForce) {
        readBackSavedValues();
    }
}

void KXPGameplaySettings::readBackSavedValues() {
    for (const KXGameplayValueField& field : kSavedValues) {
        readSavedText(*m_savedValues, field, m_values);
    }
    m_savedInForce = false;
}

CCPoint KXPGameplaySettings::getGameplayDirection() const {
    const float angle = -(m_values.gameplayAngleDirection * kRadiansPerDegree);
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
