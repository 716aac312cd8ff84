#pragma once

#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>

// A light with a radius and a colour (components 0 to 255) that may cast shadows.
class KXBaseModelObjectLight : public KXModelObjectAsset {
public:
    explicit KXBaseModelObjectLight(const std::string& name);
    // The copy gets a polygon of its own.
    KXBaseModelObjectLight(const KXBaseModelObjectLight& source);

    // Its own 10 x 10 box, never the asset's.
    std::shared_ptr<KXModelPolygon> collisionShape() const override;

    float radius() const;
    cocos2d::ccColor4F color() const;
    bool castShadow() const;

private:
    std::shared_ptr<KXModelPolygon> m_shape;
    KXAttributeFloat* m_radius = nullptr;
    KXAttributeColor* m_color = nullptr;
    KXAttributeBool* m_castShadow = nullptr;
};
