#pragma once

#include "model/KXModel.h"
#include "model/classes/KXModelSpriteContainer.h"

#include <memory>
#include <string>

// Base of the behaviour-component models that scene objects carry as children. Not in the
// registry: stored data never names it, but isKindOf and the kind casts ask for it.
class KXModelComponent : public KXModel {
    KX_MODEL_IDENTITY(KXModelComponent, KXModel)
    KX_MODEL_CLONE(KXModelComponent)

public:
    explicit KXModelComponent(const std::string& name);
    KXModelComponent(const KXModelComponent& source);

    // The picture a component shows, if any; none unless a component class says otherwise.
    virtual std::shared_ptr<KXModelSpriteContainer> spriteContainer() const { return nullptr; }
};
