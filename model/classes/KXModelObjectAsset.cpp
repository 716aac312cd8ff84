#include "model/classes/KXModelObjectAsset.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSpriteContainer.h"

namespace {
constexpr const char* kAsset = "Asset";
} // namespace

KXModelObjectAsset::KXModelObjectAsset(const std::string& name)
    : KXModelObject(name), m_asset(new KXAttributeAsset(kAsset, this, 0)) {}

KXModelObjectAsset::KXModelObjectAsset(const KXModelObjectAsset& source) : KXModelObject(source) {
    m_asset = boundAttribute<KXAttributeAsset>(*this, kAsset);
}

std::shared_ptr<KXModelAsset> KXModelObjectAsset::asset() const {
    return m_asset != nullptr ? m_asset->value() : nullptr;
}

void KXModelObjectAsset::setAsset(const std::shared_ptr<KXModelAsset>& asset, bool silent) {
    if (m_asset != nullptr) {
        m_asset->setValue(asset, silent);
    }
}

std::shared_ptr<KXModelSpriteContainer> KXModelObjectAsset::spriteContainer() const {
    const std::shared_ptr<KXModelAsset> shown = asset();
    return shown ? shown->spriteContainer() : nullptr;
}

std::shared_ptr<KXModelPolygon> KXModelObjectAsset::collisionShape() const {
    const std::shared_ptr<KXModelAsset> shown = asset();
    return shown ? shown->collisionShape() : nullptr;
}

std::shared_ptr<KXModelSound> KXModelObjectAsset::idleSound() const {
    return nullptr;
}

bool KXModelObjectAsset::hasValidCollisionShape() const {
    const std::shared_ptr<KXModelAsset> shown = asset();
    if (!shown) {
        return false;
    }
    const cocos2d::CCPoint scale = animatedScale(0.0f, 0);
    return shown->isCollisionShapeUsable(scale.x, scale.y);
}
