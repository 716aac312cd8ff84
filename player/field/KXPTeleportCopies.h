#pragma once

// The copies teleports made that are still on the field: each is counted from the frame it comes
// out until it is removed (its removal listener, which also runs when it is freed unremoved), so
// the count costs nothing per frame and holds no copy longer than the field does.

#include "cocos2d.h"

#include <cstddef>
#include <unordered_set>

class KXPObjectAsset;

class KXPTeleportCopies : public cocos2d::CCObject {
public:
    KXPTeleportCopies() = default;
    // Takes its listeners back from the copies it still counts.
    ~KXPTeleportCopies() override;
    KXPTeleportCopies(const KXPTeleportCopies&) = delete;
    KXPTeleportCopies& operator=(const KXPTeleportCopies&) = delete;

    void add(KXPObjectAsset* copy);
    size_t count() const { return m_copies.size(); }
    // Forgets every copy (the level is laid again) and that a portal was refused.
    void clear();
    // True only the first time it is asked since the last clear.
    bool firstRefusal();

private:
    void onCopyRemoved(KXPObjectAsset* removed, KXPObjectAsset* other);

    std::unordered_set<KXPObjectAsset*> m_copies; // not owned
    bool m_refused = false;
};
