#pragma once

#include "model/classes/KXModelSound.h"
#include "model/references/KXBaseAttributeModel.h"

#include <string>

// Refers to a sound model (or a model of a class derived from it).
class KXAttributeSound : public KXBaseAttributeModel<KXModelSound> {
    KX_TYPE_IDENTITY(KXAttributeSound)
    KX_ATTRIBUTE_CLONE(KXAttributeSound)

public:
    KXAttributeSound(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXAttributeSound(const std::string& name, KXModel* owner, const KXAttributeSound& source);
};
