// Unordered collection of retained objects (touch sets and the like).
#pragma once

#include <set>

#include "base/CCObject.h"

NS_CC_BEGIN

class CCSet : public CCObject {
public:
    typedef std::set<CCObject*>::iterator CCSetIterator;

    CCSet() = default;
    // Copies retain the same objects again.
    CCSet(const CCSet& other);
    CCSet& operator=(const CCSet&) = delete;
    ~CCSet() override;

    // Autoreleased instance.
    static CCSet* create();
    CCSet* copy() const;

    int count() const { return static_cast<int>(m_set.size()); }
    // Retains object once; adding it again changes nothing. Null is ignored.
    void addObject(CCObject* object);
    void removeObject(CCObject* object);
    void removeAllObjects();
    bool containsObject(CCObject* object) const { return m_set.count(object) > 0; }
    // Some member, or null when empty.
    CCObject* anyObject() const { return m_set.empty() ? nullptr : *m_set.begin(); }

    CCSetIterator begin() { return m_set.begin(); }
    CCSetIterator end() { return m_set.end(); }

private:
    std::set<CCObject*> m_set;
};

NS_CC_END
