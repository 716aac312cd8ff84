// Attribute holding one plain value stored under "value" (strings, points, sizes, rects, colours).
#pragma once

#include <string>

#include "base/ccTypes.h"
#include "model/KXBaseAttribute.h"
#include "model/KXMessagePackMap.h"
#include "model/KXStoredKeys.h"

namespace kxattr {
// Value equality as the setters need it; colours have no operator==.
template <class T> bool sameValue(const T& a, const T& b) {
    return a == b;
}
inline bool sameValue(const cocos2d::ccColor4F& a, const cocos2d::ccColor4F& b) {
    return cocos2d::ccc4FEqual(a, b);
}
} // namespace kxattr

// Never created on its own: the named classes derived from it give the class name, type id
// and clone operations.
template <class T> class KXAttributeValue : public KXAttribute {
public:
    KXAttributeValue(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXAttribute(name, owner, flags), m_value() {}
    KXAttributeValue(const std::string& name, KXModel* owner, const KXAttributeValue& source)
        : KXAttribute(name, owner, source), m_value(source.m_value) {}

    const T& value() const { return m_value; }
    // Stores a different value and, unless silent, tells the owner.
    void setValue(const T& value, bool silent = false) {
        if (kxattr::sameValue(value, m_value)) {
            return;
        }
        m_value = value;
        if (!silent) {
            notifyChanged(0);
        }
    }

    void registerKeys() const override { KXMessagePackMap::registerKeyName("value"); }
    void packValues(KXMessagePackMap& map) const override { map.set("value", m_value); }
    // Stored as read: no limits, no notification; a missing entry keeps the value.
    void unpackValues(const KXMessagePackMap& map) override { map.get(kxkey::value, m_value); }

protected:
    T m_value;
};
