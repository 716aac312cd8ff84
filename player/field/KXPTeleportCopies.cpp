#include "player/field/KXPTeleportCopies.h"

#include "player/objects/assets/KXPObjectAsset.h"

KXPTeleportCopies::~KXPTeleportCopies() {
    clear();
}

void KXPTeleportCopies::add(KXPObjectAsset* copy) {
    if (copy != nullptr && m_copies.insert(copy).second) {
        copy->addListener(KXPObjectAsset::kListenerRemoved, this,
                          asset_listener_selector(KXPTeleportCopies::onCopyRemoved));
    }
}

void KXPTeleportCopies::clear() {
    for (KXPObjectAsset* copy : m_copies) {
        copy->removeListener(this);
    }
    m_copies.clear();
    m_refused = false;
}

bool KXPTeleportCopies::firstRefusal() {
    const bool first = !m_refused;
    m_refused = true;
    return first;
}

void KXPTeleportCopies::onCopyRemoved(KXPObjectAsset* removed, KXPObjectAsset* /*other*/) {
    m_copies.erase(removed);
}
