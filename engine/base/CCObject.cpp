#include "base/CCObject.h"

#include "base/CCAutoreleasePool.h"

NS_CC_BEGIN

namespace {
unsigned int nextObjectId = 0;
}

CCObject::CCObject() : m_uID(++nextObjectId), m_uReference(1), m_uAutoReleaseCount(0) {}

CCObject::~CCObject() {
    // Deleted while a pool still holds it (deleted directly, not through release): forget it there
    // so the pool does not release freed memory.
    if (m_uAutoReleaseCount > 0)
        CCPoolManager::sharedPoolManager()->removeObject(this);
}

void CCObject::retain() {
    CCAssert(m_uReference > 0, "reference count should be greater than 0");
    ++m_uReference;
}

void CCObject::release() {
    CCAssert(m_uReference > 0, "reference count should be greater than 0");
    --m_uReference;
    if (m_uReference == 0)
        delete this;
}

CCObject* CCObject::autorelease() {
    CCPoolManager::sharedPoolManager()->addObject(this);
    return this;
}

NS_CC_END
