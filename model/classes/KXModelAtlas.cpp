#include "model/classes/KXModelAtlas.h"

KXModelAtlas::KXModelAtlas(const std::string& name) : KXBaseModelAtlas(name) {}

KXModelAtlas::KXModelAtlas(const KXModelAtlas& source) : KXBaseModelAtlas(source) {}
