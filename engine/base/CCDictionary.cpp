#include "base/CCDictionary.h"

#include <cstdlib>

NS_CC_BEGIN

CCDictionary::~CCDictionary() {
    removeAllObjects();
}

CCDictionary* CCDictionary::create() {
    CCDictionary* dictionary = new CCDictionary();
    dictionary->autorelease();
    return dictionary;
}

CCDictionary* CCDictionary::createWithDictionary(CCDictionary* srcDict) {
    CCDictionary* dictionary = create();
    if (srcDict) {
        for (CCDictElement* element = srcDict->m_pHead; element; element = element->m_pNext)
            dictionary->setObject(element->m_pObject, element->m_sKey);
    }
    return dictionary;
}

CCArray* CCDictionary::allKeys() const {
    CCArray* keys = CCArray::createWithCapacity(count());
    for (CCDictElement* element = m_pHead; element; element = element->m_pNext)
        keys->addObject(CCString::create(element->m_sKey));
    return keys;
}

CCArray* CCDictionary::allKeysForObject(CCObject* object) const {
    CCArray* keys = CCArray::create();
    for (CCDictElement* element = m_pHead; element; element = element->m_pNext) {
        if (object && element->m_pObject->isEqual(object))
            keys->addObject(CCString::create(element->m_sKey));
    }
    return keys;
}

CCObject* CCDictionary::objectForKey(const std::string& key) const {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : it->second->m_pObject;
}

const CCString* CCDictionary::valueForKey(const std::string& key) const {
    const CCString* value = dynamic_cast<const CCString*>(objectForKey(key));
    if (value)
        return value;
    return CCString::create(std::string());
}

void CCDictionary::setObject(CCObject* object, const std::string& key) {
    if (!object)
        return;
    object->retain();
    auto it = m_index.find(key);
    if (it != m_index.end()) {
        CCObject* previous = it->second->m_pObject;
        it->second->m_pObject = object;
        previous->release();
        return;
    }
    CCDictElement* element = new CCDictElement(key, object);
    element->m_pPrev = m_pTail;
    if (m_pTail)
        m_pTail->m_pNext = element;
    else
        m_pHead = element;
    m_pTail = element;
    m_index.emplace(key, element);
}

void CCDictionary::unlink(CCDictElement* element) {
    if (element->m_pPrev)
        element->m_pPrev->m_pNext = element->m_pNext;
    else
        m_pHead = element->m_pNext;
    if (element->m_pNext)
        element->m_pNext->m_pPrev = element->m_pPrev;
    else
        m_pTail = element->m_pPrev;
    m_index.erase(element->m_sKey);
}

void CCDictionary::removeObjectForKey(const std::string& key) {
    auto it = m_index.find(key);
    if (it != m_index.end())
        removeObjectForElememt(it->second);
}

void CCDictionary::removeObjectForElememt(CCDictElement* element) {
    if (!element)
        return;
    auto it = m_index.find(element->m_sKey);
    if (it == m_index.end() || it->second != element)
        return;
    unlink(element);
    CCObject* object = element->m_pObject;
    delete element;
    object->release();
}

void CCDictionary::removeObjectsForKeys(CCArray* keyArray) {
    if (!keyArray)
        return;
    for (CCObject* item : keyArray->data()) {
        if (const CCString* key = dynamic_cast<const CCString*>(item))
            removeObjectForKey(key->getString());
    }
}

void CCDictionary::removeAllObjects() {
    CCDictElement* element = m_pHead;
    m_pHead = m_pTail = nullptr;
    m_index.clear();
    while (element) {
        CCDictElement* next = element->m_pNext;
        CCObject* object = element->m_pObject;
        delete element;
        object->release();
        element = next;
    }
}

CCObject* CCDictionary::randomObject() const {
    if (m_index.empty())
        return nullptr;
    size_t steps = static_cast<size_t>(std::rand()) % m_index.size();
    CCDictElement* element = m_pHead;
    while (steps-- > 0)
        element = element->m_pNext;
    return element->m_pObject;
}

NS_CC_END
