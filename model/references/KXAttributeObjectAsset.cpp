#include "model/references/KXAttributeObjectAsset.h"

KXAttributeObjectAsset::KXAttributeObjectAsset(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeModel<KXModelObjectAsset>(name, owner, flags) {}

KXAttributeObjectAsset::KXAttributeObjectAsset(const std::string& name, KXModel* owner,
                                               const KXAttributeObjectAsset& source)
    : KXBaseAttributeModel<KXModelObjectAsset>(name, owner, source) {}
