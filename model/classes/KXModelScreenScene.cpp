#include "model/classes/KXModelScreenScene.h"

std::shared_ptr<KXModel> KXModelScreenScene::create() {
    return KXModel::makeShared<KXModelScreenScene>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelScreenScene::createCopy(const KXModelScreenScene& source) {
    return KXModel::makeShared<KXModelScreenScene>(source);
}

KXModelScreenScene::KXModelScreenScene(const std::string& name) : KXBaseModelScreenScene(name) {}

KXModelScreenScene::KXModelScreenScene(const KXModelScreenScene& source) : KXBaseModelScreenScene(source) {}

std::shared_ptr<KXModel> KXModelScreenScene::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
