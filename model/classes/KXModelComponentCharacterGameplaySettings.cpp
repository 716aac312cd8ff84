#include "model/classes/KXModelComponentCharacterGameplaySettings.h"

std::shared_ptr<KXModel> KXModelComponentCharacterGameplaySettings::create() {
    return KXModel::makeShared<KXModelComponentCharacterGameplaySettings>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelComponentCharacterGameplaySettings::createCopy(
    const KXModelComponentCharacterGameplaySettings& source) {
    return KXModel::makeShared<KXModelComponentCharacterGameplaySettings>(source);
}

KXModelComponentCharacterGameplaySettings::KXModelComponentCharacterGameplaySettings(const std::string& name)
    : KXBaseModelComponentCharacterGameplaySettings(name) {}

KXModelComponentCharacterGameplaySettings::KXModelComponentCharacterGameplaySettings(
    const KXModelComponentCharacterGameplaySettings& source)
    : KXBaseModelComponentCharacterGameplaySettings(source) {}

std::shared_ptr<KXModel> KXModelComponentCharacterGameplaySettings::clone(bool deep,
                                                                          bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
