#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelObject.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// An image that scrolls behind the game field at its own speed.
class KXModelObjectBackground : public KXModelObject {
    KX_MODEL_IDENTITY(KXModelObjectBackground, KXModelObject)
    KX_MODEL_CREATE(KXModelObjectBackground)
    KX_MODEL_CLONE(KXModelObjectBackground)

public:
    static constexpr const char* kDefaultObjectName = "Untitled";

    explicit KXModelObjectBackground(const std::string& name);
    KXModelObjectBackground(const KXModelObjectBackground& source);

    // The sprites of "Image".
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    std::shared_ptr<KXModelSpriteContainer> image() const;
    float speed() const;
    float tilingOffset() const;
    bool fixedRotation() const;

private:
    KXAttributeSprite* m_image = nullptr;
    KXAttributeFloat* m_speed = nullptr;
    KXAttributeFloat* m_tilingOffset = nullptr;
    KXAttributeBool* m_fixedRotation = nullptr;
};
