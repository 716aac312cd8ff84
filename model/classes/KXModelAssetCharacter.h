#pragma once

#include "model/classes/KXBaseModelAssetCharacter.h"

#include <memory>
#include <string>

class KXModelAssetCharacter : public KXBaseModelAssetCharacter {
    KX_MODEL_IDENTITY(KXModelAssetCharacter, KXBaseModelAssetCharacter)
    KX_MODEL_CREATE(KXModelAssetCharacter)
    KX_MODEL_CLONE(KXModelAssetCharacter)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelAssetCharacter(const std::string& name);
    KXModelAssetCharacter(const KXModelAssetCharacter& source);
};

// How long the game field waits after the character at `characterIndex` (among the stored
// character assets, in store order) is defeated: the larger of its "Game Over Delay" and
// "Camera Flash". An index outside the list, negative ones included, gives 1.0.
float characterGameOverDelay(int characterIndex);
