#include "model/classes/KXModelObjectAssetUnit.h"

KXModelObjectAssetUnit::KXModelObjectAssetUnit(const std::string& name) : KXBaseModelObjectAssetUnit(name) {}

KXModelObjectAssetUnit::KXModelObjectAssetUnit(const KXModelObjectAssetUnit& source)
    : KXBaseModelObjectAssetUnit(source) {}
