#include "model/references/KXAttributeAsset.h"

KXAttributeAsset::KXAttributeAsset(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeModel<KXModelAsset>(name, owner, flags) {}

KXAttributeAsset::KXAttributeAsset(const std::string& name, KXModel* owner, const KXAttributeAsset& source)
    : KXBaseAttributeModel<KXModelAsset>(name, owner, source) {}
