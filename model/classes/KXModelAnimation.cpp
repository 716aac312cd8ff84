#include "model/classes/KXModelAnimation.h"

KXModelAnimation::KXModelAnimation(const std::string& name) : KXBaseModelAnimation(name) {}

KXModelAnimation::KXModelAnimation(const KXModelAnimation& source) : KXBaseModelAnimation(source) {}
