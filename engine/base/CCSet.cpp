#include "base/CCSet.h"

NS_CC_BEGIN

CCSet::CCSet(const CCSet& other) : CCObject(), m_set(other.m_set) {
    for (CCObject* object : m_set)
        object->retain();
}

CCSet::~CCSet() {
    removeAllObjects();
}

CCSet* CCSet::create() {
    CCSet* set = new CCSet();
    set->autorelease();
    return set;
}

CCSet* CCSet::copy() const {
    return new CCSet(*this);
}

void CCSet::addObject(CCObject* object) {
    if (object && m_set.insert(object).second)
        object->retain();
}

void CCSet::removeObject(CCObject* object) {
    if (m_set.erase(object) > 0)
        object->release();
}

void CCSet::removeAllObjects() {
    std::set<CCObject*> items;
    items.swap(m_set);
    for (CCObject* object : items)
        object->release();
}

NS_CC_END
