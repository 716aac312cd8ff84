#include "model/classes/KXModelComponentCharacterGameplaySettings.h"

KXModelComponentCharacterGameplaySettings::KXModelComponentCharacterGameplaySettings(const std::string& name)
    : KXBaseModelComponentCharacterGameplaySettings(name) {}

KXModelComponentCharacterGameplaySettings::KXModelComponentCharacterGameplaySettings(
    const KXModelComponentCharacterGameplaySettings& source)
    : KXBaseModelComponentCharacterGameplaySettings(source) {}
