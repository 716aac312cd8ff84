#include "model/classes/KXModelObjectButtonCharacterUnlock.h"

std::shared_ptr<KXModel> KXModelObjectButtonCharacterUnlock::create() {
    return KXModel::makeShared<KXModelObjectButtonCharacterUnlock>(kDefaultObjectName);
}

std::shared_ptr<KXModel>
KXModelObjectButtonCharacterUnlock::createCopy(const KXModelObjectButtonCharacterUnlock& source) {
    return KXModel::makeShared<KXModelObjectButtonCharacterUnlock>(source);
}

KXModelObjectButtonCharacterUnlock::KXModelObjectButtonCharacterUnlock(const std::string& name)
    : KXBaseModelObjectButtonCharacterUnlock(name) {}

KXModelObjectButtonCharacterUnlock::KXModelObjectButtonCharacterUnlock(
    const KXModelObjectButtonCharacterUnlock& source)
    : KXBaseModelObjectButtonCharacterUnlock(source) {}

std::shared_ptr<KXModel> KXModelObjectButtonCharacterUnlock::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
