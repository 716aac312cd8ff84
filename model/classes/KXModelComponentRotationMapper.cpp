#include "model/classes/KXModelComponentRotationMapper.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kAnimation = "Animation";
} // namespace

KXModelComponentRotationMapper::KXModelComponentRotationMapper(const std::string& name)
    : KXModelComponent(name), m_animation(new KXAttributeAnimation(kAnimation, this, 0)) {}

KXModelComponentRotationMapper::KXModelComponentRotationMapper(const KXModelComponentRotationMapper& source)
    : KXModelComponent(source), m_animation(boundAttribute<KXAttributeAnimation>(*this, kAnimation)) {}

std::shared_ptr<KXModelAnimation> KXModelComponentRotationMapper::animation() const {
    return attributeValue(m_animation);
}
