#pragma once

#include "model/classes/KXBaseModelObjectImage.h"

#include <memory>
#include <string>

class KXModelObjectImage : public KXBaseModelObjectImage {
    KX_MODEL_IDENTITY(KXModelObjectImage, KXBaseModelObjectImage)
    KX_MODEL_CREATE(KXModelObjectImage)
    KX_MODEL_CLONE(KXModelObjectImage)

public:
    static constexpr const char* kDefaultObjectName = "Image";

    explicit KXModelObjectImage(const std::string& name);
    KXModelObjectImage(const KXModelObjectImage& source);
};
