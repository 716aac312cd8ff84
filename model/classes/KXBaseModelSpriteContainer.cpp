#include "model/classes/KXBaseModelSpriteContainer.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelSprite.h"

#include "cocos2d.h"
#include <cmath>

using namespace cocos2d;

namespace {

const KXModelSprite& spriteAt(const KXChildSubset::List& sprites, size_t index) {
    return static_cast<const KXModelSprite&>(*sprites[index]);
}

bool isPositiveFinite(double value) {
    return std::isfinite(value) && value > 0.0;
}

} // namespace

KXBaseModelSpriteContainer::KXBaseModelSpriteContainer(const std::string& name) : KXModel(name) {
    KXAttributeFloat* speed = new KXAttributeFloat("Animation Speed", this);
    speed->setValue(1.0f, true);
    new KXAttributeFloat("Duration", this);
    new KXAttributeBool("Excluded From Atlas", this);
    bindAttributes();
}

KXBaseModelSpriteContainer::KXBaseModelSpriteContainer(const KXBaseModelSpriteContainer& source)
    : KXModel(source), m_offset(source.m_offset) {
    bindAttributes();
}

void KXBaseModelSpriteContainer::bindAttributes() {
    m_animationSpeed = boundAttribute<KXAttributeFloat>(*this, "Animation Speed");
    m_duration = boundAttribute<KXAttributeFloat>(*this, "Duration");
    m_excludedFromAtlas = boundAttribute<KXAttributeBool>(*this, "Excluded From Atlas");
}

void KXBaseModelSpriteContainer::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModel::childAdded(child);
    if (modelCast<KXModelSprite>(child)) {
        m_sprites.add(child);
    }
}

void KXBaseModelSpriteContainer::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModel::childRemoved(child);
    if (modelCast<KXModelSprite>(child)) {
        m_sprites.removeFirst(child);
    }
}

void KXBaseModelSpriteContainer::allChildrenRemoved() {
    KXModel::allChildrenRemoved();
    m_sprites.clear();
}

float KXBaseModelSpriteContainer::animationSpeed() const {
    return attributeValue(m_animationSpeed);
}

CCSprite* KXBaseModelSpriteContainer::getSprite(float speedFactor, bool loop) const {
    const KXChildSubset::List sprites = m_sprites.models();
    if (sprites.empty()) {
        debugLog("KXBaseModelSpriteContainer::getSprite - no sprites are contained");
        return nullptr;
    }
    CCSprite* sprite = spriteAt(sprites, 0).createSprite();
    if (sprite == nullptr) {
        debugLog("KXBaseModelSpriteContainer::getSprite - a sprite model does not contain a sprite");
        return nullptr;
    }
    sprite->retain();
    if (sprites.size() == 1) {
        return sprite;
    }

    // A speed of zero, below zero or not a number has no frame rate: the first frame stays.
    const float speed = animationSpeed();
    if (!isPositiveFinite(speedFactor) || !isPositiveFinite(speed)) {
        return sprite;
    }
    const float delay = static_cast<float>(1.0 / 30.0 / speedFactor / speed);
    if (!isPositiveFinite(delay)) {
        return sprite;
    }

    CCAnimation* animation = CCAnimation::create();
    for (size_t index = 0; index < sprites.size(); ++index) {
        animation->addSpriteFrame(spriteAt(sprites, index).spriteFrame());
    }
    animation->setDelayPerUnit(delay);
    CCAnimate* animate = CCAnimate::create(animation);
    CCAction* action = nullptr;
    if (loop) {
        action = CCRepeatForever::create(animate);
    } else {
        action = CCRepeat::create(animate, 1);
    }
    action->setTag(kAnimationActionTag);
    sprite->runAction(action);
    return sprite;
}

// The lookups below run every frame: they read the list in place, as nothing they call can
// change the container's children.
CCSpriteFrame* KXBaseModelSpriteContainer::getSpriteFrame(unsigned int index) const {
    const KXChildSubset::List& sprites = m_sprites.models();
    if (sprites.empty()) {
        debugLog("KXBaseModelSpriteContainer::getSpriteFrame - no sprites are contained");
        return nullptr;
    }
    if (index >= sprites.size()) {
        index %= sprites.size();
    }
    return spriteAt(sprites, index).spriteFrame();
}

CCTexture2D* KXBaseModelSpriteContainer::textureAt(unsigned int index) const {
    const KXChildSubset::List& sprites = m_sprites.models();
    if (index >= sprites.size()) {
        return nullptr;
    }
    return spriteAt(sprites, index).texture();
}

unsigned int KXBaseModelSpriteContainer::frameIndexAt(float time) const {
    const size_t count = m_sprites.size();
    if (count == 0) {
        return 0;
    }
    // A speed without a frame rate shows the first picture still (getSprite), so its size is
    // the one asked for: a negative count is not wrapped round to some other picture.
    const float speed = animationSpeed();
    if (!isPositiveFinite(speed) || !std::isfinite(time) || time < 0.0f) {
        return 0;
    }
    // Single precision, as the frame rate is applied everywhere else; a count past the
    // unsigned range stops at its largest value.
    const float frames = speed * time * kFramesPerSecond;
    return kx::truncateToUInt(frames) % count;
}

CCSize KXBaseModelSpriteContainer::frameSizeAt(float time) const {
    const KXChildSubset::List& sprites = m_sprites.models();
    if (sprites.empty()) {
        return CCSize(0.0f, 0.0f);
    }
    return spriteAt(sprites, frameIndexAt(time)).size();
}

CCSize KXBaseModelSpriteContainer::frameSourceSizeAt(float time) const {
    const KXChildSubset::List& sprites = m_sprites.models();
    if (sprites.empty()) {
        return CCSize(0.0f, 0.0f);
    }
    return spriteAt(sprites, frameIndexAt(time)).sourceSize();
}
