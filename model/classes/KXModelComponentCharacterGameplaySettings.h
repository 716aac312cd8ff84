#pragma once

#include "model/classes/KXBaseModelComponentCharacterGameplaySettings.h"

#include <memory>
#include <string>

class KXModelComponentCharacterGameplaySettings : public KXBaseModelComponentCharacterGameplaySettings {
    KX_MODEL_IDENTITY(KXModelComponentCharacterGameplaySettings,
                      KXBaseModelComponentCharacterGameplaySettings)

public:
    static constexpr const char* kDefaultObjectName = "Character Gameplay Settings";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentCharacterGameplaySettings& source);

    explicit KXModelComponentCharacterGameplaySettings(const std::string& name);
    KXModelComponentCharacterGameplaySettings(const KXModelComponentCharacterGameplaySettings& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
