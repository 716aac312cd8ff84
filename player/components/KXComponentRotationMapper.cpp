#include "player/components/KXComponentRotationMapper.h"

#include "model/KXNumeric.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelComponentRotationMapper.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include <cmath>
#include <string>

using namespace cocos2d;

namespace {
constexpr float kDegreesPerRadian = 57.29578f;
}

KXComponentRotationMapper::KXComponentRotationMapper() {
    m_enabled = false;
}

KXComponentRotationMapper::~KXComponentRotationMapper() {
    if (m_animationNode != nullptr) {
        m_animationNode->release();
        m_animationNode = nullptr;
    }
}

void KXComponentRotationMapper::setOwner(KXPObject* owner) {
    KXComponent::setOwner(owner);
    const auto mapper = std::static_pointer_cast<KXModelComponentRotationMapper>(m_model);
    const std::shared_ptr<KXModelAnimation> animation = mapper ? mapper->animation() : nullptr;
    if (!animation || owner == nullptr || m_animationNode != nullptr) {
        return;
    }
    m_animationNode = new KXPAnimationObject(animation, owner, true);
    m_animationNode->setZOrder(owner->getZOrder());
    m_animationNode->setVisible(false);
    m_animationNode->stop();
}

void KXComponentRotationMapper::setEnabled(bool enabled) {
    KXComponent::setEnabled(enabled);
    KXPObjectAsset* asset = assetOwner();
    if (enabled) {
        if (asset != nullptr) {
            asset->pushAnimation(3, m_animationNode, nullptr);
        }
        return;
    }
    if (asset != nullptr) {
        asset->popAnimation(3, m_animationNode, nullptr);
    }
    if (m_animationNode != nullptr) {
        m_animationNode->setVisible(false);
    }
}

int KXComponentRotationMapper::frameForAngle(float degrees, int frames) {
    if (frames <= 0 || !std::isfinite(degrees)) {
        return 0;
    }
    const double turns = std::fabs(static_cast<double>(degrees)) / 360.0 * frames;
    // Whole turns drop out before the conversion, so a huge angle never overflows it.
    const int forward = static_cast<int>(std::fmod(std::trunc(turns), static_cast<double>(frames)));
    return degrees < 0.0f ? frames - forward : forward;
}

void KXComponentRotationMapper::update(float dt) {
    if (m_firstUpdate && dt > 0.0f) {
        m_firstUpdate = false;
        setEnabled(true);
    }
    if (!m_enabled || m_owner == nullptr) {
        return;
    }
    if (m_owner->isSpawner()) {
        setEnabled(false);
        return;
    }
    b2Body* body = m_owner->getBody();
    const float degrees = body != nullptr ? body->GetAngle() * kDegreesPerRadian : 0.0f;
    if (m_animationNode != nullptr && m_animationNode->durationInFrames() > 0) {
        const int frame = frameForAngle(degrees, m_animationNode->durationInFrames());
        m_animationNode->showImageFrame(frame);
        if (frame != m_shownFrame) {
            m_shownFrame = frame;
            traceEvent("rotation-mapper", "frame", " frame=" + std::to_string(frame));
        }
    }
}

void KXComponentRotationMapper::ownerStateChanged() {
    if (m_owner == nullptr || m_owner->getState() != KXPObject::kStateDead) {
        return;
    }
    m_enabled = false;
    KXPObjectAsset* asset = assetOwner();
    if (m_animationNode != nullptr && m_animationNode->entryCount() > 0 && asset != nullptr) {
        asset->popAnimation(3, m_animationNode, nullptr);
        m_animationNode->setVisible(false);
    }
}

void KXComponentRotationMapper::reset() {
    if (m_owner != nullptr) {
        m_owner->setRotation(0.0f);
    }
}
