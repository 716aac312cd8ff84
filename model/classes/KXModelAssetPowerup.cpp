#include "model/classes/KXModelAssetPowerup.h"

KXModelAssetPowerup::KXModelAssetPowerup(const std::string& name) : KXBaseModelAssetPowerup(name) {}

KXModelAssetPowerup::KXModelAssetPowerup(const KXModelAssetPowerup& source)
    : KXBaseModelAssetPowerup(source) {}
