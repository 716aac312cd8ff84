// Autorelease pools: objects handed to a pool lose one reference when the pool is cleared.
#pragma once

#include <vector>

#include "base/CCObject.h"

NS_CC_BEGIN

class CCAutoreleasePool : public CCObject {
public:
    CCAutoreleasePool() = default;
    ~CCAutoreleasePool() override;

    void addObject(CCObject* object);
    // Takes every reference of object out of this pool without releasing it.
    void removeObject(CCObject* object);
    // Releases each pooled reference once; objects added meanwhile are kept for the next clear.
    void clear();
    bool contains(const CCObject* object) const;
    unsigned int count() const { return static_cast<unsigned int>(m_managedObjects.size()); }

private:
    // Hands every pooled reference to other without releasing it.
    void moveObjectsTo(CCAutoreleasePool* other);

    std::vector<CCObject*> m_managedObjects;
    // The other buffer of clear(): the two swap roles each frame, so neither is reallocated.
    std::vector<CCObject*> m_spareBuffer;

    friend class CCPoolManager;
};

// Stack of pools; the top one receives autoreleased objects.
class CCPoolManager {
public:
    static CCPoolManager* sharedPoolManager();
    static void purgePoolManager();

    CCPoolManager();
    ~CCPoolManager();

    // Clears the current pool (the director calls this at the end of every frame); a nested pool
    // opened with push() is dropped afterwards, the bottom pool stays.
    void pop();
    // Opens a nested pool.
    void push();
    // Clears and drops every pool (also objects autoreleased while clearing); the manager stays usable.
    void finalize();
    void removeObject(CCObject* object);
    void addObject(CCObject* object);
    // Creates the bottom pool on first use.
    CCAutoreleasePool* getCurReleasePool();

private:
    std::vector<CCAutoreleasePool*> m_pReleasePoolStack;
};

NS_CC_END
