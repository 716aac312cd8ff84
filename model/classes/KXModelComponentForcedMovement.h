#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// On a game scene's model: the game-speed minimum, maximum and increase.
class KXModelComponentForcedMovement : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentForcedMovement, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentForcedMovement)
    KX_MODEL_CLONE(KXModelComponentForcedMovement)

public:
    static constexpr const char* kDefaultObjectName = "Forced Movement";

    explicit KXModelComponentForcedMovement(const std::string& name);
    KXModelComponentForcedMovement(const KXModelComponentForcedMovement& source);

    float forceMin() const;
    float forceMax() const;
    float forceIncrease() const;

private:
    KXAttributeFloat* m_forceMin = nullptr;
    KXAttributeFloat* m_forceMax = nullptr;
    KXAttributeFloat* m_forceIncrease = nullptr;
};
