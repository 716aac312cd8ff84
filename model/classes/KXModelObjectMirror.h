#pragma once

#include "model/attributes/KXAttributeColor.h"
#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>

// Draws a tinted reflection. Its scale stays within [0, 40.96] on each axis.
class KXModelObjectMirror : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectMirror, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectMirror)
    KX_MODEL_CLONE(KXModelObjectMirror)

public:
    static constexpr const char* kDefaultObjectName = "Mirror";
    static constexpr float kMaximumScale = 40.96f;

    explicit KXModelObjectMirror(const std::string& name);
    // The copy gets a polygon of its own.
    KXModelObjectMirror(const KXModelObjectMirror& source);

    // Keeps "Scale" within its bounds.
    void attributeChanged(KXBaseAttribute* attribute, int flag) override;
    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    cocos2d::CCSize contentSize(float time) const override;

    // Components 0 to 255.
    cocos2d::ccColor4F color() const;

private:
    std::shared_ptr<KXModelPolygon> m_shape;
    KXAttributeColor* m_color = nullptr;
};
