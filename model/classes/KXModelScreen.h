#pragma once

#include "model/classes/KXBaseModelScreen.h"

#include <memory>
#include <string>

class KXModelScreen : public KXBaseModelScreen {
    KX_MODEL_IDENTITY(KXModelScreen, KXBaseModelScreen)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelScreen& source);

    explicit KXModelScreen(const std::string& name);
    KXModelScreen(const KXModelScreen& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
