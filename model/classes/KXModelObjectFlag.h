#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// A waving flag: a textured strip with its own small collision box.
class KXModelObjectFlag : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectFlag, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectFlag)
    KX_MODEL_CLONE(KXModelObjectFlag)

public:
    static constexpr const char* kDefaultObjectName = "Flag";

    explicit KXModelObjectFlag(const std::string& name);
    KXModelObjectFlag(const KXModelObjectFlag& source);

    // Its own 10 x 10 box, never the asset's.
    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    cocos2d::CCSize contentSize(float time) const override;

    std::shared_ptr<KXModelSpriteContainer> texture() const;
    float startWidth() const;
    float endWidth() const;
    float speed() const;
    float length() const;
    float waveHeight() const;
    float waveLength() const;

private:
    std::shared_ptr<KXModelPolygon> m_shape;
    KXAttributeSprite* m_texture = nullptr;
    KXAttributeFloat* m_startWidth = nullptr;
    KXAttributeFloat* m_endWidth = nullptr;
    KXAttributeFloat* m_speed = nullptr;
    KXAttributeFloat* m_length = nullptr;
    KXAttributeFloat* m_waveHeight = nullptr;
    KXAttributeFloat* m_waveLength = nullptr;
};
