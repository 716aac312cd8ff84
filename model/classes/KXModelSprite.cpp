#include "model/classes/KXModelSprite.h"

KXModelSprite::KXModelSprite(const std::string& name) : KXBaseModelSprite(name) {}

KXModelSprite::KXModelSprite(const KXModelSprite& source) : KXBaseModelSprite(source) {}
