#include "model/classes/KXModelObjectSwipeControl.h"

std::shared_ptr<KXModel> KXModelObjectSwipeControl::create() {
    return KXModel::makeShared<KXModelObjectSwipeControl>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectSwipeControl::createCopy(const KXModelObjectSwipeControl& source) {
    return KXModel::makeShared<KXModelObjectSwipeControl>(source);
}

KXModelObjectSwipeControl::KXModelObjectSwipeControl(const std::string& name) : KXModelObject(name) {}

KXModelObjectSwipeControl::KXModelObjectSwipeControl(const KXModelObjectSwipeControl& source)
    : KXModelObject(source) {}

std::shared_ptr<KXModel> KXModelObjectSwipeControl::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
