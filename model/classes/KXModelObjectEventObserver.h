#pragma once

#include "model/classes/KXBaseModelObjectEventObserver.h"

#include <memory>
#include <string>

class KXModelObjectEventObserver : public KXBaseModelObjectEventObserver {
    KX_MODEL_IDENTITY(KXModelObjectEventObserver, KXBaseModelObjectEventObserver)

public:
    static constexpr const char* kDefaultObjectName = "Event Observer";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectEventObserver& source);

    explicit KXModelObjectEventObserver(const std::string& name);
    KXModelObjectEventObserver(const KXModelObjectEventObserver& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
