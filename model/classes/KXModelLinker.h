#pragma once

#include "model/classes/KXBaseModelLinker.h"

#include <memory>
#include <string>

class KXModelLinker : public KXBaseModelLinker {
    KX_MODEL_IDENTITY(KXModelLinker, KXBaseModelLinker)
    KX_MODEL_CREATE(KXModelLinker)
    KX_MODEL_CLONE(KXModelLinker)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelLinker(const std::string& name);
    KXModelLinker(const KXModelLinker& source);
};
