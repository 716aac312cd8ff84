// Dictionary of retained objects under string keys, iterated in insertion order.
#pragma once

#include <string>
#include <unordered_map>

#include "base/CCArray.h"
#include "base/CCString.h"

NS_CC_BEGIN

class CCDictionary;

class CCDictElement {
public:
    const char* getStrKey() const { return m_sKey.c_str(); }
    const std::string& getKey() const { return m_sKey; }
    CCObject* getObject() const { return m_pObject; }
    // Next element in insertion order, or null.
    CCDictElement* next() const { return m_pNext; }

private:
    CCDictElement(const std::string& key, CCObject* object) : m_sKey(key), m_pObject(object) {}

    std::string m_sKey;
    CCObject* m_pObject;
    CCDictElement* m_pPrev = nullptr;
    CCDictElement* m_pNext = nullptr;

    friend class CCDictionary;
};

class CCDictionary : public CCObject {
public:
    CCDictionary() = default;
    ~CCDictionary() override;

    // Autoreleased instances.
    static CCDictionary* create();
    // Shallow copy: the same objects, retained again.
    static CCDictionary* createWithDictionary(CCDictionary* srcDict);

    unsigned int count() const { return static_cast<unsigned int>(m_index.size()); }
    // Autoreleased array of CCString keys, in insertion order.
    CCArray* allKeys() const;
    // Keys whose object isEqual to object.
    CCArray* allKeysForObject(CCObject* object) const;

    // Null when missing.
    CCObject* objectForKey(const std::string& key) const;
    // The CCString under key; an empty string when missing or not a CCString.
    const CCString* valueForKey(const std::string& key) const;

    // Retains object (a null object is ignored); replaces and releases any previous one.
    void setObject(CCObject* object, const std::string& key);
    void removeObjectForKey(const std::string& key);
    void removeObjectForElememt(CCDictElement* element);
    void removeObjectsForKeys(CCArray* keyArray);
    void removeAllObjects();

    // Random object, null when empty.
    CCObject* randomObject() const;
    CCDictElement* firstElement() const { return m_pHead; }

private:
    void unlink(CCDictElement* element);

    std::unordered_map<std::string, CCDictElement*> m_index;
    CCDictElement* m_pHead = nullptr;
    CCDictElement* m_pTail = nullptr;
};

// The loop body may remove the current element.
#define CCDICT_FOREACH(__dict__, __el__)                                                                     \
    for (cocos2d::CCDictElement* kxDictNext_##__el__ = ((__dict__) ? (__dict__)->firstElement() : nullptr);  \
         ((__el__) = kxDictNext_##__el__) != nullptr && ((kxDictNext_##__el__ = (__el__)->next()), true);)

NS_CC_END
