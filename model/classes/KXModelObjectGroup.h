#pragma once

#include "model/classes/KXBaseModelObjectGroup.h"

#include <memory>
#include <string>

class KXModelObjectGroup : public KXBaseModelObjectGroup {
    KX_MODEL_IDENTITY(KXModelObjectGroup, KXBaseModelObjectGroup)
    KX_MODEL_CREATE(KXModelObjectGroup)

public:
    static constexpr const char* kDefaultObjectName = "My Group Layer";

    explicit KXModelObjectGroup(const std::string& name);
    KXModelObjectGroup(const KXModelObjectGroup& source);

    // A copy without children, deep or not: a level section's deep copy hands the group's
    // copy its children itself.
    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
