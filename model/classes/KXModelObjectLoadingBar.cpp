#include "model/classes/KXModelObjectLoadingBar.h"

std::shared_ptr<KXModel> KXModelObjectLoadingBar::create() {
    return KXModel::makeShared<KXModelObjectLoadingBar>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectLoadingBar::createCopy(const KXModelObjectLoadingBar& source) {
    return KXModel::makeShared<KXModelObjectLoadingBar>(source);
}

KXModelObjectLoadingBar::KXModelObjectLoadingBar(const std::string& name) : KXModelObject(name) {}

KXModelObjectLoadingBar::KXModelObjectLoadingBar(const KXModelObjectLoadingBar& source)
    : KXModelObject(source) {}

std::shared_ptr<KXModel> KXModelObjectLoadingBar::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
