#pragma once

#include "model/classes/KXBaseModelAssetObstacle.h"

#include <memory>
#include <string>

class KXModelAssetObstacle : public KXBaseModelAssetObstacle {
    KX_MODEL_IDENTITY(KXModelAssetObstacle, KXBaseModelAssetObstacle)

public:
    static constexpr const char* kDefaultObjectName = "Obstacle";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelAssetObstacle& source);

    explicit KXModelAssetObstacle(const std::string& name);
    KXModelAssetObstacle(const KXModelAssetObstacle& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
