#pragma once

#include "model/classes/KXBaseModelLevelSection.h"

#include <memory>
#include <string>

class KXModelLevelSection : public KXBaseModelLevelSection {
    KX_MODEL_IDENTITY(KXModelLevelSection, KXBaseModelLevelSection)
    KX_MODEL_CREATE(KXModelLevelSection)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelLevelSection(const std::string& name);
    KXModelLevelSection(const KXModelLevelSection& source);

    // The section's children are copied by copySectionChildren, which keeps the linkers
    // pointing at the copied objects.
    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
