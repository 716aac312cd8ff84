#pragma once

#include "model/classes/KXModelCompound.h"

#include "base/CCGeometry.h"

#include <memory>
#include <string>

class KXAttributeShape;
class KXModelPolygon;
class KXModelSpriteContainer;
class KXBaseModelSpriteContainer;

// The compound at the root of a character, obstacle or powerup definition, with its
// collision shape.
class KXModelAsset : public KXModelCompound {
    KX_MODEL_IDENTITY(KXModelAsset, KXModelCompound)
    KX_MODEL_CREATE(KXModelAsset)
    KX_MODEL_CLONE(KXModelAsset)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelAsset(const std::string& name);
    KXModelAsset(const KXModelAsset& source);

    // The container that shows the asset; the plain asset has none.
    virtual std::shared_ptr<KXModelSpriteContainer> spriteContainer() const;

    // Adds the four corners of a box of that size around -offset to the referenced polygon
    // (made and stored when there is none), after the points it already has.
    void setCollisionBox(const cocos2d::CCSize& size, const cocos2d::CCPoint& offset);
    // setCollisionBox with the container's frame size at time 0 and its offset.
    void setCollisionBoxFromSprite(const KXBaseModelSpriteContainer& container);
    // Whether the collision shape gives a physics shape at that scale.
    bool isCollisionShapeUsable(float scaleX, float scaleY) const;

    std::shared_ptr<KXModelPolygon> collisionShape() const;
    KXAttributeShape* collisionShapeAttribute() const { return m_collisionShape; }

private:
    KXAttributeShape* m_collisionShape = nullptr;
};
