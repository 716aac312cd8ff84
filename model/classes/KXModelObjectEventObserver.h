#pragma once

#include "model/classes/KXBaseModelObjectEventObserver.h"

#include <memory>
#include <string>

class KXModelObjectEventObserver : public KXBaseModelObjectEventObserver {
    KX_MODEL_IDENTITY(KXModelObjectEventObserver, KXBaseModelObjectEventObserver)
    KX_MODEL_CREATE(KXModelObjectEventObserver)
    KX_MODEL_CLONE(KXModelObjectEventObserver)

public:
    static constexpr const char* kDefaultObjectName = "Event Observer";

    explicit KXModelObjectEventObserver(const std::string& name);
    KXModelObjectEventObserver(const KXModelObjectEventObserver& source);
};
