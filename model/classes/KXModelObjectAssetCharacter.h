#pragma once

#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>

// A placed character: an object asset whose asset is a character asset.
class KXModelObjectAssetCharacter : public KXModelObjectAsset {
    KX_MODEL_IDENTITY(KXModelObjectAssetCharacter, KXModelObjectAsset)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectAssetCharacter& source);

    explicit KXModelObjectAssetCharacter(const std::string& name);
    KXModelObjectAssetCharacter(const KXModelObjectAssetCharacter& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

    // The asset when it is exactly a character asset, else empty.
    std::shared_ptr<KXModelAssetCharacter> characterAsset() const;
};
