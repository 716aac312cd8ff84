#include "model/classes/KXModelAssetObstacle.h"

std::shared_ptr<KXModel> KXModelAssetObstacle::create() {
    return KXModel::makeShared<KXModelAssetObstacle>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelAssetObstacle::createCopy(const KXModelAssetObstacle& source) {
    return KXModel::makeShared<KXModelAssetObstacle>(source);
}

KXModelAssetObstacle::KXModelAssetObstacle(const std::string& name) : KXBaseModelAssetObstacle(name) {}

KXModelAssetObstacle::KXModelAssetObstacle(const KXModelAssetObstacle& source)
    : KXBaseModelAssetObstacle(source) {}

std::shared_ptr<KXModel> KXModelAssetObstacle::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
