#include "player/components/KXComponentMove.h"

#include "player/objects/KXPObject.h"

void KXComponentMove::setEnabled(bool enabled) {
    setActive(enabled, false);
}

void KXComponentMove::setActive(bool active, bool /*keepBodyVelocity*/) {
    if (active == m_enabled) {
        return;
    }
    if (m_owner != nullptr && (m_owner->getState() == 4 || m_owner->getState() == 5)) {
        return;
    }
    m_enabled = active;
}
