#pragma once

#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelObject.h"
#include "model/references/KXAttributeAsset.h"

class KXModelSound;

#include <memory>
#include <string>

// A placed object that shows an asset, named by its "Asset" attribute.
class KXModelObjectAsset : public KXModelObject {
    KX_MODEL_IDENTITY(KXModelObjectAsset, KXModelObject)
    KX_MODEL_CREATE(KXModelObjectAsset)
    KX_MODEL_CLONE(KXModelObjectAsset)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectAsset(const std::string& name);
    // Takes "Asset" back from the copied attributes by name.
    KXModelObjectAsset(const KXModelObjectAsset& source);

    // The referenced asset model, empty when none (or when the copied "Asset" was unusable).
    std::shared_ptr<KXModelAsset> asset() const;
    void setAsset(const std::shared_ptr<KXModelAsset>& asset, bool silent = false);

    // What the asset shows and collides with; empty without an asset.
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;
    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    // The sound the object plays while idle; none unless an object kind says otherwise.
    virtual std::shared_ptr<KXModelSound> idleSound() const;
    // Whether the asset's collision shape gives a physics shape at the object's scale at time 0.
    bool hasValidCollisionShape() const;

protected:
    KXAttributeAsset* assetAttribute() const { return m_asset; }

private:
    KXAttributeAsset* m_asset = nullptr;
};
