#include "model/classes/KXModelObjectBackground.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kImage = "Image";
constexpr const char* kSpeed = "Speed";
constexpr const char* kTilingOffset = "Tiling Offset";
constexpr const char* kFixedRotation = "Fixed Rotation";
} // namespace

KXModelObjectBackground::KXModelObjectBackground(const std::string& name)
    : KXModelObject(name), m_image(new KXAttributeSprite(kImage, this, 0)),
      m_speed(new KXAttributeFloat(kSpeed, this, 0)),
      m_tilingOffset(new KXAttributeFloat(kTilingOffset, this, 0)),
      m_fixedRotation(new KXAttributeBool(kFixedRotation, this)) {}

KXModelObjectBackground::KXModelObjectBackground(const KXModelObjectBackground& source)
    : KXModelObject(source), m_image(boundAttribute<KXAttributeSprite>(*this, kImage)),
      m_speed(boundAttribute<KXAttributeFloat>(*this, kSpeed)),
      m_tilingOffset(boundAttribute<KXAttributeFloat>(*this, kTilingOffset)),
      m_fixedRotation(boundAttribute<KXAttributeBool>(*this, kFixedRotation)) {}

std::shared_ptr<KXModelSpriteContainer> KXModelObjectBackground::spriteContainer() const {
    return image();
}

std::shared_ptr<KXModelSpriteContainer> KXModelObjectBackground::image() const {
    return attributeValue(m_image);
}
float KXModelObjectBackground::speed() const {
    return attributeValue(m_speed);
}
float KXModelObjectBackground::tilingOffset() const {
    return attributeValue(m_tilingOffset);
}
bool KXModelObjectBackground::fixedRotation() const {
    return attributeValue(m_fixedRotation);
}
