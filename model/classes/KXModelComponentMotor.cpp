#include "model/classes/KXModelComponentMotor.h"

std::shared_ptr<KXModel> KXModelComponentMotor::create() {
    return KXModel::makeShared<KXModelComponentMotor>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelComponentMotor::createCopy(const KXModelComponentMotor& source) {
    return KXModel::makeShared<KXModelComponentMotor>(source);
}

KXModelComponentMotor::KXModelComponentMotor(const std::string& name) : KXBaseModelComponentMotor(name) {}

KXModelComponentMotor::KXModelComponentMotor(const KXModelComponentMotor& source)
    : KXBaseModelComponentMotor(source) {}

std::shared_ptr<KXModel> KXModelComponentMotor::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
