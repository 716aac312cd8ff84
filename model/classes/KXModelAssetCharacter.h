#pragma once

#include "model/classes/KXBaseModelAssetCharacter.h"

#include <memory>
#include <string>

class KXModelAssetCharacter : public KXBaseModelAssetCharacter {
    KX_MODEL_IDENTITY(KXModelAssetCharacter, KXBaseModelAssetCharacter)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelAssetCharacter& source);

    explicit KXModelAssetCharacter(const std::string& name);
    KXModelAssetCharacter(const KXModelAssetCharacter& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};

// How long the game field waits after the character at `characterIndex` (among the stored
// character assets, in store order) is defeated: the larger of its "Game Over Delay" and
// "Camera Flash". An index outside the list, negative ones included, gives 1.0.
float characterGameOverDelay(int characterIndex);
