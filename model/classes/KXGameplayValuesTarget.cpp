#include "model/classes/KXGameplayValuesTarget.h"

namespace {
KXGameplayValuesTarget* sharedTarget = nullptr;
} // namespace

KXGameplayValuesTarget::~KXGameplayValuesTarget() {
    if (sharedTarget == this) {
        sharedTarget = nullptr;
    }
}

KXGameplayValuesTarget* KXGameplayValuesTarget::shared() {
    return sharedTarget;
}

void KXGameplayValuesTarget::setShared(KXGameplayValuesTarget* target) {
    sharedTarget = target;
}
