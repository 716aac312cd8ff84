#include "model/classes/KXModelObject.h"

std::shared_ptr<KXModel> KXModelObject::create() {
    return KXModel::makeShared<KXModelObject>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObject::createCopy(const KXModelObject& source) {
    return KXModel::makeShared<KXModelObject>(source);
}

KXModelObject::KXModelObject(const std::string& name) : KXBaseModelObject(name) {}

KXModelObject::KXModelObject(const KXModelObject& source) : KXBaseModelObject(source) {}

std::shared_ptr<KXModel> KXModelObject::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
