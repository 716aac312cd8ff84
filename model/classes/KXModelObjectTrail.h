#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// A textured ribbon with start and end widths and a wave.
class KXModelObjectTrail : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectTrail, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectTrail)
    KX_MODEL_CLONE(KXModelObjectTrail)

public:
    static constexpr const char* kDefaultObjectName = "Trail";

    explicit KXModelObjectTrail(const std::string& name);
    KXModelObjectTrail(const KXModelObjectTrail& source);

    // Its own 10 x 10 box, never the asset's.
    std::shared_ptr<KXModelPolygon> collisionShape() const override;

    std::shared_ptr<KXModelSpriteContainer> texture() const;
    float startWidth() const;
    float endWidth() const;
    float speed() const;
    float length() const;
    float waveHeight() const;
    float waveLength() const;

private:
    KXAttributeSprite* m_texture = nullptr;
    KXAttributeFloat* m_startWidth = nullptr;
    KXAttributeFloat* m_endWidth = nullptr;
    KXAttributeFloat* m_speed = nullptr;
    KXAttributeFloat* m_length = nullptr;
    KXAttributeFloat* m_waveHeight = nullptr;
    KXAttributeFloat* m_waveLength = nullptr;
    std::shared_ptr<KXModelPolygon> m_shape;
};
