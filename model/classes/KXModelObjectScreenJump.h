#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// A placed object of the game field that leads to another screen.
class KXModelObjectScreenJump : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectScreenJump, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectScreenJump)
    KX_MODEL_CLONE(KXModelObjectScreenJump)

public:
    static constexpr const char* kDefaultObjectName = "Menu Jump";

    explicit KXModelObjectScreenJump(const std::string& name);
    KXModelObjectScreenJump(const KXModelObjectScreenJump& source);

    // Its own 60 x 60 box, never the asset's.
    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    cocos2d::CCSize contentSize(float time) const override;

    const std::string& function() const;
    bool pauseCurrentWorld() const;

private:
    std::shared_ptr<KXModelPolygon> m_shape;
    KXAttributeStringList* m_function = nullptr;
    KXAttributeBool* m_pauseCurrentWorld = nullptr;
};
