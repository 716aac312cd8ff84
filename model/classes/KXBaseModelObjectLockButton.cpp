#include "model/classes/KXBaseModelObjectLockButton.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kImageSelected = "Image Selected";
constexpr const char* kAction = "Action";
constexpr const char* kLockedImage = "Locked Image";
constexpr const char* kLockedImageSelected = "Locked Image Selected";
constexpr const char* kUnlock = "Unlock";
constexpr const char* kPrice = "Price";
constexpr const char* kStoreIdentifier = "Store Identifier";
constexpr const char* kDestination = "Destination";
constexpr const char* kWorld = "World";
constexpr const char* kScene = "Scene";
constexpr const char* kAutoFollow = "Auto Follow";
constexpr const char* kAutoLock = "Auto Lock";
} // namespace

KXBaseModelObjectLockButton::KXBaseModelObjectLockButton(const std::string& name)
    : KXModelObjectButton(name), m_lockedImage(new KXAttributeSprite(kLockedImage, nullptr, 0)),
      m_lockedImageSelected(new KXAttributeSprite(kLockedImageSelected, nullptr, 0)),
      m_unlock(new KXAttributeStringList(kUnlock, nullptr)),
      m_price(new KXAttributeFloat(kPrice, nullptr, 0)),
      m_storeIdentifier(new KXAttributeString(kStoreIdentifier, nullptr)),
      m_destination(new KXAttributeStringList(kDestination, nullptr)),
      m_world(new KXAttributeStringList(kWorld, nullptr)),
      m_scene(new KXAttributeStringList(kScene, nullptr)),
      m_autoFollow(new KXAttributeBool(kAutoFollow, nullptr)),
      m_autoLock(new KXAttributeBool(kAutoLock, nullptr)) {
    insertAfter(m_lockedImage, attribute(kImageSelected));
    insertAfter(m_lockedImageSelected, m_lockedImage);
    insertAfter(m_unlock, attribute(kAction));
    insertAfter(m_price, m_unlock);
    insertAfter(m_storeIdentifier, m_price);
    insertAfter(m_destination, m_storeIdentifier);
    insertAfter(m_world, m_destination);
    insertAfter(m_scene, m_world);
    insertAfter(m_autoFollow, m_scene);
    insertAfter(m_autoLock, m_autoFollow);
}

KXBaseModelObjectLockButton::KXBaseModelObjectLockButton(const KXBaseModelObjectLockButton& source)
    : KXModelObjectButton(source), m_lockedImage(boundAttribute<KXAttributeSprite>(*this, kLockedImage)),
      m_lockedImageSelected(boundAttribute<KXAttributeSprite>(*this, kLockedImageSelected)),
      m_unlock(boundAttribute<KXAttributeStringList>(*this, kUnlock)),
      m_price(boundAttribute<KXAttributeFloat>(*this, kPrice)),
      m_storeIdentifier(boundAttribute<KXAttributeString>(*this, kStoreIdentifier)),
      m_destination(boundAttribute<KXAttributeStringList>(*this, kDestination)),
      m_world(boundAttribute<KXAttributeStringList>(*this, kWorld)),
      m_scene(boundAttribute<KXAttributeStringList>(*this, kScene)),
      m_autoFollow(boundAttribute<KXAttributeBool>(*this, kAutoFollow)),
      m_autoLock(boundAttribute<KXAttributeBool>(*this, kAutoLock)) {}

void KXBaseModelObjectLockButton::insertAfter(KXBaseAttribute* inserted, const KXBaseAttribute* previous) {
    const int index = previous != nullptr ? attributeIndex(previous) : -1;
    insertAttribute(inserted, index < 0 ? -1 : index + 1);
}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelObjectLockButton::lockedImage() const {
    return attributeValue(m_lockedImage);
}
std::shared_ptr<KXModelSpriteContainer> KXBaseModelObjectLockButton::lockedImageSelected() const {
    return attributeValue(m_lockedImageSelected);
}
const std::string& KXBaseModelObjectLockButton::unlock() const {
    return attributeText(m_unlock);
}
float KXBaseModelObjectLockButton::price() const {
    return attributeValue(m_price);
}
const std::string& KXBaseModelObjectLockButton::storeIdentifier() const {
    return attributeText(m_storeIdentifier);
}
const std::string& KXBaseModelObjectLockButton::destination() const {
    return attributeText(m_destination);
}
const std::string& KXBaseModelObjectLockButton::world() const {
    return attributeText(m_world);
}
const std::string& KXBaseModelObjectLockButton::scene() const {
    return attributeText(m_scene);
}
uint32_t KXBaseModelObjectLockButton::sceneValue() const {
    return leadingId(scene());
}
bool KXBaseModelObjectLockButton::autoFollow() const {
    return attributeValue(m_autoFollow);
}
bool KXBaseModelObjectLockButton::autoLock() const {
    return attributeValue(m_autoLock);
}
