#pragma once

#include "model/classes/KXBaseModelObjectImage.h"

#include <memory>
#include <string>

class KXModelObjectImage : public KXBaseModelObjectImage {
    KX_MODEL_IDENTITY(KXModelObjectImage, KXBaseModelObjectImage)

public:
    static constexpr const char* kDefaultObjectName = "Image";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectImage& source);

    explicit KXModelObjectImage(const std::string& name);
    KXModelObjectImage(const KXModelObjectImage& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
