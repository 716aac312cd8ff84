#include "model/classes/KXModelObjectLabel.h"

KXModelObjectLabel::KXModelObjectLabel(const std::string& name) : KXBaseModelObjectLabel(name) {}

KXModelObjectLabel::KXModelObjectLabel(const KXModelObjectLabel& source) : KXBaseModelObjectLabel(source) {}
