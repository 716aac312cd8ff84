#pragma once

#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponent.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"

#include <memory>
#include <string>

// A sliding move with its own shape, animation and sound. The shape stays empty until a file
// fills it.
class KXModelComponentSlide : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentSlide, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentSlide)
    KX_MODEL_CLONE(KXModelComponentSlide)

public:
    static constexpr const char* kDefaultObjectName = "Slide";

    explicit KXModelComponentSlide(const std::string& name);
    KXModelComponentSlide(const KXModelComponentSlide& source);

    // The frames the "Animation" attribute shows.
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    std::shared_ptr<KXModelPolygon> collisionShape() const;
    std::shared_ptr<KXModelAnimation> animation() const;
    const std::string& event() const;
    std::shared_ptr<KXModelSound> slideSound() const;

private:
    KXAttributeShape* m_collisionShape = nullptr;
    KXAttributeAnimation* m_animation = nullptr;
    KXAttributeStringList* m_event = nullptr;
    KXAttributeSound* m_slideSound = nullptr;
};
