#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// A zone that lets a number of objects pass.
class KXModelObjectGatekeeper : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectGatekeeper, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectGatekeeper)
    KX_MODEL_CLONE(KXModelObjectGatekeeper)

public:
    static constexpr const char* kDefaultObjectName = "Gatekeeper";

    explicit KXModelObjectGatekeeper(const std::string& name);
    KXModelObjectGatekeeper(const KXModelObjectGatekeeper& source);

    // Its own 60 x 60 box, never the asset's.
    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    cocos2d::CCSize contentSize(float time) const override;

    float passedAmount() const;

private:
    std::shared_ptr<KXModelPolygon> m_shape;
    KXAttributeFloat* m_passedAmount = nullptr;
};
