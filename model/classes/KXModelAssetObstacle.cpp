#include "model/classes/KXModelAssetObstacle.h"

KXModelAssetObstacle::KXModelAssetObstacle(const std::string& name) : KXBaseModelAssetObstacle(name) {}

KXModelAssetObstacle::KXModelAssetObstacle(const KXModelAssetObstacle& source)
    : KXBaseModelAssetObstacle(source) {}
