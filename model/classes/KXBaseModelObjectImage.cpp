#include "model/classes/KXBaseModelObjectImage.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/references/KXAttributeSprite.h"

namespace {
constexpr const char* kImage = "Image";
constexpr const char* kAutohide = "Autohide";
constexpr const char* kStickToEdge = "Stick To Edge";
} // namespace

KXBaseModelObjectImage::KXBaseModelObjectImage(const std::string& name)
    : KXModelObject(name), m_image(new KXAttributeSprite(kImage, this, 0)),
      m_autohide(new KXAttributeFloat(kAutohide, this)),
      m_stickToEdge(new KXAttributeBool(kStickToEdge, this)) {
    m_stickToEdge->setValue(true, true);
}

KXBaseModelObjectImage::KXBaseModelObjectImage(const KXBaseModelObjectImage& source)
    : KXModelObject(source), m_image(attributeOfClass<KXAttributeSprite>(*this, kImage)),
      m_autohide(boundAttribute<KXAttributeFloat>(*this, kAutohide)),
      m_stickToEdge(boundAttribute<KXAttributeBool>(*this, kStickToEdge)) {}

KXBaseModelObjectImage::~KXBaseModelObjectImage() = default;

void KXBaseModelObjectImage::attributeChanged(KXBaseAttribute* attribute, int flag) {
    KXModelObject::attributeChanged(attribute, flag);
    if (attribute == nullptr || attribute != static_cast<KXBaseAttribute*>(nameAttribute())) {
        return;
    }
    if (std::shared_ptr<KXModelSpriteContainer> sprite = image()) {
        sprite->setName(name());
    }
}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelObjectImage::spriteContainer() const {
    return image();
}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelObjectImage::image() const {
    return attributeValue(m_image);
}

void KXBaseModelObjectImage::setImage(const std::shared_ptr<KXModelSpriteContainer>& sprite) {
    if (m_image != nullptr) {
        m_image->setValue(sprite, false);
    }
}

float KXBaseModelObjectImage::autohide() const {
    return attributeValue(m_autohide);
}

bool KXBaseModelObjectImage::stickToEdge() const {
    return attributeValue(m_stickToEdge);
}

void KXBaseModelObjectImage::setStickToEdge(bool stick) {
    if (m_stickToEdge != nullptr) {
        m_stickToEdge->setValue(stick, false);
    }
}

void KXBaseModelObjectImage::bindImageAttribute(const char* storedName) {
    m_image = boundAttribute<KXAttributeSprite>(*this, storedName);
}
