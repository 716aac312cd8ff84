// Curves per animation state: an ordered map from a state key to an owned curve, and its
// stored forms (a list of {"state", "animation"} maps, or of dictionaries).
#pragma once

#include <map>
#include <memory>
#include <string>

#include <msgpack.hpp>

#include "model/attributes/KXAnimationCurve.h"

class KXMessagePackMap;
class KXKeyName;

namespace cocos2d {
class CCArray;
class CCObject;
} // namespace cocos2d

class KXAnimationCurveMap {
public:
    using Curves = std::map<int, std::unique_ptr<KXAnimationCurve>>;

    KXAnimationCurveMap() = default;
    // Deep copy: each curve cloned (KXAnimationCurve::clone).
    KXAnimationCurveMap(const KXAnimationCurveMap& source);
    KXAnimationCurveMap& operator=(const KXAnimationCurveMap& source);
    KXAnimationCurveMap(KXAnimationCurveMap&&) = default;
    KXAnimationCurveMap& operator=(KXAnimationCurveMap&&) = default;

    bool empty() const { return m_curves.empty(); }
    size_t size() const { return m_curves.size(); }
    const Curves& curves() const { return m_curves; }
    // The curve under `key`, or null.
    KXAnimationCurve* find(int key) const;
    // Takes ownership of `curve` and stores it under `key`, deleting the curve held there
    // before (unless it is the same object). A null curve just removes the entry.
    void replace(int key, KXAnimationCurve* curve);
    void clear() { m_curves.clear(); }

    // Writes the list under `keyName` (whether or not the map is empty; callers decide).
    void pack(KXMessagePackMap& map, const std::string& keyName) const;
    // Reads the list under `keyName` when it is present and holds at least one element, and
    // replaces this map with it (elements without a state, or with state -1, are dropped; a
    // later state replaces an earlier one). Throws msgpack::type_error on a wrong shape.
    bool unpackNonEmpty(const KXMessagePackMap& map, const std::string& keyName);
    bool unpackNonEmpty(const KXMessagePackMap& map, const KXKeyName& key);
    static KXAnimationCurveMap fromObject(const msgpack::object& list);

    // Dictionary forms: null when the map is empty, else an autoreleased array of
    // {"state", "animation"} dictionaries; reading drops entries without "animation" or
    // with state -1.
    cocos2d::CCArray* saveToArray() const;
    static KXAnimationCurveMap fromArray(cocos2d::CCObject* array);

private:
    bool unpackNonEmpty(const msgpack::object* list);

    Curves m_curves;
};
