#include "model/classes/KXModelScreen.h"

std::shared_ptr<KXModel> KXModelScreen::create() {
    return KXModel::makeShared<KXModelScreen>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelScreen::createCopy(const KXModelScreen& source) {
    return KXModel::makeShared<KXModelScreen>(source);
}

KXModelScreen::KXModelScreen(const std::string& name) : KXBaseModelScreen(name) {}

KXModelScreen::KXModelScreen(const KXModelScreen& source) : KXBaseModelScreen(source) {}

std::shared_ptr<KXModel> KXModelScreen::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
