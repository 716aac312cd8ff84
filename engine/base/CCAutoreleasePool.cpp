#include "base/CCAutoreleasePool.h"

#include <algorithm>

NS_CC_BEGIN

CCAutoreleasePool::~CCAutoreleasePool() {
    clear();
}

void CCAutoreleasePool::addObject(CCObject* object) {
    if (!object)
        return;
    m_managedObjects.push_back(object);
    ++object->m_uAutoReleaseCount;
}

void CCAutoreleasePool::removeObject(CCObject* object) {
    auto it = std::remove(m_managedObjects.begin(), m_managedObjects.end(), object);
    unsigned int removed = static_cast<unsigned int>(m_managedObjects.end() - it);
    m_managedObjects.erase(it, m_managedObjects.end());
    object->m_uAutoReleaseCount -= std::min(removed, object->m_uAutoReleaseCount);
}

void CCAutoreleasePool::clear() {
    // Destructors run here may autorelease other objects; those land in the emptied list and wait
    // for the next clear instead of being released while this loop runs.
    // The director clears every frame: both buffers keep their capacity.
    std::vector<CCObject*> releasing = std::move(m_spareBuffer);
    m_spareBuffer.clear();
    releasing.clear();
    releasing.swap(m_managedObjects);
    for (CCObject* object : releasing) {
        --object->m_uAutoReleaseCount;
        object->release();
    }
    releasing.clear();
    if (m_spareBuffer.capacity() < releasing.capacity()) {
        m_spareBuffer = std::move(releasing);
    }
}

bool CCAutoreleasePool::contains(const CCObject* object) const {
    return std::find(m_managedObjects.begin(), m_managedObjects.end(), object) != m_managedObjects.end();
}

void CCAutoreleasePool::moveObjectsTo(CCAutoreleasePool* other) {
    other->m_managedObjects.insert(other->m_managedObjects.end(), m_managedObjects.begin(),
                                   m_managedObjects.end());
    m_managedObjects.clear();
}

namespace {
CCPoolManager* sharedManager = nullptr;
}

CCPoolManager* CCPoolManager::sharedPoolManager() {
    if (!sharedManager)
        sharedManager = new CCPoolManager();
    return sharedManager;
}

void CCPoolManager::purgePoolManager() {
    delete sharedManager;
    sharedManager = nullptr;
}

CCPoolManager::CCPoolManager() = default;

CCPoolManager::~CCPoolManager() {
    finalize();
}

CCAutoreleasePool* CCPoolManager::getCurReleasePool() {
    if (m_pReleasePoolStack.empty())
        push();
    return m_pReleasePoolStack.back();
}

void CCPoolManager::push() {
    m_pReleasePoolStack.push_back(new CCAutoreleasePool());
}

void CCPoolManager::pop() {
    if (m_pReleasePoolStack.empty())
        return;
    CCAutoreleasePool* top = m_pReleasePoolStack.back();
    top->clear();
    if (m_pReleasePoolStack.size() > 1) {
        m_pReleasePoolStack.pop_back();
        // Objects autoreleased while the nested pool cleared are not lost: the pool below takes them.
        top->moveObjectsTo(m_pReleasePoolStack.back());
        top->release();
    }
}

void CCPoolManager::finalize() {
    while (!m_pReleasePoolStack.empty()) {
        CCAutoreleasePool* top = m_pReleasePoolStack.back();
        while (top->count() > 0)
            top->clear();
        m_pReleasePoolStack.pop_back();
        top->release();
    }
}

void CCPoolManager::removeObject(CCObject* object) {
    for (CCAutoreleasePool* pool : m_pReleasePoolStack)
        pool->removeObject(object);
}

void CCPoolManager::addObject(CCObject* object) {
    getCurReleasePool()->addObject(object);
}

NS_CC_END
