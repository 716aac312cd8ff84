#pragma once

#include "model/classes/KXBaseModelComponentCharacterGameplaySettings.h"

#include <memory>
#include <string>

class KXModelComponentCharacterGameplaySettings : public KXBaseModelComponentCharacterGameplaySettings {
    KX_MODEL_IDENTITY(KXModelComponentCharacterGameplaySettings,
                      KXBaseModelComponentCharacterGameplaySettings)
    KX_MODEL_CREATE(KXModelComponentCharacterGameplaySettings)
    KX_MODEL_CLONE(KXModelComponentCharacterGameplaySettings)

public:
    static constexpr const char* kDefaultObjectName = "Character Gameplay Settings";

    explicit KXModelComponentCharacterGameplaySettings(const std::string& name);
    KXModelComponentCharacterGameplaySettings(const KXModelComponentCharacterGameplaySettings& source);
};
