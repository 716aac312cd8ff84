#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// On a game scene's model: the distances behind and beside the view at which objects go.
class KXModelComponentDeletionThreshold : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentDeletionThreshold, KXModelComponent)

public:
    static constexpr const char* kDefaultObjectName = "Object Deletion Threshold";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentDeletionThreshold& source);

    explicit KXModelComponentDeletionThreshold(const std::string& name);
    KXModelComponentDeletionThreshold(const KXModelComponentDeletionThreshold& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

    float backDeletionThreshold() const;
    float sidesDeletionThreshold() const;

private:
    KXAttributeFloat* m_backDeletionThreshold = nullptr;
    KXAttributeFloat* m_sidesDeletionThreshold = nullptr;
};
