#pragma once

#include "model/classes/KXModelObject.h"

#include <memory>
#include <string>

class KXModelObjectSwipeControl : public KXModelObject {
    KX_MODEL_IDENTITY(KXModelObjectSwipeControl, KXModelObject)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectSwipeControl& source);

    explicit KXModelObjectSwipeControl(const std::string& name);
    KXModelObjectSwipeControl(const KXModelObjectSwipeControl& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
