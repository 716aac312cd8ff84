#include "model/classes/KXModelObjectButtonCharacterUnlock.h"

KXModelObjectButtonCharacterUnlock::KXModelObjectButtonCharacterUnlock(const std::string& name)
    : KXBaseModelObjectButtonCharacterUnlock(name) {}

KXModelObjectButtonCharacterUnlock::KXModelObjectButtonCharacterUnlock(
    const KXModelObjectButtonCharacterUnlock& source)
    : KXBaseModelObjectButtonCharacterUnlock(source) {}
