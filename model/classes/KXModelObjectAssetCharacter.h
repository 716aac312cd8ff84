#pragma once

#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>

// A placed character: an object asset whose asset is a character asset.
class KXModelObjectAssetCharacter : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectAssetCharacter, KXModelObjectAsset)
    KX_MODEL_CREATE(KXModelObjectAssetCharacter)
    KX_MODEL_CLONE(KXModelObjectAssetCharacter)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectAssetCharacter(const std::string& name);
    KXModelObjectAssetCharacter(const KXModelObjectAssetCharacter& source);

    // The asset when it is exactly a character asset, else empty.
    std::shared_ptr<KXModelAssetCharacter> characterAsset() const;
};
