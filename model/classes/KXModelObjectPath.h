#pragma once

#include "model/classes/KXBaseModelObjectPath.h"

#include <memory>
#include <string>

class KXModelObjectPath : public KXBaseModelObjectPath {
    KX_MODEL_IDENTITY(KXModelObjectPath, KXBaseModelObjectPath)
    KX_MODEL_CREATE(KXModelObjectPath)
    KX_MODEL_CLONE(KXModelObjectPath)

public:
    static constexpr const char* kDefaultObjectName = "Path";

    explicit KXModelObjectPath(const std::string& name);
    KXModelObjectPath(const KXModelObjectPath& source);
};
