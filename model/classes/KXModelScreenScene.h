#pragma once

#include "model/classes/KXBaseModelScreenScene.h"

#include <memory>
#include <string>

class KXModelScreenScene : public KXBaseModelScreenScene {
    KX_MODEL_IDENTITY(KXModelScreenScene, KXBaseModelScreenScene)
    KX_MODEL_CREATE(KXModelScreenScene)
    KX_MODEL_CLONE(KXModelScreenScene)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelScreenScene(const std::string& name);
    KXModelScreenScene(const KXModelScreenScene& source);
};
