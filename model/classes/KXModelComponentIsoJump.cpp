#include "model/classes/KXModelComponentIsoJump.h"

KXModelComponentIsoJump::KXModelComponentIsoJump(const std::string& name)
    : KXBaseModelComponentIsoJump(name) {}

KXModelComponentIsoJump::KXModelComponentIsoJump(const KXModelComponentIsoJump& source)
    : KXBaseModelComponentIsoJump(source) {}
