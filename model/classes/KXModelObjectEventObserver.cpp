#include "model/classes/KXModelObjectEventObserver.h"

std::shared_ptr<KXModel> KXModelObjectEventObserver::create() {
    return KXModel::makeShared<KXModelObjectEventObserver>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectEventObserver::createCopy(const KXModelObjectEventObserver& source) {
    return KXModel::makeShared<KXModelObjectEventObserver>(source);
}

KXModelObjectEventObserver::KXModelObjectEventObserver(const std::string& name)
    : KXBaseModelObjectEventObserver(name) {}

KXModelObjectEventObserver::KXModelObjectEventObserver(const KXModelObjectEventObserver& source)
    : KXBaseModelObjectEventObserver(source) {}

std::shared_ptr<KXModel> KXModelObjectEventObserver::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
