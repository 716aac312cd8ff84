// The camera's children changes that touch its portals, and the version of its children.

#include "player/field/KXPGameFieldCamera.h"

#include "player/objects/KXPObject.h"

using namespace cocos2d;

namespace {

bool isPortal(CCNode* node) {
    const KXPObject* object = ccNodeAs<KXPObject>(node);
    return object != nullptr && (object->getType() & KXPObject::kTypeTeleport) != 0;
}

} // namespace

uint64_t KXPGameFieldCamera::nextChildrenVersion() {
    static uint64_t last = 0;
    return ++last;
}

void KXPGameFieldCamera::addChild(CCNode* child, int zOrder, int tag) {
    CCNode::addChild(child, zOrder, tag);
    childrenChanged();
    if (child != nullptr && child->getParent() == this && isPortal(child)) {
        portalChanged();
        m_portalsUnsorted = true;
    }
}

void KXPGameFieldCamera::removeChild(CCNode* child, bool cleanup) {
    const bool portal = child != nullptr && child->getParent() == this && isPortal(child);
    CCNode::removeChild(child, cleanup);
    childrenChanged();
    if (portal) {
        portalChanged();
    }
}

void KXPGameFieldCamera::removeAllChildrenWithCleanup(bool cleanup) {
    CCNode::removeAllChildrenWithCleanup(cleanup);
    childrenChanged();
    portalChanged();
}

void KXPGameFieldCamera::reorderChild(CCNode* child, int zOrder) {
    CCNode::reorderChild(child, zOrder);
    if (isPortal(child)) {
        m_portalsUnsorted = true;
    }
}

void KXPGameFieldCamera::sortAllChildren() {
    if (m_bReorderChildDirty && m_portalsUnsorted) {
        m_portalsUnsorted = false;
        portalChanged();
    }
    // Groups give their members new z-orders every frame: most sorts then move nothing, and the
    // children keep their places.
    const unsigned long sorts = m_uChildrenSortsThatMoved;
    CCNode::sortAllChildren();
    if (m_uChildrenSortsThatMoved != sorts) {
        childrenChanged();
    }
}
