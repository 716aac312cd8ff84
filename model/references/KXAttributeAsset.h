#pragma once

#include "model/classes/KXModelAsset.h"
#include "model/references/KXBaseAttributeModel.h"

#include <string>

// Refers to an asset model (or a model of a class derived from it).
class KXAttributeAsset : public KXBaseAttributeModel<KXModelAsset> {
    KX_TYPE_IDENTITY(KXAttributeAsset)
    KX_ATTRIBUTE_CLONE(KXAttributeAsset)

public:
    KXAttributeAsset(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXAttributeAsset(const std::string& name, KXModel* owner, const KXAttributeAsset& source);
};
