#pragma once

#include "model/classes/KXBaseModelCompound.h"

#include <memory>
#include <string>

// Never created on its own: a kind that isKindOf and the kind casts can ask for.
class KXModelCompound : public KXBaseModelCompound {
    KX_MODEL_IDENTITY(KXModelCompound, KXBaseModelCompound)

public:
    explicit KXModelCompound(const std::string& name);
    KXModelCompound(const KXModelCompound& source);
};
