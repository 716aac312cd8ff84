// Powerup objects: the frame. The start sound fades once no character lives, the reward labels
// rise and fade, a running powerup rides on its character or stays at the screen centre, the
// duration runs out, and the checkpoint and end-of-game requests of the collection are served.

#include "player/objects/assets/KXPObjectAssetPowerup.h"

#include "player/base/KXPLevelField.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/sound/KXSound.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

void KXPObjectAssetPowerup::update(float dt) {
    KXPObjectAsset::update(dt);
    fadeStartSound(dt);
    animateLabel(m_coinLabel, m_coinLabelShown, m_coinLabelTime, dt);
    animateLabel(m_pointsLabel, m_pointsLabelShown, m_pointsLabelTime, dt);
    if (m_state != kStateActive) {
        if (m_characterConstraint) {
            followCharacter();
        } else if (m_screenConstraint) {
            stayAtScreenCentre();
        }
    }
    if (m_state == kStateCollected) {
        if (m_timeLeft > 0.0f) {
            m_timeLeft -= dt;
        }
        if (m_timeLeft <= 0.0f) {
            setState(kStateDead);
        }
    }
    if (m_nextCheckpointRequested) {
        m_nextCheckpointRequested = false;
        if (KXPLevelField* field = runningLevel()) {
            field->findCheckpointPowerup();
            field->setPendingRequest(KXPLevelField::kRequestResumeFromUi);
        }
    }
    if (m_endGameRequested) {
        m_endGameRequested = false;
        if (KXPLevelField* field = runningLevel()) {
            field->finishGame();
        }
    }
}

void KXPObjectAssetPowerup::fadeStartSound(float dt) {
    if (m_startSound == nullptr || KXPInputController::shared()->hasLiveCharacters()) {
        return;
    }
    const float volume = std::max(0.0f, m_startSound->getVolume() - dt);
    if (volume > 0.0f) {
        m_startSound->setVolume(volume);
        return;
    }
    KXSound* sound = m_startSound;
    m_startSound = nullptr;
    sound->setReleaseHook(nullptr);
    // An auto-delete sound deletes itself when stopped.
    const bool ownsItself = sound->isAutoDelete();
    sound->stop();
    if (!ownsItself) {
        delete sound;
    }
}

void KXPObjectAssetPowerup::animateLabel(CCLabelBMFont* label, bool& shown, float& time, float dt) {
    if (!shown || label == nullptr) {
        return;
    }
    time += dt;
    label->setPosition(
        ccp(time * kLabelDrift, std::sin(time * static_cast<float>(M_PI)) * kLabelArc - time * kLabelSink));
    const float opacity = std::max(0.0f, std::min(1.0f, 1.0f - time)) * 255.0f;
    label->setOpacity(static_cast<GLubyte>(opacity));
    if (time > 1.0f) {
        label->setVisible(false);
        // A label that ended before the effect did still finishes the powerup once it is over.
        if (m_state == kStateDead) {
            shown = false;
            setState(kStateRemoved);
        }
    }
}

void KXPObjectAssetPowerup::followCharacter() {
    if (m_boundCharacter == nullptr) {
        return;
    }
    CCNode* parent = getParent();
    const bool onLayer = parent == nullptr || parent == m_layer;
    const CCPoint position =
        onLayer ? m_boundCharacter->getPosition()
                : parent->convertToNodeSpace(m_boundCharacter->convertToWorldSpace(CCPointZero));
    setPosition(position);
    if (m_body != nullptr && !m_body->GetWorld()->IsLocked()) {
        KXPBodyMotion::moveTo(m_body, b2Vec2(position.x * kMetresPerPoint, position.y * kMetresPerPoint),
                              m_body->GetAngle());
    }
    float scaleX = m_boundCharacter->getScaleX();
    float scaleY = m_boundCharacter->getScaleY();
    if (!onLayer && parent->getScaleX() != 0.0f && parent->getScaleY() != 0.0f) {
        scaleX /= parent->getScaleX();
        scaleY /= parent->getScaleY();
    }
    setScaleX(scaleX);
    setScaleY(scaleY);
    if (m_boundCharacter->getState() == kStateDead && m_startAnimationNode != nullptr) {
        takeStartLookOffCharacter();
        m_startAnimationNode->stop();
        m_startAnimationNode->removeFromParentAndCleanup(false);
    }
}

void KXPObjectAssetPowerup::stayAtScreenCentre() {
    CCDirector* director = CCDirector::sharedDirector();
    const CCSize window = director->getWinSize();
    const CCPoint offset = director->contentOffset();
    CCPoint centre(window.width * 0.5f - offset.x, window.height * 0.5f - offset.y);
    if (m_layer != nullptr) {
        centre = centre - m_layer->getPosition();
    }
    setPosition(centre);
    if (m_startAnimationNode != nullptr) {
        const CCSize size = m_startAnimationNode->contentRect().size;
        if (size.width > 0.0f && size.height > 0.0f) {
            const float scale = std::min(window.width / size.width, window.height / size.height);
            setScaleX(scale);
            setScaleY(scale);
        }
    }
}
