#include "model/classes/KXModelAsset.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXBaseModelSpriteContainer.h"
#include "model/classes/KXModelPolygon.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeShape.h"

using namespace cocos2d;

KXModelAsset::KXModelAsset(const std::string& name) : KXModelCompound(name) {
    m_collisionShape = new KXAttributeShape("Collision Shape", this);
}

KXModelAsset::KXModelAsset(const KXModelAsset& source) : KXModelCompound(source) {
    m_collisionShape = boundAttribute<KXAttributeShape>(*this, "Collision Shape");
}

std::shared_ptr<KXModelSpriteContainer> KXModelAsset::spriteContainer() const {
    return nullptr;
}

std::shared_ptr<KXModelPolygon> KXModelAsset::collisionShape() const {
    return m_collisionShape != nullptr ? m_collisionShape->value() : nullptr;
}

void KXModelAsset::setCollisionBox(const CCSize& size, const CCPoint& offset) {
    if (m_collisionShape == nullptr) {
        return;
    }
    std::shared_ptr<KXModelPolygon> polygon = m_collisionShape->value();
    if (!polygon) {
        polygon = createModel<KXModelPolygon>();
        m_collisionShape->setValue(polygon, false);
    }
    polygon->setBox(size, offset, false);
}

void KXModelAsset::setCollisionBoxFromSprite(const KXBaseModelSpriteContainer& container) {
    setCollisionBox(container.frameSizeAt(0.0f), container.offset());
}

bool KXModelAsset::isCollisionShapeUsable(float scaleX, float scaleY) const {
    const std::shared_ptr<KXModelPolygon> polygon = collisionShape();
    if (!polygon || polygon->isEmpty()) {
        return false;
    }
    return polygon->isValidShape(scaleX, scaleY);
}
