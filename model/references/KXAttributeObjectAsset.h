#pragma once

#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXBaseAttributeModel.h"

#include <string>

// Refers to a placed asset object (or a model of a class derived from it).
class KXAttributeObjectAsset : public KXBaseAttributeModel<KXModelObjectAsset> {
    KX_TYPE_IDENTITY(KXAttributeObjectAsset)
    KX_ATTRIBUTE_CLONE(KXAttributeObjectAsset)

public:
    KXAttributeObjectAsset(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXAttributeObjectAsset(const std::string& name, KXModel* owner, const KXAttributeObjectAsset& source);
};
