#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// On a game scene's model: the distances behind and beside the view at which objects go.
class KXModelComponentDeletionThreshold : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentDeletionThreshold, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentDeletionThreshold)
    KX_MODEL_CLONE(KXModelComponentDeletionThreshold)

public:
    static constexpr const char* kDefaultObjectName = "Object Deletion Threshold";

    explicit KXModelComponentDeletionThreshold(const std::string& name);
    KXModelComponentDeletionThreshold(const KXModelComponentDeletionThreshold& source);

    float backDeletionThreshold() const;
    float sidesDeletionThreshold() const;

private:
    KXAttributeFloat* m_backDeletionThreshold = nullptr;
    KXAttributeFloat* m_sidesDeletionThreshold = nullptr;
};
