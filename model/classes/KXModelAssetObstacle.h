#pragma once

#include "model/classes/KXBaseModelAssetObstacle.h"

#include <memory>
#include <string>

class KXModelAssetObstacle : public KXBaseModelAssetObstacle {
    KX_MODEL_IDENTITY(KXModelAssetObstacle, KXBaseModelAssetObstacle)
    KX_MODEL_CREATE(KXModelAssetObstacle)
    KX_MODEL_CLONE(KXModelAssetObstacle)

public:
    static constexpr const char* kDefaultObjectName = "Obstacle";

    explicit KXModelAssetObstacle(const std::string& name);
    KXModelAssetObstacle(const KXModelAssetObstacle& source);
};
