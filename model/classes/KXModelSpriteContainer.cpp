#include "model/classes/KXModelSpriteContainer.h"

KXModelSpriteContainer::KXModelSpriteContainer(const std::string& name) : KXBaseModelSpriteContainer(name) {}

KXModelSpriteContainer::KXModelSpriteContainer(const KXModelSpriteContainer& source)
    : KXBaseModelSpriteContainer(source) {}
