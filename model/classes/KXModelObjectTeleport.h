#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// Sends what touches it to a partner portal of the same group. Clones share
// their source's polygon.
class KXModelObjectTeleport : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectTeleport, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectTeleport)
    KX_MODEL_CLONE(KXModelObjectTeleport)

public:
    static constexpr const char* kDefaultObjectName = "Portal";

    explicit KXModelObjectTeleport(const std::string& name);
    KXModelObjectTeleport(const KXModelObjectTeleport& source);

    // Its own 60 x 60 box, never the asset's.
    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    cocos2d::CCSize contentSize(float time) const override;

    float groupId() const;
    bool deleteInputObject() const;
    bool singleUse() const;
    bool exitOnly() const;
    float searchRadius() const;

private:
    std::shared_ptr<KXModelPolygon> m_shape;
    KXAttributeFloat* m_groupId = nullptr;
    KXAttributeBool* m_deleteInputObject = nullptr;
    KXAttributeBool* m_singleUse = nullptr;
    KXAttributeBool* m_exitOnly = nullptr;
    KXAttributeFloat* m_searchRadius = nullptr;
};
