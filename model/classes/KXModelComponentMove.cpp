#include "model/classes/KXModelComponentMove.h"

KXModelComponentMove::KXModelComponentMove(const std::string& name) : KXBaseModelComponentMove(name) {}

KXModelComponentMove::KXModelComponentMove(const KXModelComponentMove& source)
    : KXBaseModelComponentMove(source) {}
