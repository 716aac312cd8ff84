#include "model/classes/KXModelObjectCharacterSelector.h"

KXModelObjectCharacterSelector::KXModelObjectCharacterSelector(const std::string& name)
    : KXBaseModelObjectCharacterSelector(name) {}

KXModelObjectCharacterSelector::KXModelObjectCharacterSelector(const KXModelObjectCharacterSelector& source)
    : KXBaseModelObjectCharacterSelector(source) {}
