#include "model/classes/KXModelCompound.h"

KXModelCompound::KXModelCompound(const std::string& name) : KXBaseModelCompound(name) {}

KXModelCompound::KXModelCompound(const KXModelCompound& source) : KXBaseModelCompound(source) {}
