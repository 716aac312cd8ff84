#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// On a game scene's model: the game-speed minimum, maximum and increase.
class KXModelComponentForcedMovement : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentForcedMovement, KXModelComponent)

public:
    static constexpr const char* kDefaultObjectName = "Forced Movement";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentForcedMovement& source);

    explicit KXModelComponentForcedMovement(const std::string& name);
    KXModelComponentForcedMovement(const KXModelComponentForcedMovement& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

    float forceMin() const;
    float forceMax() const;
    float forceIncrease() const;

private:
    KXAttributeFloat* m_forceMin = nullptr;
    KXAttributeFloat* m_forceMax = nullptr;
    KXAttributeFloat* m_forceIncrease = nullptr;
};
