#include "base/CCArray.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>

NS_CC_BEGIN

CCArray::~CCArray() {
    removeAllObjects();
}

CCArray* CCArray::create() {
    CCArray* array = new CCArray();
    array->autorelease();
    return array;
}

CCArray* CCArray::create(CCObject* object, ...) {
    CCArray* array = create();
    va_list args;
    va_start(args, object);
    for (CCObject* item = object; item; item = va_arg(args, CCObject*))
        array->addObject(item);
    va_end(args);
    return array;
}

CCArray* CCArray::createWithObject(CCObject* object) {
    CCArray* array = create();
    array->addObject(object);
    return array;
}

CCArray* CCArray::createWithCapacity(unsigned int capacity) {
    CCArray* array = create();
    array->initWithCapacity(capacity);
    return array;
}

CCArray* CCArray::createWithArray(CCArray* otherArray) {
    CCArray* array = create();
    array->addObjectsFromArray(otherArray);
    return array;
}

bool CCArray::initWithCapacity(unsigned int capacity) {
    // Capacity is only a hint; keep it bounded so a bad value cannot reserve gigabytes.
    m_objects.reserve(std::min(capacity, 1u << 16));
    return true;
}

unsigned int CCArray::indexOfObject(CCObject* object) const {
    auto it = std::find(m_objects.begin(), m_objects.end(), object);
    return it == m_objects.end() ? CC_INVALID_INDEX : static_cast<unsigned int>(it - m_objects.begin());
}

CCObject* CCArray::lastObject() const {
    return m_objects.empty() ? nullptr : m_objects.back();
}

CCObject* CCArray::randomObject() const {
    if (m_objects.empty())
        return nullptr;
    return m_objects[static_cast<size_t>(std::rand()) % m_objects.size()];
}

bool CCArray::containsObject(CCObject* object) const {
    return indexOfObject(object) != CC_INVALID_INDEX;
}

bool CCArray::isEqualToArray(CCArray* otherArray) const {
    if (!otherArray || otherArray->count() != count())
        return false;
    for (unsigned int i = 0; i < count(); ++i) {
        if (!m_objects[i]->isEqual(otherArray->m_objects[i]))
            return false;
    }
    return true;
}

void CCArray::addObject(CCObject* object) {
    if (!object)
        return;
    object->retain();
    m_objects.push_back(object);
}

void CCArray::addObjectsFromArray(CCArray* otherArray) {
    if (!otherArray)
        return;
    // Copy first: otherArray may be this array.
    std::vector<CCObject*> items = otherArray->m_objects;
    for (CCObject* item : items)
        addObject(item);
}

void CCArray::insertObject(CCObject* object, unsigned int index) {
    if (!object)
        return;
    object->retain();
    if (index >= m_objects.size())
        m_objects.push_back(object);
    else
        m_objects.insert(m_objects.begin() + index, object);
}

void CCArray::removeLastObject(bool bReleaseObj) {
    if (m_objects.empty())
        return;
    removeObjectAtIndex(count() - 1, bReleaseObj);
}

void CCArray::removeObject(CCObject* object, bool bReleaseObj) {
    unsigned int index = indexOfObject(object);
    if (index != CC_INVALID_INDEX)
        removeObjectAtIndex(index, bReleaseObj);
}

void CCArray::removeObjectAtIndex(unsigned int index, bool bReleaseObj) {
    if (index >= m_objects.size())
        return;
    CCObject* object = m_objects[index];
    m_objects.erase(m_objects.begin() + index);
    // Release after the array is consistent: the destructor may touch this array.
    if (bReleaseObj)
        object->release();
}

void CCArray::removeObjectsInArray(CCArray* otherArray) {
    if (!otherArray)
        return;
    std::vector<CCObject*> items = otherArray->m_objects;
    for (CCObject* item : items)
        removeObject(item);
}

void CCArray::removeAllObjects() {
    std::vector<CCObject*> items;
    items.swap(m_objects);
    for (CCObject* item : items)
        item->release();
}

void CCArray::fastRemoveObject(CCObject* object) {
    unsigned int index = indexOfObject(object);
    if (index != CC_INVALID_INDEX)
        fastRemoveObjectAtIndex(index);
}

void CCArray::fastRemoveObjectAtIndex(unsigned int index) {
    if (index >= m_objects.size())
        return;
    CCObject* object = m_objects[index];
    m_objects[index] = m_objects.back();
    m_objects.pop_back();
    object->release();
}

void CCArray::exchangeObject(CCObject* object1, CCObject* object2) {
    unsigned int index1 = indexOfObject(object1);
    unsigned int index2 = indexOfObject(object2);
    if (index1 != CC_INVALID_INDEX && index2 != CC_INVALID_INDEX)
        exchangeObjectAtIndex(index1, index2);
}

void CCArray::exchangeObjectAtIndex(unsigned int index1, unsigned int index2) {
    if (index1 < m_objects.size() && index2 < m_objects.size())
        std::swap(m_objects[index1], m_objects[index2]);
}

void CCArray::replaceObjectAtIndex(unsigned int index, CCObject* object, bool bReleaseObject) {
    if (!object || index >= m_objects.size())
        return;
    object->retain();
    CCObject* previous = m_objects[index];
    m_objects[index] = object;
    if (bReleaseObject)
        previous->release();
}

void CCArray::reverseObjects() {
    std::reverse(m_objects.begin(), m_objects.end());
}

NS_CC_END
