// Ordered array of retained objects.
#pragma once

#include <algorithm>
#include <vector>

#include "base/CCObject.h"

NS_CC_BEGIN

class CCArray : public CCObject {
public:
    CCArray() = default;
    ~CCArray() override;

    // Autoreleased instances.
    static CCArray* create();
    // Null-terminated list of objects.
    static CCArray* create(CCObject* object, ...);
    static CCArray* createWithObject(CCObject* object);
    static CCArray* createWithCapacity(unsigned int capacity);
    static CCArray* createWithArray(CCArray* otherArray);

    bool init() { return true; }
    bool initWithCapacity(unsigned int capacity);

    unsigned int count() const { return static_cast<unsigned int>(m_objects.size()); }
    unsigned int capacity() const { return static_cast<unsigned int>(m_objects.capacity()); }
    // Index of the first occurrence, or CC_INVALID_INDEX.
    unsigned int indexOfObject(CCObject* object) const;
    // Null when the index is out of range.
    CCObject* objectAtIndex(unsigned int index) const {
        return index < m_objects.size() ? m_objects[index] : nullptr;
    }
    CCObject* lastObject() const;
    // Random element, null when empty.
    CCObject* randomObject() const;
    bool containsObject(CCObject* object) const;
    bool isEqualToArray(CCArray* otherArray) const;

    // Null objects are ignored.
    void addObject(CCObject* object);
    void addObjectsFromArray(CCArray* otherArray);
    // An index past the end appends.
    void insertObject(CCObject* object, unsigned int index);

    void removeLastObject(bool bReleaseObj = true);
    // Removes the first occurrence.
    void removeObject(CCObject* object, bool bReleaseObj = true);
    void removeObjectAtIndex(unsigned int index, bool bReleaseObj = true);
    void removeObjectsInArray(CCArray* otherArray);
    void removeAllObjects();
    void fastRemoveObject(CCObject* object);
    void fastRemoveObjectAtIndex(unsigned int index);

    void exchangeObject(CCObject* object1, CCObject* object2);
    void exchangeObjectAtIndex(unsigned int index1, unsigned int index2);
    // Puts the objects in the order `less` gives (the array's references move with them).
    template <class Less> void sortObjects(Less less) { std::sort(m_objects.begin(), m_objects.end(), less); }
    void replaceObjectAtIndex(unsigned int index, CCObject* object, bool bReleaseObject = true);
    void reverseObjects();

    // Direct access for iteration (CCARRAY_FOREACH).
    const std::vector<CCObject*>& data() const { return m_objects; }

private:
    std::vector<CCObject*> m_objects;
};

#define CC_INVALID_INDEX 0xffffffffu

// Iterates over a the array by index; do not add or remove elements inside the loop.
#define CCARRAY_FOREACH(__array__, __object__)                                                               \
    if ((__array__) && (__array__)->count() > 0)                                                             \
        for (unsigned int kxArrayIdx_##__object__ = 0;                                                       \
             kxArrayIdx_##__object__ < (__array__)->count() &&                                               \
             (((__object__) = (__array__)->objectAtIndex(kxArrayIdx_##__object__)) != nullptr);              \
             ++kxArrayIdx_##__object__)

#define CCARRAY_FOREACH_REVERSE(__array__, __object__)                                                       \
    if ((__array__) && (__array__)->count() > 0)                                                             \
        for (unsigned int kxArrayRIdx_##__object__ = (__array__)->count();                                   \
             kxArrayRIdx_##__object__ > 0 &&                                                                 \
             (((__object__) = (__array__)->objectAtIndex(kxArrayRIdx_##__object__ - 1)) != nullptr);         \
             --kxArrayRIdx_##__object__)

NS_CC_END
