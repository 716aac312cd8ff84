#include "model/classes/KXModelComponentSlide.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kCollisionShape = "Collision Shape";
constexpr const char* kAnimation = "Animation";
constexpr const char* kEvent = "Event";
constexpr const char* kSlideSound = "Slide Sound";
} // namespace

KXModelComponentSlide::KXModelComponentSlide(const std::string& name)
    : KXModelComponent(name), m_collisionShape(new KXAttributeShape(kCollisionShape, this, 0)),
      m_animation(new KXAttributeAnimation(kAnimation, this, 0)),
      m_event(new KXAttributeStringList(kEvent, this)),
      m_slideSound(new KXAttributeSound(kSlideSound, this, 0)) {}

KXModelComponentSlide::KXModelComponentSlide(const KXModelComponentSlide& source)
    : KXModelComponent(source), m_collisionShape(boundAttribute<KXAttributeShape>(*this, kCollisionShape)),
      m_animation(boundAttribute<KXAttributeAnimation>(*this, kAnimation)),
      m_event(boundAttribute<KXAttributeStringList>(*this, kEvent)),
      m_slideSound(boundAttribute<KXAttributeSound>(*this, kSlideSound)) {}

std::shared_ptr<KXModelSpriteContainer> KXModelComponentSlide::spriteContainer() const {
    return m_animation != nullptr ? m_animation->animation() : nullptr;
}

std::shared_ptr<KXModelPolygon> KXModelComponentSlide::collisionShape() const {
    return attributeValue(m_collisionShape);
}

std::shared_ptr<KXModelAnimation> KXModelComponentSlide::animation() const {
    return attributeValue(m_animation);
}

const std::string& KXModelComponentSlide::event() const {
    return attributeText(m_event);
}

std::shared_ptr<KXModelSound> KXModelComponentSlide::slideSound() const {
    return attributeValue(m_slideSound);
}
