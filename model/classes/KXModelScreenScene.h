#pragma once

#include "model/classes/KXBaseModelScreenScene.h"

#include <memory>
#include <string>

class KXModelScreenScene : public KXBaseModelScreenScene {
    KX_MODEL_IDENTITY(KXModelScreenScene, KXBaseModelScreenScene)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelScreenScene& source);

    explicit KXModelScreenScene(const std::string& name);
    KXModelScreenScene(const KXModelScreenScene& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
