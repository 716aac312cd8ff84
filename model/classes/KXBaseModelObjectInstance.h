#pragma once

#include "model/classes/KXModelObject.h"

#include <memory>
#include <string>

class KXAttributeObjectAsset;
class KXModelObjectAsset;

// A placed copy of another object, named through "Reference" instead of repeating it.
class KXBaseModelObjectInstance : public KXModelObject {
public:
    explicit KXBaseModelObjectInstance(const std::string& name);
    KXBaseModelObjectInstance(const KXBaseModelObjectInstance& source);

    // These ask the referenced object; nothing, false and 0 without one.
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;
    bool isSpawner() const override;
    float spawnRate() const override;

    // The referenced object model, empty when none.
    std::shared_ptr<KXModelObjectAsset> reference() const;
    void setReference(const std::shared_ptr<KXModelObjectAsset>& object, bool silent = false);

private:
    KXAttributeObjectAsset* m_reference = nullptr;
};
