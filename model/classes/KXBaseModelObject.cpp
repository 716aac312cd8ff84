#include "model/classes/KXBaseModelObject.h"

#include "cocos2d.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelSpriteContainer.h"

using namespace cocos2d;

namespace {

constexpr float kDefaultContentExtent = 100.0f;

// One axis of the screen adaptation: far-edge values keep their distance from the far visible
// edge, near-edge values from the near one.
float adjustAxis(float value, float designExtent, float visibleExtent, float visibleOrigin) {
    const double design = designExtent;
    if (value > 0.7 * design) {
        return visibleOrigin + visibleExtent - (designExtent - value);
    }
    if (value < 0.3 * design) {
        return value + visibleOrigin;
    }
    return value;
}

} // namespace

KXBaseModelObject::KXBaseModelObject(const std::string& name) : KXModelCompound(name) {
    m_position = new KXAttributePoint("Position", this);
    m_rotation = new KXAttributeFloat("Rotation", this);
    m_scale = new KXAttributePoint("Scale", this);
    m_opacity = new KXAttributeFloat("Opacity", this);
    m_zDepth = new KXAttributeInt("Z Depth", this);
    m_hidden = new KXAttributeBool("Hidden", this);

    m_scale->setValue(CCPoint(1.0f, 1.0f), true);
    m_opacity->setValue(1.0f, true);
}

KXBaseModelObject::KXBaseModelObject(const KXBaseModelObject& source)
    : KXModelCompound(source), m_position(boundAttribute<KXAttributePoint>(*this, "Position")),
      m_rotation(boundAttribute<KXAttributeFloat>(*this, "Rotation")),
      m_scale(boundAttribute<KXAttributePoint>(*this, "Scale")),
      m_opacity(boundAttribute<KXAttributeFloat>(*this, "Opacity")),
      m_zDepth(boundAttribute<KXAttributeInt>(*this, "Z Depth")),
      m_hidden(boundAttribute<KXAttributeBool>(*this, "Hidden")) {}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelObject::spriteContainer() const {
    return nullptr;
}

std::shared_ptr<KXModelPolygon> KXBaseModelObject::collisionShape() const {
    return nullptr;
}

CCSize KXBaseModelObject::contentSize(float time) const {
    if (std::shared_ptr<KXModelSpriteContainer> container = spriteContainer()) {
        return container->frameSourceSizeAt(time);
    }
    return CCSize(kDefaultContentExtent, kDefaultContentExtent);
}

bool KXBaseModelObject::isSpawner() const {
    return false;
}

float KXBaseModelObject::spawnRate() const {
    return 0.0f;
}

bool KXBaseModelObject::isHidden() const {
    return m_hidden != nullptr && m_hidden->value();
}

int KXBaseModelObject::zDepth() const {
    return m_zDepth != nullptr ? m_zDepth->value() : 0;
}

CCPoint KXBaseModelObject::positionVariance() const {
    return m_position != nullptr ? m_position->variableValue() : CCPoint();
}

CCPoint KXBaseModelObject::animatedPosition(float time, int key) const {
    if (m_position == nullptr) {
        return CCPoint();
    }
    const CCPoint offset = m_position->animatedValue(time, key);
    return CCPoint(m_position->value().x + offset.x, m_position->value().y + offset.y);
}

CCPoint KXBaseModelObject::animatedScale(float time, int key) const {
    if (m_scale == nullptr) {
        return CCPoint(1.0f, 1.0f);
    }
    const CCPoint offset = m_scale->animatedValue(time, key);
    return CCPoint(m_scale->value().x + offset.x, m_scale->value().y + offset.y);
}

float KXBaseModelObject::animatedRotation(float time, int key) const {
    return m_rotation != nullptr ? m_rotation->value() + m_rotation->animatedValue(time, key) : 0.0f;
}

float KXBaseModelObject::animatedOpacity(float time, int key) const {
    return m_opacity != nullptr ? m_opacity->value() + m_opacity->animatedValue(time, key) : 1.0f;
}

CCPoint KXBaseModelObject::randomizedPosition() const {
    return m_position != nullptr ? m_position->randomValue() : CCPoint();
}

float KXBaseModelObject::randomizedRotation() const {
    return m_rotation != nullptr ? m_rotation->randomValue() : 0.0f;
}

CCSize KXBaseModelObject::designSize() {
    if (KXModelGeneralSettings::shared()->orientation() == KXBaseModelGeneralSettings::OrientationLandscape) {
        return CCSize(1136.0f, 640.0f);
    }
    return CCSize(640.0f, 1136.0f);
}

CCPoint KXBaseModelObject::screenAdjustedPosition(float time, int key) const {
    const CCPoint position = animatedPosition(time, key);
    const CCSize design = designSize();
    CCDirector* director = CCDirector::sharedDirector();
    const CCSize visibleSize = director->getVisibleSize();
    const CCPoint visibleOrigin = director->getVisibleOrigin();
    return CCPoint(adjustAxis(position.x, design.width, visibleSize.width, visibleOrigin.x),
                   adjustAxis(position.y, design.height, visibleSize.height, visibleOrigin.y));
}

void KXBaseModelObject::setPosition(const CCPoint& position) {
    if (m_position != nullptr) {
        m_position->setValue(position);
    }
}

void KXBaseModelObject::setScale(const CCPoint& scale) {
    if (m_scale != nullptr) {
        m_scale->setValue(scale);
    }
}

void KXBaseModelObject::setZDepth(int depth) {
    if (m_zDepth != nullptr) {
        m_zDepth->setValue(depth);
    }
}
