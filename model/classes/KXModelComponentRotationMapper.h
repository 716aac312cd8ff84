#pragma once

#include "model/classes/KXModelComponent.h"
#include "model/references/KXAttributeAnimation.h"

#include <memory>
#include <string>

// Names the animation whose frames follow a body's angle. Shows nothing itself.
class KXModelComponentRotationMapper : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentRotationMapper, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentRotationMapper)
    KX_MODEL_CLONE(KXModelComponentRotationMapper)

public:
    static constexpr const char* kDefaultObjectName = "Rotation Mapper";

    explicit KXModelComponentRotationMapper(const std::string& name);
    KXModelComponentRotationMapper(const KXModelComponentRotationMapper& source);

    std::shared_ptr<KXModelAnimation> animation() const;

private:
    KXAttributeAnimation* m_animation = nullptr;
};
