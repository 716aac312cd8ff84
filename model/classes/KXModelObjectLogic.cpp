#include "model/classes/KXModelObjectLogic.h"

KXModelObjectLogic::KXModelObjectLogic(const std::string& name) : KXBaseModelObjectLogic(name) {}

KXModelObjectLogic::KXModelObjectLogic(const KXModelObjectLogic& source) : KXBaseModelObjectLogic(source) {}
